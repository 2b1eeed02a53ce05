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
. bench/gemeinsam.sh
if erzeuge_alt_und_neu "$n" "ändere jede zwanzigste und lösche eine weitere"; then
    aendere 20 0
    find "$neu" -type f | sort | awk 'NR % 20 == 10' | xargs -d '\n' rm -f
fi
echo "Dateisystem: $(stat -f -c %T "$basis")"
find "$neu" -type f -exec cat {} + >/dev/null  # read the source into the cache once

t_mit="" t_ohne=""
for i in $(seq "$laeufe"); do
    t_mit=$(min "$t_mit" "$(update_lauf "$basis/ziel-mit" "$cli" synchronisieren "$neu" "$basis/ziel-mit")")
    t_ohne=$(min "$t_ohne" "$(update_lauf "$basis/ziel-ohne" "$cli" synchronisieren --versionen-tage 0 \
        "$neu" "$basis/ziel-ohne")")
done
rm -rf "$basis/ziel-mit" "$basis/ziel-ohne"
awk -v m="$t_mit" -v o="$t_ohne" 'BEGIN {
    printf "update  mit Versionen %7d ms   ohne %7d ms   mit/ohne %.2f\n", m, o, m / o
}'
echo "Ziel: <= 1.1 x ohne Versionen"
