#!/usr/bin/env bash
# Builds the Debian package from a build tree into a scratch directory, unpacks it into a scratch
# root and checks what an installation would get: layout and links, control fields, Debian's
# documents (copyright, changelog, manual pages), lintian, desktop entries, the user unit and
# kiosk script, and that the installed tools work from there. As root with a usable dpkg and
# without the package on the machine, it also installs, removes and purges the package.
# Aufruf: tst_paket.sh BUILDVERZEICHNIS   (CPACK: cpack to use, TS_VERSION: expected version)
set -euo pipefail

bau=${1:?Aufruf: tst_paket.sh BUILDVERZEICHNIS}
quelle=$(cd "$(dirname "$0")/.." && pwd)
cpack=${CPACK:-cpack}
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
root=$tmp/root

fehler() {
    echo "FEHLER: $*" >&2
    exit 1
}

for werkzeug in dpkg-deb desktop-file-validate file lintian; do
    command -v "$werkzeug" >/dev/null || fehler "$werkzeug fehlt (siehe scripts/lib/pakete.sh)"
done

# --- Build and unpack --------------------------------------------------------------------------
if ! "$cpack" -G DEB --config "$bau/CPackConfig.cmake" -B "$tmp/cpack" >"$tmp/cpack.log" 2>&1; then
    cat "$tmp/cpack.log" >&2
    fehler "cpack konnte das Paket nicht bauen"
fi
debs=("$tmp"/cpack/*.deb)
[ ${#debs[@]} -eq 1 ] && [ -f "${debs[0]}" ] || fehler "genau ein .deb erwartet: ${debs[*]}"
deb=${debs[0]}
dpkg-deb -x "$deb" "$root"

# --- Control fields ----------------------------------------------------------------------------
feld() { dpkg-deb -f "$deb" "$1"; }
[ "$(feld Package)" = teststation ] || fehler "Package ist '$(feld Package)'"
[ -z "${TS_VERSION:-}" ] || [ "$(feld Version)" = "$TS_VERSION" ] ||
    fehler "Version ist '$(feld Version)', das Projekt hat $TS_VERSION"
for f in Maintainer Description Section Architecture; do
    [ -n "$(feld "$f")" ] || fehler "Feld $f fehlt"
done
# Package names only, without versions and alternatives' bars.
abhaengig=$(feld Depends | tr ',|' '\n\n' | sed 's/(.*)//; s/[[:space:]]//g')
for paket in libqt6widgets6 libqt6gui6 libqt6serialport6 libqt6svg6 libmariadb3 libsqlite3-0; do
    grep -qx "$paket" <<<"$abhaengig" || fehler "Depends ohne $paket: $(feld Depends)"
done
dpkg-deb --info "$deb" conffiles | grep -qx /etc/xdg/autostart/teststation.desktop ||
    fehler "der Autostart-Eintrag ist kein conffile"

# --- Programs and links ------------------------------------------------------------------------
ausfuehrbar() {
    [ -f "$root$1" ] && [ ! -L "$root$1" ] && [ -x "$root$1" ] ||
        fehler "$1 ist keine ausführbare Datei im Paket"
}
ausfuehrbar /usr/lib/teststation/teststation
ausfuehrbar /usr/bin/teststation-einstellungen
ausfuehrbar /usr/bin/teststation-pruefgeraet
ausfuehrbar /usr/bin/teststation-bericht
for programm in usr/lib/teststation/teststation usr/bin/teststation-einstellungen \
    usr/bin/teststation-bericht; do
    case $(file -b "$root/$programm") in
        *"not stripped"*) fehler "$programm ist nicht gestrippt" ;;
    esac
done
# Exactly these programs: no tests, no demo generator.
[ "$(ls "$root/usr/bin" | sort | tr '\n' ' ')" = \
  "teststation teststation-bericht teststation-einstellungen teststation-pruefgeraet " ] ||
    fehler "unerwartete Programme in /usr/bin: $(ls "$root/usr/bin" | tr '\n' ' ')"

# Relative links, so they resolve inside any root; an absolute one would leave the scratch root.
# readlink -m: /etc/teststation is made only at installation.
link_nach() {
    [ -L "$root$1" ] || fehler "$1 ist kein symbolischer Link"
    [[ $(readlink "$root$1") != /* ]] || fehler "$1 ist absolut: $(readlink "$root$1")"
    [ "$(readlink -m "$root$1")" = "$root$2" ] ||
        fehler "$1 zeigt auf $(readlink -m "$root$1") statt auf $root$2"
}
link_nach /usr/bin/teststation /usr/lib/teststation/teststation
link_nach /usr/lib/teststation/Einstellungen.ini /etc/teststation/Einstellungen.ini
# The site file holds credentials: the package ships nothing there, postinst makes the directory
# (the round trip below checks that).
[ ! -e "$root/etc/teststation" ] || fehler "das Paket liefert /etc/teststation mit"
dpkg-deb --info "$deb" postinst | grep -q 'mkdir -m 0755 /etc/teststation$' ||
    fehler "postinst legt /etc/teststation nicht an"

# --- Debian's documents and lintian -----------------------------------------------------------
doku=$root/usr/share/doc/teststation
head -n 1 "$doku/copyright" |
    grep -qx 'Format: https://www.debian.org/doc/packaging-manuals/copyright-format/1.0/' ||
    fehler "copyright ist nicht im maschinenlesbaren Format"
grep -q '^License: ' "$doku/copyright" || fehler "copyright ohne License"
# A native package: the changelog is changelog.gz, and its newest entry is the package's version.
gzip -t "$doku/changelog.gz" || fehler "changelog.gz ist kein gzip"
zcat "$doku/changelog.gz" >"$tmp/changelog"
[ "$(dpkg-parsechangelog -l "$tmp/changelog" -S Version)" = "$(feld Version)" ] ||
    fehler "changelog.gz beginnt nicht mit Version $(feld Version)"
# Every program in /usr/bin has its page, named in its NAME section.
for pfad in "$root"/usr/bin/*; do
    programm=${pfad##*/}
    seite=$root/usr/share/man/man1/$programm.1.gz
    gzip -t "$seite" 2>/dev/null || fehler "Handbuchseite ${seite#"$root"} fehlt"
    grep -q "^$programm \\\\- " <(zcat "$seite") || fehler "${seite#"$root"} ohne Namenszeile"
