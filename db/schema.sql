-- Tables of the ESD test station and the shared personnel/contact administration.
--
-- Safe to run against an existing database: every table is created only when it
-- is missing, existing tables and rows stay untouched. Choose the database when
-- loading (mariadb DBNAME < db/schema.sql); the station opens it by its
-- upper-case name.
--
-- Conventions the program relies on:
--   * Flags hold 'J' or 'N'; anything but 'J' counts as no.
--   * Every reading statement uses inner joins, so a reference that names no
--     existing lookup row hides the record. There are deliberately no foreign
--     keys: other tools share these tables and may store such rows.
--   * Statements write string literals in double quotes: the server must not
--     run with sql_mode ANSI_QUOTES.
--   * Unqualified column names in the station's statements (MITARBEITER_ID,
--     NACHNAME, search and sort fields) must stay unique across the joined
--     tables; do not add same-named columns to lookup tables.

-- ---------------------------------------------------------------------------
-- Measurements: one row per tester result, written once and never changed.
-- ---------------------------------------------------------------------------
CREATE TABLE IF NOT EXISTS ESD_MESSWERTE_SCHUHE (
  -- The station's insert names its columns; this key only gives each audit
  -- row an identity.
  MESSUNG_ID        INT          NOT NULL AUTO_INCREMENT,
  ZEITSTEMPEL       DATETIME     NOT NULL,
  -- Employee or guest contact; kept as a plain number, never joined.
  MITARBEITER_ID    INT          NOT NULL,
  -- Login name, or the name a guest typed.
  NAME              VARCHAR(100) NOT NULL DEFAULT '',
  -- Values exactly as the tester sent them, leading blank included.
  MESSWERT_SCHUH_L  VARCHAR(50)  NOT NULL DEFAULT '',
  MESSWERT_SCHUH_R  VARCHAR(50)  NOT NULL DEFAULT '',
  MESSWERT_ARMBAND  VARCHAR(50)  NOT NULL DEFAULT '',
  FEHLERCODE        VARCHAR(50)  NOT NULL DEFAULT '',
  MESSWERTE_OK      CHAR(1)      NOT NULL,
  PRIMARY KEY (MESSUNG_ID),
  -- Measurement history of one person.
  KEY IX_ESD_MESSWERTE_MITARBEITER (MITARBEITER_ID, ZEITSTEMPEL),
  -- Evaluations of all measurements in a period.
  KEY IX_ESD_MESSWERTE_ZEITSTEMPEL (ZEITSTEMPEL),
  -- Each person's last pass before a day (reports), read from the index alone.
  KEY IX_ESD_MESSWERTE_BESTANDEN (MITARBEITER_ID, MESSWERTE_OK, ZEITSTEMPEL)
) ENGINE=InnoDB DEFAULT CHARSET=utf8mb4 COLLATE=utf8mb4_unicode_ci;

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
-- Employees.
-- ---------------------------------------------------------------------------
CREATE TABLE IF NOT EXISTS MITARBEITER (
  MITARBEITER_ID     INT          NOT NULL AUTO_INCREMENT,
  KONTAKTDATEN_ID    INT          NULL,
  PERSONALNUMMER     VARCHAR(50)  NULL,
  -- A login name beginning with 'Gast' marks a guest account.
  LOGINNAME          VARCHAR(100) NULL,
  -- Upper-case hexadecimal MD5 digest, never the password itself.
  PASSWORT           CHAR(32)     NULL,
  BENUTZERGRUPPE_ID  INT          NULL,
  ABTEILUNG_ID       INT          NULL,
  MA_ANG_STATUS_ID   INT          NULL,
  GESPERRT           CHAR(1)      NOT NULL DEFAULT 'N',
  GELOESCHT          CHAR(1)      NOT NULL DEFAULT 'N',
  INAKTIV            CHAR(1)      NOT NULL DEFAULT 'N',
  -- Only 'J' employees appear on the station's board.
  ESD_MESSUNG        CHAR(1)      NOT NULL DEFAULT 'N',
  -- Last passed measurement; the board shows it green on that day.
  DATUM_ESD_MESSUNG  DATETIME     NULL,
  -- JPEG photo shown on the board and the measurement screen.
  FOTO               LONGBLOB     NULL,
  ANMERKUNGEN        TEXT         NULL,
  PRIMARY KEY (MITARBEITER_ID),
  -- Board query: employees of one department.
  KEY IX_MITARBEITER_ABTEILUNG (ABTEILUNG_ID),
  -- Join to the contact data (board and employee search).
  KEY IX_MITARBEITER_KONTAKTDATEN (KONTAKTDATEN_ID),
  -- Employee search by personnel number / login name (prefix LIKE).
  KEY IX_MITARBEITER_PERSONALNUMMER (PERSONALNUMMER),
  KEY IX_MITARBEITER_LOGINNAME (LOGINNAME)
) ENGINE=InnoDB DEFAULT CHARSET=utf8mb4 COLLATE=utf8mb4_unicode_ci;

