#!/usr/bin/env bash
# Renders the Quorvane icon from quorvane.svg: the freedesktop PNG sizes under
# hicolor/, the Windows icon quorvane.ico (16, 32, 48 and 256 pixels) and the
# window's own icon quorvane-32.pbm. Needs the Debian/Ubuntu packages
# librsvg2-bin (rsvg-convert), icoutils (icotool) and imagemagick (convert);
# installs whichever is missing.
set -euo pipefail
cd "$(dirname "$0")"

../../scripts/install-packages.sh librsvg2-bin icoutils imagemagick

# The SVG asks for crispEdges, so every size comes out in pure black and white.
for size in 16 22 24 32 48 64 128 256; do
    dir="hicolor/${size}x${size}/apps"
    mkdir -p "$dir"
    rsvg-convert --width "$size" --height "$size" --output "$dir/quorvane.png" quorvane.svg
done

# The 256-pixel image goes into the .ico as PNG, as Windows expects at that size.
icotool --create --output quorvane.ico \
    hicolor/16x16/apps/quorvane.png \
    hicolor/32x32/apps/quorvane.png \
    hicolor/48x48/apps/quorvane.png \
    --raw=hicolor/256x256/apps/quorvane.png

# The window's icon as a PBM, which Qt reads itself: a PNG would bring in
# libpng and zlib at start-up for 32 by 32 pixels of black and white.
convert hicolor/32x32/apps/quorvane.png quorvane-32.pbm
