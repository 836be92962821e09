#!/usr/bin/env bash
# scripts/datenbank-einrichten against a private server of its own: the grants it gives are the
# ones of db/station-rechte.sql and db/upgrade.sql, for exactly the given user and host (a name
# with quote, backslash and backtick); the password works; a second run changes nothing; an
# existing database from before the receipts gets its table and grant and keeps its rows and
# its user's password; a refused call leaves nothing behind.
# Aufruf: tst_einrichten.sh INSTANZVERZEICHNIS
set -euo pipefail

repo=$(cd "$(dirname "$(realpath "${BASH_SOURCE[0]}")")/.." && pwd)
instanz=${1:?Aufruf: tst_einrichten.sh INSTANZVERZEICHNIS}
einrichten=$repo/scripts/datenbank-einrichten
testdb=$repo/scripts/testdb

fehler() {
    echo "FEHLER: $*" >&2
    exit 1
}

"$testdb" start "$instanz" >/dev/null
trap '"$testdb" destroy "$instanz" >/dev/null' EXIT
sock=$(<"$instanz/socket")
port=$(<"$instanz/port")
admin=(-- --no-defaults "--socket=$sock" -uroot)
root() { "$testdb" sql "$instanz" "$@"; }

benutzer="st'a\\tion\`1"
host=127.0.0.%
passwort="erst'es \\ Geheimnis"
konto_sql="'st''a\\\\tion\`1'@'127.0.0.%'"
# A run that broke off earlier may have left its databases and users.
root <<EOF
DROP DATABASE IF EXISTS ESD_NEU;
DROP DATABASE IF EXISTS ESD_ALT;
DROP DATABASE IF EXISTS ESD_FEHLT;
DROP USER IF EXISTS $konto_sql, 'alt'@'%', 'niemand'@'%';
EOF

# "TABLE PRIVILEGE" pairs, one a line, sorted: from GRANT statements as written in the SQL files
# or as SHOW GRANTS prints them (database prefix, backticks and blanks in column lists dropped).
paare() {
    sed -nE 's/`//g; s/^[[:space:]]*GRANT (.*) ON ([^ ]+)[[:space:]]+TO .*/\2|\1/p' |
        sed -E 's/^[^|.]*\.//; :a; s/\(([^)]*), /(\1,/; ta' |
        awk -F'|' '{ n = split($2, p, ", "); for (i = 1; i <= n; i++) print toupper($1) " " toupper(p[i]) }' |
        sort -u
}
erwartet=$(grep -hE '^[[:space:]]*GRANT[[:space:]]' "$repo/db/station-rechte.sql" "$repo/db/upgrade.sql" | paare)
[ "$(wc -l <<<"$erwartet")" -ge 10 ] || fehler "aus den SQL-Dateien zu wenige Rechte gelesen: $erwartet"

# Checks that ACCOUNT holds exactly the expected grants in its database and nothing globally.
rechte_pruefen() {
    local konto=$1 was=$2 grants
    grants=$(root <<<"SHOW GRANTS FOR $konto") || fehler "$was: SHOW GRANTS FOR $konto schlägt fehl"
    grep -F ' ON *.* ' <<<"$grants" | grep -qvE '^GRANT USAGE ON \*\.\* TO ' &&
        fehler "$was: globale Rechte für $konto: $grants"
    diff -u <(echo "$erwartet") <(grep -vF ' ON *.* ' <<<"$grants" | paare) >&2 ||
        fehler "$was: die Rechte von $konto weichen von db/station-rechte.sql und db/upgrade.sql ab (- erwartet, + gegeben)"
}
anmelden() {
    mariadb --no-defaults -h127.0.0.1 -P"$port" -u"$1" -p"$2" --connect-timeout=5 -N -B "$3" \
        -e "$4" </dev/null
}
# Checksums of every table of a database, to prove a run changed no table and no row.
pruefsummen() {
    local tabellen
    tabellen=$(root "$1" <<<"SHOW TABLES" | paste -sd,)
    root "$1" <<<"CHECKSUM TABLE $tabellen EXTENDED"
}

# --- A new database --------------------------------------------------------------------------
printf '%s\n' "$passwort" | "$einrichten" --neu --datenbank esd_neu --benutzer "$benutzer" \
    --station-host "$host" "${admin[@]}" >/dev/null || fehler "--neu schlägt fehl"
