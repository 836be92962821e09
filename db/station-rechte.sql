-- Least privileges for the test station's own database user.
--
-- Create the user first, with a password of your choice, e.g.:
--   CREATE USER 'teststation'@'%' IDENTIFIED BY '...';
-- then run this file in the station's database (table names below refer to
-- the current database):
--   mariadb DBNAME < db/station-rechte.sql
--
-- The station only reads departments and employees, appends measurement rows
-- with their receipts and stamps the date of an employee's last passed
-- measurement.

-- Department menu, board and employee loading (inner joins over all of these).
GRANT SELECT ON VORGABEN_ABTEILUNG     TO 'teststation'@'%';
GRANT SELECT ON MITARBEITER            TO 'teststation'@'%';
GRANT SELECT ON KONTAKTDATEN           TO 'teststation'@'%';
GRANT SELECT ON PLZ                    TO 'teststation'@'%';
GRANT SELECT ON LAENDER                TO 'teststation'@'%';
GRANT SELECT ON VORGABEN_ANREDE        TO 'teststation'@'%';
GRANT SELECT ON VORGABEN_TITEL         TO 'teststation'@'%';
GRANT SELECT ON VORGABEN_MA_ANG_STATUS TO 'teststation'@'%';

-- Measurement rows: append only. Without SELECT/UPDATE/DELETE a station can
-- neither read back nor alter the audit trail.
GRANT INSERT ON ESD_MESSWERTE_SCHUHE   TO 'teststation'@'%';

-- Receipts: written with each row, looked up after a broken link to learn
-- whether a result arrived. Never changed or deleted.
GRANT INSERT, SELECT ON ESD_MESSUNG_QUITTUNG TO 'teststation'@'%';

-- The one employee column the station writes. A pass reads the employee's
-- date with SELECT … FOR UPDATE first (the row lock), which the SELECT above
-- covers.
GRANT UPDATE (DATUM_ESD_MESSUNG) ON MITARBEITER TO 'teststation'@'%';
