#!/usr/bin/env bash
# Puts Wine's own fonts from Debian's fonts-wine (Marlett, which draws the caption buttons, MS Sans
# Serif, Tahoma) into the Fonts folder of the prefix WINEPREFIX, the only place this Wine looks for
# them; without them the close box is drawn as an "r". Safe to run again.
#   WINEPREFIX=... wine-fonts.sh
set -euo pipefail
: "${WINEPREFIX:?WINEPREFIX must name the prefix}"
fonts=/usr/share/wine/fonts
target="$WINEPREFIX/drive_c/windows/Fonts"
if [ ! -d "$fonts" ]; then
    echo "wine-fonts.sh: no $fonts; scripts/setup.sh installs fonts-wine" >&2
    exit 1
fi
mkdir -p "$target"
for font in "$fonts"/*; do
    [ -e "$target/${font##*/}" ] || ln -s "$font" "$target/"
done