-- ---------------------------------------------------------------------------
-- Contact data shared by employees, customers and suppliers.
-- ---------------------------------------------------------------------------
CREATE TABLE IF NOT EXISTS KONTAKTDATEN (
  KONTAKTDATEN_ID  INT          NOT NULL AUTO_INCREMENT,
  ANREDE_ID        INT          NULL,
  TITEL_ID         INT          NULL,
  GESCHLECHT_ID    INT          NULL,
  FIRMA            VARCHAR(150) NULL,
  FIRMA_ZUSATZ     VARCHAR(150) NULL,
  VORNAME          VARCHAR(100) NULL,
  NACHNAME         VARCHAR(100) NULL,
  -- Free-text department of the contact, not the department key.
  ABTEILUNG        VARCHAR(100) NULL,
  STRASSE1         VARCHAR(150) NULL,
  STRASSE2         VARCHAR(150) NULL,
  POSTFACH         VARCHAR(50)  NULL,
  PLZ_ID           INT          NULL,
  TEL_P            VARCHAR(50)  NULL,
  FAX_P            VARCHAR(50)  NULL,
  TEL_G1           VARCHAR(50)  NULL,
  TEL_G2           VARCHAR(50)  NULL,
  FAX_G            VARCHAR(50)  NULL,
  HANDY            VARCHAR(50)  NULL,
  EMAIL_P          VARCHAR(150) NULL,
  EMAIL_G          VARCHAR(150) NULL,
  INTERNET         VARCHAR(150) NULL,
  -- 1000-01-01 stands for "no birthday given".
  GEBURTSTAG       DATE         NULL,
  ZIVILSTAND_ID    INT          NULL,
  KONTOINHABER1    VARCHAR(150) NULL,
  KONTO1           VARCHAR(50)  NULL,
  BANK1            VARCHAR(150) NULL,
  BLZ1             VARCHAR(20)  NULL,
  IBAN1            VARCHAR(34)  NULL,
  SWIFT1           VARCHAR(11)  NULL,
  KONTOINHABER2    VARCHAR(150) NULL,
  KONTO2           VARCHAR(50)  NULL,
  BANK2            VARCHAR(150) NULL,
  BLZ2             VARCHAR(20)  NULL,
  IBAN2            VARCHAR(34)  NULL,
  SWIFT2           VARCHAR(11)  NULL,
  -- Roles: a contact is found by a search of its kind only with 'J' here.
  MITARBEITER      CHAR(1)      NOT NULL DEFAULT 'N',
  DEBITOR          CHAR(1)      NOT NULL DEFAULT 'N',
  KREDITOR         CHAR(1)      NOT NULL DEFAULT 'N',
  WEBKONTAKT       CHAR(1)      NOT NULL DEFAULT 'N',
  GELOESCHT        CHAR(1)      NOT NULL DEFAULT 'N',
  PRIMARY KEY (KONTAKTDATEN_ID),
  -- Board order and search by last name (prefix LIKE, sorted with first name).
  KEY IX_KONTAKTDATEN_NAME (NACHNAME, VORNAME),
  -- Contact searches by first name, company and street.
  KEY IX_KONTAKTDATEN_VORNAME (VORNAME),
  KEY IX_KONTAKTDATEN_FIRMA (FIRMA),
  KEY IX_KONTAKTDATEN_STRASSE1 (STRASSE1)
) ENGINE=InnoDB DEFAULT CHARSET=utf8mb4 COLLATE=utf8mb4_unicode_ci;

