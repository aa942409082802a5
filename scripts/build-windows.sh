#!/usr/bin/env bash
# Usage: build-windows.sh [PRESET]
# Builds the Windows release on Linux: installs what is missing, builds a
# static Qt for Windows once (cached outside the tree; about 15 minutes on two
# cores the first time), cross-builds Quorvane (PRESET windows, the default,
# with its tests; windows-release, the program alone), and leaves in
# build/windows/:
#   quorvane-<version>-setup.exe   the installer
#   quorvane-<version>-win64.zip   the portable program, its licence and a read-me
#   authenticode/*.p7s             when signed: the signatures of quorvane.exe,
#                                  uninstall.exe and setup.exe, detached
#   unsigned/quorvane.exe          the program as it is before it is signed
# The program, its uninstaller and the installer are signed when a certificate
# is given, or get the signatures of a published release from the folder
# QUORVANE_SIGNATURES (see scripts/sign-windows.sh). Every time stored is
# SOURCE_DATE_EPOCH (by default the commit's), so the same commit built afresh
# gives the same bytes.
set -euo pipefail
cd "$(dirname "$0")/.."
preset=${1:-windows}

scripts/setup.sh
QUORVANE_WINDOWS_QT=$(scripts/windows-qt.sh)
# The PE time stamp (the linker and objcopy write it), rcc's file times, those of
# the files in the zip and the installer: the commit's. zip stores local times.
SOURCE_DATE_EPOCH=${SOURCE_DATE_EPOCH:-$(git log -1 --format=%ct)}
export QUORVANE_WINDOWS_QT SOURCE_DATE_EPOCH TZ=UTC
umask 022
build=$(cmake --preset "$preset" | sed -n 's/^-- Build files have been written to: //p')
cmake --build --preset "$preset"

version=$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' "$build/CMakeCache.txt")
out=build/windows
stage=$out/stage
signatures=$PWD/$out/authenticode
rm -rf "$stage" "$signatures" "$out"/quorvane-* "$out/unsigned"
mkdir -p "$stage" "$signatures" "$out/unsigned"
if [ -d "${QUORVANE_SIGNATURES:-}" ]; then cp "$QUORVANE_SIGNATURES"/*.p7s "$signatures"/; fi
# Stripped, and with Qt's MIME database free of the time Qt was built: Qt gzips it then, and gzip's header
# keeps that time (which zlib ignores); set to 0, every build of the same Qt gives the same program.
# No section name is longer than the eight characters Windows reads, either (Qt's is .qtmimedatabase): a longer
# one stays in a string table after the last section, which leaves the file's length one that signing pads, so
# removing the signature would not give the same bytes back.
mime=$stage/qtmimedatabase
x86_64-w64-mingw32-objcopy --dump-section .qtmimedatabase="$mime" "$build/quorvane.exe"
[ "$(head -c 4 "$mime" | od -An -tx1)" != " 1f 8b 08 00" ] ||
    printf '\0\0\0\0' | dd of="$mime" bs=1 seek=4 conv=notrunc status=none
x86_64-w64-mingw32-objcopy --strip-all --update-section .qtmimedatabase="$mime" \
    --rename-section .qtmimedatabase=.qtmime "$build/quorvane.exe" "$out/unsigned/quorvane.exe"
rm "$mime"
cp "$out/unsigned/quorvane.exe" "$stage/"
scripts/sign-windows.sh "$signatures" quorvane.exe "$stage/quorvane.exe"
sed 's/$/\r/' LICENSE >"$stage/LICENSE.txt" # Notepad wants CRLF
sed "s/@VERSION@/$version/g; s/\$/\r/" packaging/windows/README.txt >"$stage/README.txt"
touch -d "@$SOURCE_DATE_EPOCH" "$stage"/*

(cd "$stage" && zip -q -X "../quorvane-$version-win64.zip" quorvane.exe LICENSE.txt README.txt)
makensis -V2 -DVERSION="$version" -DEXE="$PWD/$stage/quorvane.exe" -DLICENSE="$PWD/$stage/LICENSE.txt" \
    -DICON="$PWD/ui/icons/quorvane.ico" -DOUTFILE="$PWD/$out/quorvane-$version-setup.exe" \
    -DSIGN="\"$PWD/scripts/sign-windows.sh\" \"$signatures\"" packaging/windows/quorvane.nsi
rm -rf "$stage"
rmdir --ignore-fail-on-non-empty "$signatures"
ls -l "$out"/quorvane-"$version"-*
