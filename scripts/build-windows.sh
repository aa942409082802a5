#!/usr/bin/env bash
# Builds the Windows release on Linux: installs what is missing, builds a
# static Qt for Windows once (cached outside the tree; about 15 minutes on two
# cores the first time), cross-builds Quorvane and its tests, and leaves in
# build/windows/:
#   quorvane-<version>-setup.exe   the installer
#   quorvane-<version>-win64.zip   the portable program and its licence
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/setup.sh
QUORVANE_WINDOWS_QT=$(scripts/windows-qt.sh)
export QUORVANE_WINDOWS_QT
cmake --preset windows >/dev/null
cmake --build --preset windows

version=$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' build/win64/CMakeCache.txt)
out=build/windows
stage=$out/stage
rm -rf "$stage"
mkdir -p "$stage"
x86_64-w64-mingw32-strip -o "$stage/quorvane.exe" build/win64/quorvane.exe
sed 's/$/\r/' LICENSE >"$stage/LICENSE.txt" # Notepad wants CRLF

rm -f "$out/quorvane-$version-win64.zip"
(cd "$stage" && zip -q -X "../quorvane-$version-win64.zip" quorvane.exe LICENSE.txt)
makensis -V2 -DVERSION="$version" -DEXE="$PWD/$stage/quorvane.exe" -DLICENSE="$PWD/$stage/LICENSE.txt" \
    -DICON="$PWD/ui/icons/quorvane.ico" -DOUTFILE="$PWD/$out/quorvane-$version-setup.exe" \
    packaging/windows/quorvane.nsi
rm -rf "$stage"
ls -l "$out"/quorvane-"$version"-*
