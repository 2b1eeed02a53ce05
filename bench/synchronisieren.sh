#!/bin/sh
# Times a first synchronisation into an empty target with
# "tarvendo-cli synchronisieren" against "cp -a" and "rsync -a" on the same
# data: N small files (0-2000 bytes, 100 per directory) and one large file.
#   bench/synchronisieren.sh [N] [MIB]        (default 100000 files, 1024 MiB)
# BUILD (default: build) is the build directory, SCRATCH (default: a new
# temporary directory, removed afterwards) is where the data are built.
#
# Our run ends with syncfs of the target, so that what it wrote is on the
# drive; for a fair comparison cp and rsync are timed with "sync -f" on the
# target (the same system call) as well. Caches cannot be dropped here, so the
# source is read once before timing. Every run writes into a new, empty
# target, and the three tools take turns, so that a drifting load on the
# machine hits them alike; the best of three runs counts. Targets are removed
# only after all runs of a kind: ext4 without a journal is slow to hand out
# inodes freed in the last minutes, which would burden whichever run came next
# (and all three alike: creating inodes is most of the time with small files).
set -eu
cd "$(dirname "$0")/.."
n=${1:-100000}
mib=${2:-1024}
. bench/gemeinsam.sh
if [ ! -d "$basis/klein" ]; then
    echo "Erzeuge $n kleine Dateien und eine Datei von $mib MiB in $basis ..."
    "$build/bench/tarvendo-synchrondaten" klein "$basis/klein" "$n"
    "$build/bench/tarvendo-synchrondaten" gross "$basis/gross" "$mib"
fi
echo "Dateisystem: $(stat -f -c %T "$basis")"

# lauf ZIEL COMMAND...: milliseconds of one run into the empty target ZIEL.
lauf() {
    ziel=$1
    shift
    mkdir "$ziel"
    sync -f "$ziel"
    start=$(date +%s%N)
    "$@" >/dev/null
    sync -f "$ziel"
    ende=$(date +%s%N)
    echo $(((ende - start) / 1000000))
}

messe() {
    art=$1
    q=$basis/$art
    z=$basis/ziele-$art
    rm -rf "$z"
    mkdir "$z"
    find "$q" -type f -exec cat {} + >/dev/null  # read the source into the cache once
    t_tar="" t_cp="" t_rsync=""
    for i in $(seq "$laeufe"); do
        t_tar=$(min "$t_tar" "$(lauf "$z/tarvendo$i" "$cli" synchronisieren "$q" "$z/tarvendo$i")")
        t_cp=$(min "$t_cp" "$(lauf "$z/cp$i" cp -a "$q/." "$z/cp$i/")")
        t_rsync=$(min "$t_rsync" "$(lauf "$z/rsync$i" rsync -a "$q/" "$z/rsync$i/")")
    done
    # Every target must equal the source, or the figures mean nothing.
    for ziel in "$z"/*; do
        if ! diff -r -x .tarvendo "$q" "$ziel" >/dev/null; then
            echo "$ziel weicht von der Quelle ab" >&2
            exit 1
        fi
    done
    rm -rf "$z"
    sync -f "$basis"
    awk -v a="$art" -v t="$t_tar" -v c="$t_cp" -v r="$t_rsync" 'BEGIN {
        printf "%-6s tarvendo %7d ms   cp -a %7d ms   rsync -a %7d ms   ", a, t, c, r
        printf "tarvendo/cp %.2f   tarvendo/rsync %.2f\n", t / c, t / r
    }'
}

messe klein
messe gross
echo "Ziele: klein <= 1.2 x cp -a und <= 0.8 x rsync -a; gross <= 1.1 x cp -a"
