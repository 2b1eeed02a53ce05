#!/bin/sh
# Installs the Debian 12 packages that building, running and testing need,
# but only when one of them is missing.
set -eu

pakete="build-essential cmake ninja-build pkg-config libutf8proc-dev
        libgtest-dev libgmock-dev qt6-base-dev qt6-qpa-plugins qt6-svg-dev
        qt6-translations-l10n fonts-dejavu-core rsync fp-utils libchm-dev
        librsvg2-bin desktop-file-utils xvfb xauth x11-utils fusefat
        dosfstools exfat-fuse exfatprogs clang-format"

fehlend=""
for p in $pakete; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || fehlend="$fehlend $p"
done
[ -z "$fehlend" ] && exit 0

als_root=""
[ "$(id -u)" -eq 0 ] || als_root="sudo"
echo "Installiere:$fehlend"
$als_root apt-get update -qq
# shellcheck disable=SC2086
DEBIAN_FRONTEND=noninteractive $als_root apt-get install -y -qq --no-install-recommends $fehlend
