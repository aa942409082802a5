#!/usr/bin/env bash
# Quorvane as installed and packaged, up to the first failure. Usage: packaging.sh installed CMAKE BUILD_DIR
# VERSION (the newest AppStream release is VERSION) | deb CPACK BUILD_DIR (the same files, and the run-time
# dependencies) | hardening BINARY (Debian's usual hardening; for a Windows program ASLR and DEP).
set -euo pipefail
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# PREFIX: exactly the expected files, and a valid desktop entry and metainfo.
check_tree() {
    local icons=share/icons/hicolor id=org.example.quorvane.Quorvane
    diff <(cd "$1" && find . -type f | sort) <(printf './%s\n' bin/quorvane share/doc/quorvane/copyright \
        "share/applications/$id.desktop" "share/metainfo/$id.metainfo.xml" $icons/scalable/apps/quorvane.svg \
        $icons/{16x16,22x22,24x24,32x32,48x48,64x64,128x128,256x256}/apps/quorvane.png | sort)
    desktop-file-validate "$1/share/applications/$id.desktop"
    appstreamcli validate-tree --no-net "$1"
}

case $1 in
installed)
    "$2" --install "$3" --prefix "$work/prefix" >/dev/null
    check_tree "$work/prefix"
    newest=$(grep -m1 -o '<release version="[^"]*"' "$work"/prefix/share/metainfo/*.xml)
    [ "$newest" = "<release version=\"$4\"" ] || (echo "FAIL: the newest AppStream release is not $4" && exit 1)
    ;;
deb)
    "$2" -G DEB --config "$3/CPackConfig.cmake" -B "$work/out" >/dev/null
    deb=$(echo "$work"/out/*.deb)
    dpkg-deb -x "$deb" "$work/root"
    check_tree "$work/root/usr"
    depends=$(dpkg-deb -f "$deb" Depends)
    for package in libqt6widgets6 qt6-qpa-plugins fonts-liberation fonts-noto-core; do
        grep -q "\b$package\b" <<<"$depends" || (echo "FAIL: no dependency on $package" && exit 1)
    done
    ;;
hardening)
    if [[ $2 == *.exe ]]; then
        flags=$(x86_64-w64-mingw32-objdump -p "$2" | sed -n '/^DllCharacteristics/,/^[A-Z]/p')
        for flag in HIGH_ENTROPY_VA DYNAMIC_BASE NX_COMPAT; do
            grep -qw $flag <<<"$flags" || (echo "FAIL: no $flag in $flags" && exit 1)
        done
    else
        hardening-check --nocfprotection "$2"
    fi
    ;;
esac
echo "ok: $1"