-- ---------------------------------------------------------------------------
-- Customers.
-- ---------------------------------------------------------------------------
CREATE TABLE IF NOT EXISTS DEBITOREN (
  DEBITOR_ID           INT          NOT NULL AUTO_INCREMENT,
  KONTAKTDATEN_ID      INT          NULL,
  DEBITOR_SEIT         DATE         NULL,
  DEBITORNR            VARCHAR(50)  NULL,
  DEBITORNR_RE         VARCHAR(50)  NULL,
  DEBITORNR_WE         VARCHAR(50)  NULL,
  -- 0 = no group, -1 = no shop account.
  DEBITOREN_GRUPPE_ID  INT          NULL,
  DEBITOR_SHOP_ID      INT          NULL,
  WERBUNG_BRIEF        VARCHAR(50)  NULL,
  WERBUNG_EMAIL        VARCHAR(50)  NULL,
  KURSPROGRAMM         VARCHAR(50)  NULL,
  WERBESTUFE           VARCHAR(50)  NULL,
  -- Terms are stored as entered (text); the program does no arithmetic on them.
  SKONTO_TAGE          VARCHAR(50)  NULL,
  SKONTO_PROZENT       VARCHAR(50)  NULL,
  RABATT_PROZENT       VARCHAR(50)  NULL,
  ZAHLUNGSZIEL         VARCHAR(50)  NULL,
  KREDITLIMIT          VARCHAR(50)  NULL,
  PORTOFREI            VARCHAR(20)  NULL,
  MAHNSPERRE           VARCHAR(20)  NULL,
  LIEFERSPERRE         VARCHAR(20)  NULL,
  RECHNUNGSSPERRE      VARCHAR(20)  NULL,
  ANMERKUNGEN          TEXT         NULL,
  GELOESCHT            CHAR(1)      NOT NULL DEFAULT 'N',
  PRIMARY KEY (DEBITOR_ID),
  -- Join to the contact data; the save updates by this column.
  KEY IX_DEBITOREN_KONTAKTDATEN (KONTAKTDATEN_ID),
  -- Customer search by number (prefix LIKE).
  KEY IX_DEBITOREN_DEBITORNR (DEBITORNR)
) ENGINE=InnoDB DEFAULT CHARSET=utf8mb4 COLLATE=utf8mb4_unicode_ci;

