#!/usr/bin/env bash
# Renders the Quorvane icon from quorvane.svg: the freedesktop PNG sizes under
# hicolor/ and the Windows icon quorvane.ico (16, 32, 48 and 256 pixels).
# Needs the Debian/Ubuntu packages librsvg2-bin (rsvg-convert) and icoutils
# (icotool); installs whichever is missing, as root or through sudo.
set -euo pipefail
cd "$(dirname "$0")"

packages=(librsvg2-bin icoutils)
missing=()
for package in "${packages[@]}"; do
    status=$(dpkg-query -W -f='${db:Status-Status}' "$package" 2>/dev/null || true)
    [ "$status" = installed ] || missing+=("$package")
done
if [ ${#missing[@]} -gt 0 ]; then
    echo "Installing: ${missing[*]}"
    if [ "$(id -u)" -eq 0 ]; then
        as_root=()
    elif command -v sudo >/dev/null 2>&1; then
        as_root=(sudo)
    else
        echo "generate: need root or sudo to install: ${missing[*]}" >&2
        exit 1
    fi
    "${as_root[@]}" apt-get update -q
    "${as_root[@]}" env DEBIAN_FRONTEND=noninteractive apt-get install -y -q --no-install-recommends "${missing[@]}" </dev/null
fi

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
