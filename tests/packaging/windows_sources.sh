#!/usr/bin/env bash
# The Windows-only sources, checked with the MinGW-w64 cross tools: the
# caption-drag code compiles warning-free, and the resource script (icon and
# version information) compiles, with the version of the project.
# Usage: windows_sources.sh SOURCE_DIR VERSION
set -u
source_dir=$1 version=$2
here=$(dirname "$0")
. "$here/common.sh"
need x86_64-w64-mingw32-g++ x86_64-w64-mingw32-windres

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

if output=$(x86_64-w64-mingw32-g++ -std=c++20 -Wall -Wextra -Wpedantic -Werror -fsyntax-only \
        -I"$source_dir" "$source_dir/ui/main/win32_caption_drag.cpp" 2>&1); then
    ok "ui/main/win32_caption_drag.cpp compiles for Windows without warnings"
else
    fail "ui/main/win32_caption_drag.cpp: $output"
fi

# The project root is on the include path, as it is in the CMake build, so
# that the icon's path in the script resolves.
rc="$source_dir/app/quorvane.rc"
if output=$(x86_64-w64-mingw32-windres -I"$source_dir" -i "$rc" -o "$work/quorvane.res" -O res 2>&1); then
    ok "app/quorvane.rc compiles"
else
    fail "app/quorvane.rc: $output"
    finish
fi
# Read the compiled resources back: the icon group IDI_ICON1 with every image
# of the .ico file, and version information naming this version.
decompiled=$(x86_64-w64-mingw32-windres -J res -i "$work/quorvane.res" -O rc 2>&1)
images=$(od -An -tu2 -j4 -N2 "$source_dir/ui/icons/quorvane.ico" | tr -d ' ')
if grep -q 'Name: "IDI_ICON1"' <<<"$decompiled" && grep -q "Has $images elements\." <<<"$decompiled"; then
    ok "icon IDI_ICON1 with the $images images of ui/icons/quorvane.ico"
else
    fail "no icon IDI_ICON1 with $images images in the compiled resources"
fi
dotted="$version.0"
commas=${dotted//./, }
for line in "FILEVERSION $commas" "PRODUCTVERSION $commas" \
            "VALUE \"FileVersion\", \"$dotted\"" "VALUE \"ProductVersion\", \"$dotted\"" \
            'VALUE "ProductName", "Quorvane"' 'VALUE "CompanyName", "Quorvane developers"' \
            'VALUE "FileDescription", "' 'VALUE "LegalCopyright", "Copyright'; do
    grep -qF -- "$line" <<<"$decompiled" && ok "version information: $line" \
        || fail "version information lacks: $line"
done

finish