-- ---------------------------------------------------------------------------
-- Suppliers.
-- ---------------------------------------------------------------------------
CREATE TABLE IF NOT EXISTS KREDITOREN (
  KREDITOR_ID      INT          NOT NULL AUTO_INCREMENT,
  KONTAKTDATEN_ID  INT          NULL,
  NAE_FREIE_ARTNR  VARCHAR(50)  NULL,
  KREDITOR_SEIT    DATE         NULL,
  KREDITOR_NR      VARCHAR(50)  NULL,
  -- Our customer number at the supplier.
  KUNDEN_NR        VARCHAR(50)  NULL,
  KREDITOR_ART_PF  VARCHAR(50)  NULL,
  USTID            VARCHAR(50)  NULL,
  UVP_BINDUNG      CHAR(1)      NOT NULL DEFAULT 'N',
  SKONTO_TAGE      VARCHAR(50)  NULL,
  SKONTO_PROZENT   VARCHAR(50)  NULL,
  RABATT_PROZENT   VARCHAR(50)  NULL,
  ZAHLUNGSZIEL     VARCHAR(50)  NULL,
  KREDITLIMIT      VARCHAR(50)  NULL,
  -- Loading a supplier reads remarks like every other kind.
  ANMERKUNGEN      TEXT         NULL,
  GELOESCHT        CHAR(1)      NOT NULL DEFAULT 'N',
  PRIMARY KEY (KREDITOR_ID),
  -- Join to the contact data; the save updates by this column.
  KEY IX_KREDITOREN_KONTAKTDATEN (KONTAKTDATEN_ID),
  -- Supplier search by number (prefix LIKE).
  KEY IX_KREDITOREN_KREDITOR_NR (KREDITOR_NR)
) ENGINE=InnoDB DEFAULT CHARSET=utf8mb4 COLLATE=utf8mb4_unicode_ci;

-- ---------------------------------------------------------------------------
-- Lookup tables. Key 1 means "none": saving writes 1 into empty salutation,
-- title, department and status keys, and the inner joins need that row.
-- The station never lists department 1.
-- ---------------------------------------------------------------------------
CREATE TABLE IF NOT EXISTS VORGABEN_ABTEILUNG (
  ABTEILUNG_ID  INT          NOT NULL AUTO_INCREMENT,
  -- Caption of the department button; the board query matches on it.
  ABTEILUNG     VARCHAR(100) NOT NULL DEFAULT '',
  GELOESCHT     CHAR(1)      NOT NULL DEFAULT 'N',
  INAKTIV       CHAR(1)      NOT NULL DEFAULT 'N',
  PRIMARY KEY (ABTEILUNG_ID),
  -- Board query selects the department by its name.
  KEY IX_VORGABEN_ABTEILUNG_ABTEILUNG (ABTEILUNG)
) ENGINE=InnoDB DEFAULT CHARSET=utf8mb4 COLLATE=utf8mb4_unicode_ci;

CREATE TABLE IF NOT EXISTS VORGABEN_ANREDE (
  ANREDE_ID  INT          NOT NULL AUTO_INCREMENT,
  ANREDE     VARCHAR(50)  NOT NULL DEFAULT '',
  PRIMARY KEY (ANREDE_ID)
) ENGINE=InnoDB DEFAULT CHARSET=utf8mb4 COLLATE=utf8mb4_unicode_ci;

CREATE TABLE IF NOT EXISTS VORGABEN_TITEL (
  TITEL_ID  INT          NOT NULL AUTO_INCREMENT,
  TITEL     VARCHAR(50)  NOT NULL DEFAULT '',
  PRIMARY KEY (TITEL_ID)
) ENGINE=InnoDB DEFAULT CHARSET=utf8mb4 COLLATE=utf8mb4_unicode_ci;

CREATE TABLE IF NOT EXISTS VORGABEN_MA_ANG_STATUS (
  MA_ANG_STATUS_ID  INT          NOT NULL AUTO_INCREMENT,
  MA_ANG_STATUS     VARCHAR(100) NOT NULL DEFAULT '',
  PRIMARY KEY (MA_ANG_STATUS_ID)
) ENGINE=InnoDB DEFAULT CHARSET=utf8mb4 COLLATE=utf8mb4_unicode_ci;

-- ---------------------------------------------------------------------------
-- Postcodes/places and countries.
-- ---------------------------------------------------------------------------
CREATE TABLE IF NOT EXISTS PLZ (
  PLZ_ID      INT          NOT NULL AUTO_INCREMENT,
  PLZ         VARCHAR(20)  NOT NULL DEFAULT '',
  ORT         VARCHAR(100) NOT NULL DEFAULT '',
  LAENDER_ID  INT          NULL,
  PRIMARY KEY (PLZ_ID),
  -- Contact searches by postcode and by place (prefix LIKE).
  KEY IX_PLZ_PLZ (PLZ),
  KEY IX_PLZ_ORT (ORT)
) ENGINE=InnoDB DEFAULT CHARSET=utf8mb4 COLLATE=utf8mb4_unicode_ci;

