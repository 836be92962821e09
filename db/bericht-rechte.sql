-- Read-only privileges for the report tool's own database user (teststation-bericht).
--
-- Create the user first, with a password of your choice, e.g.:
--   CREATE USER 'teststation-bericht'@'%' IDENTIFIED BY '...';
-- then run this file in the station's database (table names below refer to
-- the current database):
--   mariadb DBNAME < db/bericht-rechte.sql
--
-- The reports read the board (departments, employees and their names), the
-- measurements and the receipts. They never write, and they see no password
-- hash, photo, remark or contact detail beyond the name.

-- The board: departments and the columns the board's statements filter on.
GRANT SELECT ON VORGABEN_ABTEILUNG TO 'teststation-bericht'@'%';
GRANT SELECT (MITARBEITER_ID, KONTAKTDATEN_ID, ABTEILUNG_ID, LOGINNAME, GELOESCHT, INAKTIV,
              ESD_MESSUNG)
  ON MITARBEITER TO 'teststation-bericht'@'%';
GRANT SELECT (KONTAKTDATEN_ID, NACHNAME, VORNAME) ON KONTAKTDATEN TO 'teststation-bericht'@'%';

-- The audit trail.
GRANT SELECT ON ESD_MESSWERTE_SCHUHE TO 'teststation-bericht'@'%';

-- The station that took each result. Leave this line out on a database without
-- the receipt table (before db/upgrade.sql): the reports then name no station.
GRANT SELECT (MESSUNG_ID, STATION) ON ESD_MESSUNG_QUITTUNG TO 'teststation-bericht'@'%';
