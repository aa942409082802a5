#!/usr/bin/env bash
# Quorvane as it is installed and packaged. Usage: packaging.sh CASE ARGS...: installed CMAKE BUILD_DIR,
# deb CPACK BUILD_DIR (the same files, and the run-time dependencies), hardening BINARY (Debian's usual
# hardening), windows SOURCE_DIR RC (the Windows-only code and resources compile with MinGW-w64).
set -u
failures=0
check() { # WHAT COMMAND...: runs the command, shows its output only when it fails
    local output
    if output=$("${@:2}" 2>&1); then echo "ok: $1"; else
        printf 'FAIL: %s\n%s\n' "$1" "$output"
        failures=$((failures + 1))
    fi
}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# PREFIX: exactly the expected files, and a valid desktop entry and metainfo.
check_tree() {
    local icons=share/icons/hicolor id=org.example.quorvane.Quorvane
    check "exactly the expected files" diff <(cd "$1" && find . -type f | sort) <(printf './%s\n' bin/quorvane \
        share/doc/quorvane/copyright "share/applications/$id.desktop" "share/metainfo/$id.metainfo.xml" \
        $icons/scalable/apps/quorvane.svg $icons/{16x16,22x22,24x24,32x32,48x48,64x64,128x128,256x256}/apps/quorvane.png | sort)
    check "desktop-file-validate" desktop-file-validate "$1/share/applications/$id.desktop"
    check "appstreamcli validate-tree" appstreamcli validate-tree --no-net "$1"
}

case $1 in
installed)
    check "cmake --install" "$2" --install "$3" --prefix "$work/prefix"
    check_tree "$work/prefix"
    ;;
deb)
    check "cpack -G DEB" "$2" -G DEB --config "$3/CPackConfig.cmake" -B "$work/out"
    deb=$(echo "$work"/out/*.deb)
    dpkg-deb -x "$deb" "$work/root"
    check_tree "$work/root/usr"
    depends=$(dpkg-deb -f "$deb" Depends)
    for package in libqt6widgets6 qt6-qpa-plugins fonts-liberation fonts-lklug-sinhala fonts-lohit-taml; do
        check "depends on $package" grep -q "\b$package\b" <<<"$depends"
    done
    ;;
hardening)
    check "hardening-check" hardening-check --nocfprotection "$2"
    ;;
windows)
    check "the Windows drag compiles" x86_64-w64-mingw32-g++ -std=c++20 -Wall -Wextra -Wpedantic -Werror \
        -fsyntax-only -I"$2" "$2/ui/main/win32_caption_drag.cpp"
    check "the resources compile" x86_64-w64-mingw32-windres -I"$2" -i "$3" -o "$work/quorvane.res" -O res
    ;;
esac
exit $((failures > 0))
