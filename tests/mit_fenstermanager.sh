#!/usr/bin/env bash
# Runs a test program on a virtual display of its own under a real window manager (openbox), as
# the kiosk runs in a desktop session: stacking there follows the window manager's rules.
set -euo pipefail
verzeichnis=$(mktemp -d)
xvfb=""
wm=""
aufraeumen() {
    [ -n "$wm" ] && kill "$wm" 2>/dev/null || true
    [ -n "$xvfb" ] && kill "$xvfb" 2>/dev/null || true
    wait 2>/dev/null || true
    rm -rf "$verzeichnis"
}
trap aufraeumen EXIT

# Xvfb picks a free display itself and names it once it accepts clients.
Xvfb -displayfd 6 -screen 0 1920x1080x24 -nolisten tcp 6>"$verzeichnis/anzeige" >/dev/null 2>&1 &
xvfb=$!
for _ in $(seq 100); do
    [ -s "$verzeichnis/anzeige" ] && break
    sleep 0.05
done
[ -s "$verzeichnis/anzeige" ] || { echo "Xvfb ist nicht gestartet." >&2; exit 1; }
export DISPLAY=:$(head -n 1 "$verzeichnis/anzeige")

openbox --sm-disable >/dev/null 2>&1 &
wm=$!
# The window manager is up once it has announced itself on the root window.
for _ in $(seq 100); do
    xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q 'window id' && break
    sleep 0.05
done
xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q 'window id' ||
    { echo "openbox ist nicht gestartet." >&2; exit 1; }

QT_QPA_PLATFORM=xcb "$@"
