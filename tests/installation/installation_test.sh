#!/bin/sh
# installation_test.sh BUILD HILFEDATEI FENSTERPROGRAMM
# Installs BUILD into a scratch prefix and checks that exactly the expected
# files arrive, in working order. FENSTERPROGRAMM is 1 once the build has the
# window program "tarvendo".
set -eu
build=$1
hilfedatei=$2
fenster=$3

prefix=$(mktemp -d)
trap 'rm -rf "$prefix"' EXIT
cmake --install "$build" --prefix "$prefix" >/dev/null

fehler=0
melde() {
    echo "FEHLER: $*"
    fehler=1
}

soll="bin/tarvendo-cli
lib/tarvendo/Tarvendo.chm
share/applications/tarvendo.desktop
share/doc/tarvendo/changelog.gz
share/doc/tarvendo/copyright
share/icons/hicolor/16x16/apps/tarvendo.png
share/icons/hicolor/32x32/apps/tarvendo.png
share/icons/hicolor/48x48/apps/tarvendo.png
share/icons/hicolor/scalable/apps/tarvendo.svg"
if [ "$fenster" = 1 ]; then
    soll="$soll
bin/tarvendo
lib/tarvendo/tarvendo"
fi
soll=$(printf '%s\n' "$soll" | LC_ALL=C sort)
ist=$(cd "$prefix" && find . ! -type d | sed 's|^\./||' | LC_ALL=C sort)
if [ "$ist" != "$soll" ]; then
    melde "andere Dateien installiert als erwartet"
    printf '%s\n' "$soll" >"$prefix/soll"
    printf '%s\n' "$ist" | diff "$prefix/soll" - || true
fi

[ -x "$prefix/bin/tarvendo-cli" ] || melde "bin/tarvendo-cli ist nicht ausführbar"
cmp -s "$hilfedatei" "$prefix/lib/tarvendo/Tarvendo.chm" || melde "Tarvendo.chm weicht ab"

if [ "$fenster" = 1 ]; then
    # A relative link, so the package can be installed under any prefix.
    [ "$(readlink "$prefix/bin/tarvendo")" = ../lib/tarvendo/tarvendo ] ||
        melde "bin/tarvendo ist kein Link auf ../lib/tarvendo/tarvendo"
    [ -f "$prefix/lib/tarvendo/tarvendo" ] && [ -x "$prefix/lib/tarvendo/tarvendo" ] ||
        melde "lib/tarvendo/tarvendo ist kein ausführbares Programm"
fi

# The width and height in a PNG's header, big-endian at byte 16.
for g in 16 32 48; do
    datei="$prefix/share/icons/hicolor/${g}x${g}/apps/tarvendo.png"
    [ -f "$datei" ] || continue
    kopf=$(od -An -tu1 -j16 -N8 "$datei" | tr -s ' ' | sed 's/^ //')
    [ "$kopf" = "0 0 0 $g 0 0 0 $g" ] || melde "${g}x${g}/apps/tarvendo.png hat die Maße $kopf"
done

eintrag="$prefix/share/applications/tarvendo.desktop"
if [ -f "$eintrag" ]; then
    desktop-file-validate "$eintrag" || melde "tarvendo.desktop ist ungültig"
    grep -qx 'Icon=tarvendo' "$eintrag" || melde "tarvendo.desktop nennt nicht das Symbol"
    grep -qx 'Exec=tarvendo' "$eintrag" || melde "tarvendo.desktop startet nicht tarvendo"
fi

[ "$fehler" = 0 ] && echo "Installation vollständig: $(printf '%s\n' "$ist" | wc -l) Dateien"
exit "$fehler"