[ "$(root <<<"SHOW DATABASES LIKE 'ESD_NEU'")" = ESD_NEU ] ||
    fehler "die Datenbank heißt nicht ESD_NEU (die Station öffnet den Namen in Großbuchstaben)"
rechte_pruefen "$konto_sql" "neue Datenbank"
[ "$(root <<<"SELECT COUNT(*) FROM mysql.user WHERE User = 'teststation'")" = 0 ] ||
    fehler "es wurde das Konto der Vorlage 'teststation'@'%' angelegt"
[ "$(anmelden "$benutzer" "$passwort" ESD_NEU 'SELECT COUNT(*) FROM VORGABEN_ABTEILUNG WHERE ABTEILUNG_ID = 1')" = 1 ] ||
    fehler "Anmeldung als Stationsbenutzer mit dem eingegebenen Passwort schlägt fehl"

# --- The same call again: nothing changes, not even the password ----------------------------
vorher=$(pruefsummen ESD_NEU)
printf 'anderes Passwort\n' | "$einrichten" --neu --datenbank ESD_NEU --benutzer "$benutzer" \
    --station-host "$host" "${admin[@]}" >/dev/null || fehler "der zweite Lauf schlägt fehl"
[ "$(pruefsummen ESD_NEU)" = "$vorher" ] || fehler "der zweite Lauf hat Tabellen verändert"
rechte_pruefen "$konto_sql" "zweiter Lauf"
anmelden "$benutzer" "$passwort" ESD_NEU 'SELECT 1' >/dev/null ||
    fehler "der zweite Lauf hat das Passwort eines vorhandenen Benutzers geändert"

# --- An existing database from before the receipts, with its station user --------------------
"$testdb" schema "$instanz" ESD_ALT >/dev/null
root ESD_ALT <<EOF
DROP TABLE ESD_MESSUNG_QUITTUNG;
INSERT INTO VORGABEN_ABTEILUNG (ABTEILUNG_ID, ABTEILUNG, INAKTIV, GELOESCHT)
    VALUES (2, 'Lager', 'N', 'N');
CREATE USER 'alt'@'%' IDENTIFIED BY 'alt-geheim';
$(grep -E '^GRANT' "$repo/db/station-rechte.sql" | grep -v ESD_MESSUNG_QUITTUNG |
    sed "s/'teststation'@'%'/'alt'@'%'/")
EOF
vorher=$(pruefsummen ESD_ALT)
"$einrichten" --datenbank ESD_ALT --benutzer alt "${admin[@]}" </dev/null >/dev/null ||
    fehler "eine vorhandene Datenbank ohne --neu schlägt fehl"
[ "$(pruefsummen ESD_ALT | grep -v ESD_MESSUNG_QUITTUNG)" = "$vorher" ] ||
    fehler "upgrade.sql hat vorhandene Tabellen oder Zeilen verändert"
[ "$(root ESD_ALT <<<"SHOW TABLES LIKE 'ESD_MESSUNG_QUITTUNG'")" = ESD_MESSUNG_QUITTUNG ] ||
    fehler "die Quittungstabelle fehlt nach dem Lauf"
rechte_pruefen "'alt'@'%'" "vorhandene Datenbank"
anmelden alt alt-geheim ESD_ALT 'SELECT COUNT(*) FROM ESD_MESSUNG_QUITTUNG' >/dev/null ||
    fehler "der vorhandene Benutzer kann sich nicht mehr mit seinem Passwort anmelden"

# --- Refused: a database that does not exist, without --neu ---------------------------------
if printf 'x\n' | "$einrichten" --datenbank ESD_FEHLT --benutzer niemand "${admin[@]}" \
    >/dev/null 2>&1; then
    fehler "eine fehlende Datenbank ohne --neu wurde nicht abgelehnt"
fi
[ -z "$(root <<<"SHOW DATABASES LIKE 'ESD_FEHLT'")" ] || fehler "die Ablehnung hat eine Datenbank angelegt"
[ "$(root <<<"SELECT COUNT(*) FROM mysql.user WHERE User = 'niemand'")" = 0 ] ||
    fehler "die Ablehnung hat einen Benutzer angelegt"

echo "datenbank-einrichten geprüft."