CREATE TABLE IF NOT EXISTS LAENDER (
  LAND_ID  INT          NOT NULL AUTO_INCREMENT,
  LAND     VARCHAR(100) NOT NULL DEFAULT '',
  PRIMARY KEY (LAND_ID)
) ENGINE=InnoDB DEFAULT CHARSET=utf8mb4 COLLATE=utf8mb4_unicode_ci;

-- ---------------------------------------------------------------------------
-- Option store: master defaults and per-workstation values. All columns are
-- text; MITARBEITER_ID here holds a text (empty for rows shared by all
-- stations) and is unrelated to the employee key.
-- ---------------------------------------------------------------------------
CREATE TABLE IF NOT EXISTS EINSTELLUNGEN (
  EINSTELLUNG_ID  INT           NOT NULL AUTO_INCREMENT,
  MODUL           VARCHAR(100)  NOT NULL DEFAULT '',
  PC_NAME         VARCHAR(100)  NOT NULL DEFAULT '',
  MITARBEITER_ID  VARCHAR(50)   NOT NULL DEFAULT '',
  KEY1            VARCHAR(100)  NOT NULL DEFAULT '',
  WERT            VARCHAR(2000) NOT NULL DEFAULT '',
  BESCHREIBUNG    VARCHAR(500)  NOT NULL DEFAULT '',
  PRIMARY KEY (EINSTELLUNG_ID),
  -- Option look-up by module and key. Not unique on purpose: the program
  -- reports a duplicate option to the user instead of having the insert fail.
  KEY IX_EINSTELLUNGEN_MODUL_KEY (MODUL, KEY1)
) ENGINE=InnoDB DEFAULT CHARSET=utf8mb4 COLLATE=utf8mb4_unicode_ci;

CREATE TABLE IF NOT EXISTS EINSTELLUNGEN_MASTER (
  EINSTELLUNG_MASTER_ID  INT           NOT NULL AUTO_INCREMENT,
  MODUL                  VARCHAR(100)  NOT NULL DEFAULT '',
  KEY1                   VARCHAR(100)  NOT NULL DEFAULT '',
  WERT                   VARCHAR(2000) NOT NULL DEFAULT '',
  BESCHREIBUNG           VARCHAR(500)  NOT NULL DEFAULT '',
  -- 'Ja' (exactly) copies the default into EINSTELLUNGEN on first read.
  KLONEN                 VARCHAR(10)   NOT NULL DEFAULT '',
  PRIMARY KEY (EINSTELLUNG_MASTER_ID),
  -- Fallback look-up of the default by module and key.
  KEY IX_EINSTELLUNGEN_MASTER_MODUL_KEY (MODUL, KEY1)
) ENGINE=InnoDB DEFAULT CHARSET=utf8mb4 COLLATE=utf8mb4_unicode_ci;

-- ---------------------------------------------------------------------------
-- Rows with key 1 ("none"); kept as they are if they already exist.
-- ---------------------------------------------------------------------------
INSERT IGNORE INTO VORGABEN_ANREDE (ANREDE_ID, ANREDE) VALUES (1, '');
INSERT IGNORE INTO VORGABEN_TITEL (TITEL_ID, TITEL) VALUES (1, '');
INSERT IGNORE INTO VORGABEN_ABTEILUNG (ABTEILUNG_ID, ABTEILUNG, GELOESCHT, INAKTIV)
  VALUES (1, '', 'N', 'N');
INSERT IGNORE INTO VORGABEN_MA_ANG_STATUS (MA_ANG_STATUS_ID, MA_ANG_STATUS) VALUES (1, '');
