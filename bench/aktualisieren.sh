#!/bin/sh
# Times an update run with "tarvendo-cli synchronisieren" against "rsync -a":
# the target holds a copy of N small files (0-2000 bytes, 100 per directory),
# of which every tenth has changed in the source since. The changed files
# replace files with data, so our run flushes them before their renames.
#   bench/aktualisieren.sh [N]        (default 100000 files)
# BUILD (default: build) is the build directory, SCRATCH (default: a new
# temporary directory, removed afterwards) is where the data are built; put
# it on a real disk to see what the flushes cost.
#
# Both runs end with "sync -f" on the target, so that both have written their
# data by then. Every run gets a fresh target (cp -a of the old state, not
# timed); the tools take turns and the best of three runs counts.
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
    echo "Erzeuge $n kleine Dateien in $basis, ändere jede zehnte ..."
    "$build/bench/tarvendo-synchrondaten" klein "$alt" "$n"
    cp -a "$alt" "$neu"
    find "$neu" -type f | sort | awk 'NR % 10 == 0' |
        xargs -d '\n' sh -c 'for f; do printf x >>"$f"; done' sh
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

t_tar="" t_rsync=""
for i in $(seq "$laeufe"); do
    t=$(lauf "$basis/ziel-tarvendo" "$cli" synchronisieren "$neu" "$basis/ziel-tarvendo") || exit 1
    t_tar=$(min "$t_tar" "$t")
    t=$(lauf "$basis/ziel-rsync" rsync -a "$neu/" "$basis/ziel-rsync/") || exit 1
    t_rsync=$(min "$t_rsync" "$t")
done
rm -rf "$basis/ziel-tarvendo" "$basis/ziel-rsync"
awk -v t="$t_tar" -v r="$t_rsync" 'BEGIN {
    printf "update  tarvendo %7d ms   rsync -a %7d ms   tarvendo/rsync %.2f\n", t, r, t / r
}'
echo "Ziel: <= 1.3 x rsync -a"
