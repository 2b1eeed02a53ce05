#!/bin/sh
# Starts the real window program on a virtual display, waits for its window,
# ends it with SIGTERM as the end of a session would, and checks that it
# wrote its settings on the way out. Skipped (77) without xvfb-run.
set -u
programm=$1
for werkzeug in xvfb-run xauth xwininfo; do
    command -v "$werkzeug" >/dev/null 2>&1 || { echo "$werkzeug fehlt"; exit 77; }
done
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
export HOME="$tmp" XDG_CONFIG_HOME="$tmp/config"
unset QT_QPA_PLATFORM

xvfb-run -a -s '-screen 0 1024x768x24' sh -c '
    "$1" & pid=$!
    i=0
    until xwininfo -root -tree 2>/dev/null | grep -q "\"Tarvendo\""; do
        i=$((i + 1))
        if [ $i -gt 600 ]; then echo "kein Fenster"; kill -KILL $pid; exit 1; fi
        sleep 0.1
    done
    kill -TERM $pid
    wait $pid
' sh "$programm"
status=$?
[ "$status" -eq 0 ] || { echo "Programm endete mit Status $status"; exit 1; }
einstellungen="$XDG_CONFIG_HOME/Morvanhalder/Tarvendo.conf"
grep -q '^sourcepath=' "$einstellungen" || { echo "keine Einstellungen in $einstellungen"; exit 1; }
echo "Fenster gestartet, beendet, Einstellungen geschrieben"
