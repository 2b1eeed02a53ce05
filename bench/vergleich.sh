#!/bin/sh
# Times "tarvendo-cli vergleichen" against rsync's dry run and the stat floor
# of find on the same two trees, and measures its memory per scanned entry.
#   bench/vergleich.sh [N [PRÄFIX]]   (default 100000 files named datei_<n>.dat)
# BUILD (default: build) is the build directory, SCRATCH (default: a new
# temporary directory, removed afterwards) is where the trees are built,
# LAEUFE (default 5) the number of timed rounds.
set -eu
cd "$(dirname "$0")/.."
n=${1:-100000}
build=${BUILD:-build}
laeufe=${LAEUFE:-5}

cmake --build "$build" --target tarvendo-cli tarvendo-baumgenerator tarvendo-messen >/dev/null
cli=$build/src/cli/tarvendo-cli
messen=$build/bench/tarvendo-messen

if [ -n "${SCRATCH:-}" ]; then
    basis=$SCRATCH
else
    basis=$(mktemp -d)
    trap 'rm -rf "$basis"' EXIT
fi
q=$basis/quelle
z=$basis/ziel
if [ ! -d "$q" ]; then
    echo "Erzeuge $n Dateien in $basis ..."
    "$build/bench/tarvendo-baumgenerator" "$basis" "$n" ${2:+"$2"}
fi
mkdir -p "$basis/leer1" "$basis/leer2"

eintraege=$(find "$q" "$z" -mindepth 1 | wc -l)
aufgaben=$("$cli" vergleichen "$q" "$z" | tail -n 1)
echo "Einträge in beiden Bäumen: $eintraege; Aufgaben: $aufgaben"

# Each command once to warm the cache, then $laeufe rounds in which the
# commands take turns, so that load from elsewhere hits all of them alike;
# each command's best time counts.
for befehl in cli rsync find leer; do eval "t_$befehl=; kb_$befehl=0"; done
lauf() {
    case $1 in
        cli) "$messen" 1 "$cli" vergleichen "$q" "$z" ;;
        rsync) "$messen" 1 rsync -an --delete "$q/" "$z/" ;;
        find) "$messen" 1 find "$q" "$z" -printf '%s %T@\n' ;;
        leer) "$messen" 1 "$cli" vergleichen "$basis/leer1" "$basis/leer2" ;;
    esac
}
for befehl in cli rsync find leer; do lauf $befehl >/dev/null; done
runde=0
while [ "$runde" -lt "$laeufe" ]; do
    for befehl in cli rsync find leer; do
        set -- $(lauf $befehl)
        eval "alt=\$t_$befehl"
        if [ -z "$alt" ] || awk -v a="$1" -v b="$alt" 'BEGIN { exit !(a < b) }'; then
            eval "t_$befehl=$1"
        fi
        eval "kb_$befehl=$2"
    done
    runde=$((runde + 1))
done

awk -v c="$t_cli" -v r="$t_rsync" -v f="$t_find" -v kb="$kb_cli" -v kb0="$kb_leer" \
    -v e="$eintraege" 'BEGIN {
    printf "tarvendo-cli vergleichen  %8.1f ms   Spitze %d KiB (leer: %d KiB)\n", c, kb, kb0
    printf "rsync -an --delete        %8.1f ms\n", r
    printf "find -printf (stat)       %8.1f ms\n", f
    printf "Verhältnis zu rsync       %8.2f   (Ziel <= 0.5)\n", c / r
    printf "Verhältnis zu find        %8.2f   (Ziel <= 1.3)\n", c / f
    printf "Speicher je Eintrag       %8.1f Bytes (Ziel <= 150)\n", (kb - kb0) * 1024 / e
}'
