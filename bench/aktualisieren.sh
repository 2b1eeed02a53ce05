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
. bench/gemeinsam.sh
if erzeuge_alt_und_neu "$n" "ändere jede zehnte"; then
    aendere 10 0
fi
echo "Dateisystem: $(stat -f -c %T "$basis")"
find "$neu" -type f -exec cat {} + >/dev/null  # read the source into the cache once

t_tar="" t_rsync=""
for i in $(seq "$laeufe"); do
    t=$(update_lauf "$basis/ziel-tarvendo" "$cli" synchronisieren "$neu" "$basis/ziel-tarvendo") || exit 1
    t_tar=$(min "$t_tar" "$t")
    t=$(update_lauf "$basis/ziel-rsync" rsync -a "$neu/" "$basis/ziel-rsync/") || exit 1
    t_rsync=$(min "$t_rsync" "$t")
done
rm -rf "$basis/ziel-tarvendo" "$basis/ziel-rsync"
awk -v t="$t_tar" -v r="$t_rsync" 'BEGIN {
    printf "update  tarvendo %7d ms   rsync -a %7d ms   tarvendo/rsync %.2f\n", t, r, t / r
}'
echo "Ziel: <= 1.3 x rsync -a"
