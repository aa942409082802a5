#!/usr/bin/env bash
# Usage: wine-prefix.sh PREFIX
# Makes a 64-bit Wine prefix for the Windows tests, unless it is there. Wine
# lacks two fonts that every Windows has, Microsoft Sans Serif and Arial: the
# metric-compatible Liberation Sans stands in for both.
set -euo pipefail
export WINEPREFIX=$1 WINEARCH=win64 WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d" # no Mono, Gecko or host menu entries
[ -f "$WINEPREFIX/quorvane-prefix-ready" ] && exit 0
wine wineboot -i >/dev/null 2>&1
for font in "Microsoft Sans Serif" Arial; do
    wine reg add 'HKCU\Software\Wine\Fonts\Replacements' /v "$font" /d "Liberation Sans" /f >/dev/null 2>&1
done
wineserver -w
touch "$WINEPREFIX/quorvane-prefix-ready"
