-- Brings an existing station database up to date with this version of the
-- station. Safe to run any number of times: it only adds what is missing (a
-- table, an index) and changes no row.
--
--   mariadb DBNAME < db/upgrade.sql
--
-- The grant at the end names the station's user as db/station-rechte.sql does;
-- where the station logs in under another name or host, change it there too.
-- Without this upgrade the station still records measurements, but without
-- receipts (it says so once at start-up).

-- ---------------------------------------------------------------------------
-- Receipts: one row per stored measurement, written in the same transaction as
-- the measurement row. A station whose link broke while storing looks its
-- result up here instead of storing it a second time.
-- ---------------------------------------------------------------------------
CREATE TABLE IF NOT EXISTS ESD_MESSUNG_QUITTUNG (
  -- Identity of the result (a UUID), the same in every attempt to store it.
  KENNUNG         CHAR(36)     CHARACTER SET ascii COLLATE ascii_bin NOT NULL,
  MITARBEITER_ID  INT          NOT NULL,
  -- The measurement row's ZEITSTEMPEL (the station's local time), and for a
  -- pass the DATUM_ESD_MESSUNG it stamped.
  ZEITSTEMPEL     DATETIME     NOT NULL,
  -- Host name of the station that measured.
  STATION         VARCHAR(255) NOT NULL DEFAULT '',
  -- The server's time when it took the receipt.
  EMPFANGEN       DATETIME(6)  NOT NULL,
  -- ESD_MESSWERTE_SCHUHE's AUTO_INCREMENT key of the row; NULL where that
  -- table has none.
  MESSUNG_ID      BIGINT       NULL,
  PRIMARY KEY (KENNUNG),
  KEY IX_ESD_MESSUNG_QUITTUNG_MESSUNG (MESSUNG_ID),
  KEY IX_ESD_MESSUNG_QUITTUNG_ZEITSTEMPEL (ZEITSTEMPEL)
) ENGINE=InnoDB DEFAULT CHARSET=utf8mb4 COLLATE=utf8mb4_unicode_ci;

-- ---------------------------------------------------------------------------
-- Reports: each person's last pass before a day, read from this index alone
-- instead of a pass over every measurement.
-- ---------------------------------------------------------------------------
CREATE INDEX IF NOT EXISTS IX_ESD_MESSWERTE_BESTANDEN
  ON ESD_MESSWERTE_SCHUHE (MITARBEITER_ID, MESSWERTE_OK, ZEITSTEMPEL);

-- The station writes and looks up receipts; it never changes or deletes one.
GRANT INSERT, SELECT ON ESD_MESSUNG_QUITTUNG TO 'teststation'@'%';
