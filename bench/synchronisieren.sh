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
# source is read once before timing and every run starts with a fresh, empty,
# flushed target; the best of three runs counts.
set -eu
cd "$(dirname "$0")/.."
n=${1:-100000}
mib=${2:-1024}
build=${BUILD:-build}
laeufe=3

cmake --build "$build" --target tarvendo-cli tarvendo-synchrondaten >/dev/null
cli=$(pwd)/$build/src/cli/tarvendo-cli

if [ -n "${SCRATCH:-}" ]; then
    basis=$SCRATCH
else
    basis=$(mktemp -d)
    trap 'rm -rf "$basis"' EXIT
fi
if [ ! -d "$basis/klein" ]; then
    echo "Erzeuge $n kleine Dateien und eine Datei von $mib MiB in $basis ..."
    "$build/bench/tarvendo-synchrondaten" klein "$basis/klein" "$n"
    "$build/bench/tarvendo-synchrondaten" gross "$basis/gross" "$mib"
fi
z=$basis/ziel
echo "Dateisystem: $(stat -f -c %T "$basis")"

# best_of NAME SOURCE COMMAND: milliseconds of the fastest of $laeufe runs.
best_of() {
    name=$1
    quelle=$2
    shift 2
    beste=""
    i=0
    while [ "$i" -lt "$laeufe" ]; do
        rm -rf "$z"
        mkdir "$z"
        sync -f "$z"
        start=$(date +%s%N)
        "$@" >/dev/null
        sync -f "$z"
        ende=$(date +%s%N)
        ms=$(( (ende - start) / 1000000 ))
        if [ -z "$beste" ] || [ "$ms" -lt "$beste" ]; then beste=$ms; fi
        i=$((i + 1))
    done
    # The target must equal the source, or the figure means nothing.
    if ! diff -r "$quelle" "$z" >/dev/null; then
        echo "$name: Ziel weicht von der Quelle ab" >&2
        exit 1
    fi
    echo "$beste"
}

messe() {
    art=$1
    q=$basis/$art
    find "$q" -type f -exec cat {} + >/dev/null  # read the source into the cache once
    t_tar=$(best_of tarvendo "$q" "$cli" synchronisieren "$q" "$z")
    t_cp=$(best_of "cp -a" "$q" cp -a "$q/." "$z/")
    t_rsync=$(best_of "rsync -a" "$q" rsync -a "$q/" "$z/")
    awk -v a="$art" -v t="$t_tar" -v c="$t_cp" -v r="$t_rsync" 'BEGIN {
        printf "%-6s tarvendo %7d ms   cp -a %7d ms   rsync -a %7d ms   ", a, t, c, r
        printf "tarvendo/cp %.2f   tarvendo/rsync %.2f\n", t / c, t / r
    }'
}

messe klein
messe gross
rm -rf "$z"
echo "Ziele: klein <= 1.2 x cp -a und <= 0.8 x rsync -a; gross <= 1.1 x cp -a"