done
# The administrator's setup in /usr/sbin, its page, and the SQL files where it looks for them.
seite=$root/usr/share/man/man8/teststation-datenbank-einrichten.8.gz
[ -x "$root/usr/sbin/teststation-datenbank-einrichten" ] ||
    fehler "/usr/sbin/teststation-datenbank-einrichten fehlt"
grep -q '^teststation\\-datenbank\\-einrichten \\- ' <(zcat "$seite") ||
    fehler "${seite#"$root"} fehlt oder ohne Namenszeile"
for datei in schema.sql station-rechte.sql upgrade.sql bericht-rechte.sql; do
    cmp -s "$root/usr/share/teststation/db/$datei" "$quelle/db/$datei" ||
        fehler "/usr/share/teststation/db/$datei fehlt oder weicht ab"
done
# The tool's page comes from its German --help: German headings, its newest option.
einstellungen_seite=$(zcat "$root/usr/share/man/man1/teststation-einstellungen.1.gz")
for zeile in '.SH ÜBERSICHT' '.SH OPTIONEN' '\fB\-\-verbindung\-pruefen\fR'; do
    grep -qxF -- "$zeile" <<<"$einstellungen_seite" ||
        fehler "teststation-einstellungen.1 ohne Zeile $zeile"
done
bericht_seite=$(zcat "$root/usr/share/man/man1/teststation-bericht.1.gz")
for zeile in '.SH ÜBERSICHT' '.SH OPTIONEN' '\fB\-\-von\fR <JJJJ\-MM\-TT>'; do
    grep -qxF -- "$zeile" <<<"$bericht_seite" || fehler "teststation-bericht.1 ohne Zeile $zeile"
done
# Every warning or error not overridden (with its reason) in packaging/lintian-overrides.
lintian --fail-on error,warning "$deb" >"$tmp/lintian.log" 2>&1 || {
    cat "$tmp/lintian.log" >&2
    fehler "lintian meldet Fehler oder Warnungen"
}

# --- Desktop entries, unit, kiosk script -------------------------------------------------------
anwendung=$root/usr/share/applications/teststation.desktop
autostart=$root/etc/xdg/autostart/teststation.desktop
unit=$root/usr/lib/systemd/user/teststation.service
kiosk=$root/usr/lib/teststation/teststation-kiosk
for eintrag in "$anwendung" "$autostart"; do
    desktop-file-validate "$eintrag" || fehler "${eintrag#"$root"} ist ungültig"
done
# The menu entry starts the program through PATH and finds its icon in the theme.
programm=$(sed -n 's|^Exec=||p' "$anwendung")
[ -n "$programm" ] && [ -x "$root/usr/bin/$programm" ] ||
    fehler "Exec=$programm in teststation.desktop ist kein Programm in /usr/bin"
