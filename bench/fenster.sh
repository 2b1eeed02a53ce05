#!/bin/sh
# Times the window's commands (offscreen) against tarvendo-cli on the same
# trees: a comparison of two trees of N files each, and a first
# synchronisation of N small files into an empty target. Best of LAEUFE
# (default 3) alternating rounds.
#   bench/fenster.sh [N]     (default 100000)
set -eu
cd "$(dirname "$0")/.."
n=${1:-100000}
build=${BUILD:-build}
laeufe=${LAEUFE:-3}
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

v_cli="" v_fenster="" s_cli="" s_fenster=""
ms "$cli" vergleichen "$basis/quelle" "$basis/ziel" >/dev/null  # warm the cache
for i in $(seq "$laeufe"); do
    v_cli=$(min "$v_cli" "$(ms "$cli" vergleichen "$basis/quelle" "$basis/ziel")")
    v_fenster=$(min "$v_fenster" "$(ms "$fenster" vergleichen "$basis/quelle" "$basis/ziel")")
    mkdir "$basis/z-cli$i" "$basis/z-fenster$i"
    s_cli=$(min "$s_cli" "$(ms "$cli" synchronisieren "$basis/klein" "$basis/z-cli$i")")
    s_fenster=$(min "$s_fenster" "$(ms "$fenster" synchronisieren "$basis/klein" "$basis/z-fenster$i")")
done
for i in $(seq "$laeufe"); do
    diff -r "$basis/klein" "$basis/z-fenster$i" >/dev/null || { echo "z-fenster$i weicht ab" >&2; exit 1; }
done
awk -v vc="$v_cli" -v vf="$v_fenster" -v sc="$s_cli" -v sf="$s_fenster" 'BEGIN {
    printf "vergleichen      cli %6d ms   fenster %6d ms   fenster/cli %.2f\n", vc, vf, vf / vc
    printf "synchronisieren  cli %6d ms   fenster %6d ms   fenster/cli %.2f\n", sc, sf, sf / sc
    print "Ziel: fenster/cli <= 1.15"
}'
