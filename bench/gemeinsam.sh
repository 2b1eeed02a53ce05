# Shared by the synchronisation benchmarks, sourced after "set -eu" with the
# working directory at the top of the tree: builds the command-line tool,
# sets build, cli, laeufe and basis (SCRATCH, or a temporary directory that
# is removed at exit), and defines min.
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

min() { if [ -z "$1" ] || [ "$2" -lt "$1" ]; then echo "$2"; else echo "$1"; fi; }

# For update runs. erzeuge_alt_und_neu N TEXT: N small files in $basis/alt
# and a copy in $basis/neu for the caller to change, unless neu exists.
# Returns 1 when the data were there already.
alt=$basis/alt
neu=$basis/neu
erzeuge_alt_und_neu() {
    [ ! -d "$neu" ] || return 1
    echo "Erzeuge $1 kleine Dateien in $basis, $2 ..."
    "$build/bench/tarvendo-synchrondaten" klein "$alt" "$1"
    cp -a "$alt" "$neu"
}

# aendere JEDE REST: appends a byte to every JEDE-th file of $neu (sorted),
# counting from REST.
aendere() {
    find "$neu" -type f | sort | awk -v j="$1" -v r="$2" 'NR % j == r' |
        xargs -d '\n' sh -c 'for f; do printf x >>"$f"; done' sh
}

# update_lauf ZIEL COMMAND...: milliseconds of one update run of a fresh copy
# of $alt at ZIEL, which must then equal $neu.
update_lauf() {
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