symbol=$root/usr/share/icons/hicolor/scalable/apps/$(sed -n 's|^Icon=||p' "$anwendung").svg
grep -q '<svg' "$symbol" 2>/dev/null || fehler "Symbol ${symbol#"$root"} fehlt"

# Every absolute command these files start must be a program of the package.
befehl_im_paket() {
    local pfad
    pfad=$(sed -n "s|^$2=||p" "$1" | head -n 1)
    [[ $pfad == /* ]] || fehler "$2 in ${1#"$root"} ist kein absoluter Pfad: '$pfad'"
    [ -x "$root$pfad" ] || fehler "$2=$pfad in ${1#"$root"} startet kein Programm des Pakets"
}
befehl_im_paket "$autostart" Exec
befehl_im_paket "$unit" ExecStart
[ "$(sed -n 's|^Exec=||p' "$autostart")" = /usr/lib/teststation/teststation-kiosk ] ||
    fehler "der Autostart-Eintrag startet nicht teststation-kiosk"
for zeile in PartOf=graphical-session.target After=graphical-session.target \
    Restart=on-failure RestartSec=3 RestartPreventExitStatus=2; do
    grep -qx "$zeile" "$unit" || fehler "teststation.service ohne $zeile"
done

ausfuehrbar /usr/lib/teststation/teststation-kiosk
sh -n "$kiosk" || fehler "teststation-kiosk ist kein gültiges sh-Skript"
head -n 1 "$kiosk" | grep -qx '#!/bin/sh' || fehler "teststation-kiosk ohne #!/bin/sh"
direkt=$(sed -n 's|^exec \(/[^ ]*\)$|\1|p' "$kiosk")
[ -n "$direkt" ] && [ -x "$root$direkt" ] ||
    fehler "teststation-kiosk startet ohne systemd kein Programm des Pakets: '$direkt'"

# Under a user manager (stand-ins that log their calls; the D-Bus one fails, as without a session
# bus) the session's display reaches the manager, a stale Wayland display is cleared but never
# the manager's runtime directory, and only then the unit starts.
attrappen=$tmp/attrappen
mkdir "$attrappen"
printf '#!/bin/sh\necho "systemctl $*" >>"$ATTRAPPEN_LOG"\n' >"$attrappen/systemctl"
printf '#!/bin/sh\nexit 1\n' >"$attrappen/dbus-update-activation-environment"
chmod +x "$attrappen"/*
env -u WAYLAND_DISPLAY -u XDG_RUNTIME_DIR DISPLAY=:7 ATTRAPPEN_LOG="$tmp/aufrufe" \
    PATH="$attrappen:$PATH" sh "$kiosk" || fehler "teststation-kiosk endet mit Fehler"
aufrufe=$(paste -sd '|' "$tmp/aufrufe")
grep -Eq '^systemctl --user import-environment (.* )?DISPLAY( |$)' "$tmp/aufrufe" ||
    fehler "teststation-kiosk gibt DISPLAY nicht weiter: $aufrufe"
grep -Eq '^systemctl --user unset-environment (.* )?WAYLAND_DISPLAY( |$)' "$tmp/aufrufe" ||
    fehler "teststation-kiosk lässt ein altes WAYLAND_DISPLAY stehen: $aufrufe"
! grep -Eq '^systemctl --user unset-environment .*XDG_RUNTIME_DIR' "$tmp/aufrufe" ||
    fehler "teststation-kiosk nimmt dem Dienstmanager XDG_RUNTIME_DIR: $aufrufe"
[ "$(tail -n 1 "$tmp/aufrufe")" = "systemctl --user start teststation.service" ] ||
    fehler "teststation-kiosk startet die Unit nicht zuletzt: $aufrufe"

# --- The installed tools work from the root ----------------------------------------------------
ini=$root/etc/teststation/Einstellungen.ini
link=$root/usr/lib/teststation/Einstellungen.ini
mkdir "$root/etc/teststation" # as postinst does
schreiben() {
    "$root/usr/bin/teststation-einstellungen" --hostname "$1" --username station \
        --passwort-stdin --datenbank esd --mandant "Paket GmbH" -o "$2" <<<"geheim" ||
        fehler "teststation-einstellungen konnte ${2#"$root"} nicht schreiben"
}
# The station sees the file through its link, so the check goes that way.
liest_ueber_link() {
    local pruefung
    pruefung=$("$root/usr/bin/teststation-einstellungen" --pruefen "$link") ||
        fehler "--pruefen über den Link schlägt fehl: $pruefung"
    grep -Eqx "Hostname: +$1" <<<"$pruefung" || fehler "$2 (gelesen: $pruefung)"
}
schreiben db.etc.test "$ini"
[ -f "$ini" ] && [ ! -L "$ini" ] || fehler "${ini#"$root"} wurde nicht geschrieben"
[ "$(stat -c %a "$ini")" = 600 ] || fehler "die neue Datei hat die Rechte $(stat -c %a "$ini")"
liest_ueber_link db.etc.test "--pruefen las nicht die geschriebene Datei"
# Written through the link, the file still lands in /etc and the link stays.
schreiben db.link.test "$link"
[ -L "$link" ] || fehler "Schreiben über den Link hat den Link ersetzt"
liest_ueber_link db.link.test "Schreiben über den Link erreichte /etc nicht"
hilfe=$("$root/usr/bin/teststation-pruefgeraet" --help) ||
    fehler "teststation-pruefgeraet --help schlägt fehl"
grep -q -- '--szenario' <<<"$hilfe" || fehler "teststation-pruefgeraet --help ohne Optionen"

# --- Install, remove, purge ----------------------------------------------------------------------
# On this machine itself, so only where nothing of an installation here can be lost.
rundreise() {
    [ "$(id -u)" -eq 0 ] || { echo "nicht root"; return 1; }
    command -v apt-get >/dev/null && dpkg --audit >/dev/null 2>&1 ||
        { echo "dpkg oder apt-get nicht benutzbar"; return 1; }
    ! dpkg-query -W teststation >/dev/null 2>&1 ||
        { echo "teststation ist auf diesem Rechner schon bekannt"; return 1; }
    [ ! -e /etc/teststation ] || { echo "/etc/teststation gibt es schon"; return 1; }
}
apt_get() {
    DEBIAN_FRONTEND=noninteractive apt-get -y -q --no-install-recommends \
        -o DPkg::Lock::Timeout=300 "$@" >"$tmp/apt.log" 2>&1 || {
        cat "$tmp/apt.log" >&2
        fehler "apt-get $* schlägt fehl"
    }
    ! grep -E '^W: |dpkg: warning' "$tmp/apt.log" >&2 || fehler "Warnung bei apt-get $*"
}
if grund=$(rundreise); then
    # A failure below still leaves the machine as it was.
    trap 'apt-get -y -q -o DPkg::Lock::Timeout=300 purge teststation >/dev/null 2>&1
        rm -rf "$tmp"' EXIT
    apt_get install "$deb"
    [ -d /etc/teststation ] || fehler "postinst hat /etc/teststation nicht angelegt"
    werkzeug=/usr/bin/teststation-einstellungen
    [ "$("$werkzeug" --version)" = "teststation-einstellungen $(feld Version)" ] ||
        fehler "das installierte teststation-einstellungen meldet eine andere Version"
    "$werkzeug" --hostname db.test --username station --passwort-stdin \
        --datenbank esd -o /usr/lib/teststation/Einstellungen.ini <<<"geheim" ||
        fehler "das installierte teststation-einstellungen schreibt nicht"
    [ "$(stat -c %a /etc/teststation/Einstellungen.ini)" = 600 ] ||
        fehler "/etc/teststation/Einstellungen.ini ist nicht 0600"

    # Removal keeps the credentials and says where they are; purge takes them too.
    apt_get remove teststation
    grep -q '/etc/teststation/Einstellungen.ini (Zugangsdaten' "$tmp/apt.log" ||
        fehler "remove nennt die Datei mit den Zugangsdaten nicht"
    [ -f /etc/teststation/Einstellungen.ini ] || fehler "remove hat die Einstellungen gelöscht"
    [ ! -e /usr/lib/teststation ] || fehler "remove ließ /usr/lib/teststation stehen"
    apt_get purge teststation
    for pfad in /etc/teststation /etc/xdg/autostart/teststation.desktop; do
        [ ! -e "$pfad" ] || fehler "purge ließ $pfad stehen"
    done
    ! dpkg-query -W teststation >/dev/null 2>&1 || fehler "dpkg kennt teststation nach purge"
    trap 'rm -rf "$tmp"' EXIT
    echo "Installieren, Entfernen und Löschen (purge) geprüft."
else
    echo "Installation übersprungen: $grund"
fi

echo "Paket $(basename "$deb") geprüft."
