#!/bin/sh
# Times an update run of "tarvendo-cli synchronisieren" with versions (what
# the run deletes or replaces is moved into the target's version folder)
# against the same run without (--versionen-tage 0): the target holds a copy
# of N small files (0-2000 bytes, 100 per directory), of which every
# twentieth has changed in the source since and another twentieth is gone.
#   bench/versionen.sh [N]        (default 100000 files)
# BUILD (default: build) is the build directory, SCRATCH (default: a new
# temporary directory, removed afterwards) is where the data are built.
#
# Both runs end with "sync -f" on the target. Every run gets a fresh target
# (cp -a of the old state, not timed); the two take turns and the best of
# three runs counts.
set -eu
cd "$(dirname "$0")/.."
n=${1:-100000}
build=${BUILD:-build}
laeufe=3

cmake --build "$build" --target tarvendo-cli tarvendo-synchrondaten >/dev/null
case $build in
    /*) cli=$build/src/cli/tarvendo-cli ;;
    *) cli=$(pwd)/$build/src/cli/tarvendo-cli ;;
esac

if [ -n "${SCRATCH:-}" ]; then
    basis=$SCRATCH
else
    basis=$(mktemp -d)
    trap 'rm -rf "$basis"' EXIT
fi
mkdir -p "$basis"
alt=$basis/alt
neu=$basis/neu
if [ ! -d "$neu" ]; then
    echo "Erzeuge $n kleine Dateien in $basis, ändere jede zwanzigste und lösche eine weitere ..."
    "$build/bench/tarvendo-synchrondaten" klein "$alt" "$n"
    cp -a "$alt" "$neu"
    find "$neu" -type f | sort | awk 'NR % 20 == 0' |
        xargs -d '\n' sh -c 'for f; do printf x >>"$f"; done' sh
    find "$neu" -type f | sort | awk 'NR % 20 == 10' | xargs -d '\n' rm -f
fi
echo "Dateisystem: $(stat -f -c %T "$basis")"
find "$neu" -type f -exec cat {} + >/dev/null  # read the source into the cache once

# lauf ZIEL COMMAND...: milliseconds of one update run of the fresh target ZIEL.
lauf() {
    ziel=$1
    shift
    rm -rf "$ziel"
    cp -a "$alt" "$ziel"
    sync -f "$ziel"
    start=$(date +%s%N)
    "$@" >/dev/null
    sync -f "$ziel"
    ende=$(date +%s%N)
    if ! diff -r -x .tarvendo "$neu" "$ziel" >/dev/null; then
        echo "$ziel weicht von der Quelle ab" >&2
        exit 1
    fi
    echo $(((ende - start) / 1000000))
}

min() { if [ -z "$1" ] || [ "$2" -lt "$1" ]; then echo "$2"; else echo "$1"; fi; }

t_mit="" t_ohne=""
for i in $(seq "$laeufe"); do
    t_mit=$(min "$t_mit" "$(lauf "$basis/ziel-mit" "$cli" synchronisieren "$neu" "$basis/ziel-mit")")
    t_ohne=$(min "$t_ohne" "$(lauf "$basis/ziel-ohne" "$cli" synchronisieren --versionen-tage 0 \
        "$neu" "$basis/ziel-ohne")")
done
rm -rf "$basis/ziel-mit" "$basis/ziel-ohne"
awk -v m="$t_mit" -v o="$t_ohne" 'BEGIN {
    printf "update  mit Versionen %7d ms   ohne %7d ms   mit/ohne %.2f\n", m, o, m / o
}'
echo "Ziel: <= 1.1 x ohne Versionen"
