#!/bin/sh
# Times the window's commands (offscreen) against tarvendo-cli on the same
# trees: a comparison of two trees of N files each, and a first
# synchronisation of N small files into an empty target. Best of LAEUFE
# (default 5) rounds, in which the two take turns and change places, so that
# the file system's mood (inode allocation after deletions) hits both alike.
# TMPDIR on a tmpfs takes the disk out of the figures.
#   bench/fenster.sh [N]     (default 100000)
set -eu
cd "$(dirname "$0")/.."
n=${1:-100000}
build=${BUILD:-build}
laeufe=${LAEUFE:-5}
cmake --build "$build" --target tarvendo-cli tarvendo-fensterlauf tarvendo-baumgenerator \
    tarvendo-synchrondaten >/dev/null
cli=$build/src/cli/tarvendo-cli
fenster=$build/bench/tarvendo-fensterlauf
basis=$(mktemp -d)
trap 'rm -rf "$basis"' EXIT
"$build/bench/tarvendo-baumgenerator" "$basis" "$n" >/dev/null
"$build/bench/tarvendo-synchrondaten" klein "$basis/klein" "$n"

ms() {
    start=$(date +%s%N)
    "$@" >/dev/null 2>&1 || true
    ende=$(date +%s%N)
    echo $(((ende - start) / 1000000))
}
min() { if [ -z "$1" ] || [ "$2" -lt "$1" ]; then echo "$2"; else echo "$1"; fi; }

v_cli="" v_fenster="" s_cli="" s_fenster="" l_cli="" l_fenster=""
mkdir "$basis/leer1" "$basis/leer2"
ms "$cli" vergleichen "$basis/quelle" "$basis/ziel" >/dev/null  # warm the cache
runde() {
    l_cli=$(min "$l_cli" "$(ms "$cli" vergleichen "$basis/leer1" "$basis/leer2")")
    l_fenster=$(min "$l_fenster" "$(ms "$fenster" vergleichen "$basis/leer1" "$basis/leer2")")
    v_cli=$(min "$v_cli" "$(ms "$cli" vergleichen "$basis/quelle" "$basis/ziel")")
    v_fenster=$(min "$v_fenster" "$(ms "$fenster" vergleichen "$basis/quelle" "$basis/ziel")")
}
for i in $(seq "$laeufe"); do
    runde
    mkdir "$basis/z-cli$i" "$basis/z-fenster$i"
    if [ $((i % 2)) -eq 1 ]; then
        s_cli=$(min "$s_cli" "$(ms "$cli" synchronisieren "$basis/klein" "$basis/z-cli$i")")
        s_fenster=$(min "$s_fenster" "$(ms "$fenster" synchronisieren "$basis/klein" "$basis/z-fenster$i")")
    else
        s_fenster=$(min "$s_fenster" "$(ms "$fenster" synchronisieren "$basis/klein" "$basis/z-fenster$i")")
        s_cli=$(min "$s_cli" "$(ms "$cli" synchronisieren "$basis/klein" "$basis/z-cli$i")")
    fi
done
for i in $(seq "$laeufe"); do
    diff -r -x .tarvendo "$basis/klein" "$basis/z-fenster$i" >/dev/null || { echo "z-fenster$i weicht ab" >&2; exit 1; }
done
# The programs' start (the window's is some 60 ms) counted apart from the runs.
awk -v vc="$v_cli" -v vf="$v_fenster" -v sc="$s_cli" -v sf="$s_fenster" \
    -v lc="$l_cli" -v lf="$l_fenster" 'BEGIN {
    printf "Start            cli %6d ms   fenster %6d ms\n", lc, lf
    printf "vergleichen      cli %6d ms   fenster %6d ms   fenster/cli %.2f   ohne Start %.2f\n", \
        vc, vf, vf / vc, (vf - lf) / (vc - lc)
    printf "synchronisieren  cli %6d ms   fenster %6d ms   fenster/cli %.2f   ohne Start %.2f\n", \
        sc, sf, sf / sc, (sf - lf) / (sc - lc)
    print "Ziel: fenster/cli <= 1.15"
}'
