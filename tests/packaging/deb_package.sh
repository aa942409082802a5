#!/usr/bin/env bash
# `cpack -G DEB` makes one quorvane .deb whose control data (name, version,
# section, maintainer, dependencies) and contents are right, and whose desktop
# entry and metainfo pass the validators. Nothing is installed system-wide.
# Usage: deb_package.sh CPACK BUILD_DIR VERSION SANITIZED
set -u
cpack=$1 build_dir=$2 version=$3 sanitized=$4
here=$(dirname "$0")
. "$here/common.sh"

# A sanitizer build is not something to ship: its package would depend on
# the sanitizer runtimes, and checking it would say nothing about the real one.
[ "$sanitized" = 1 ] && skip "sanitizer build; the package is checked in the normal build"
need dpkg-deb dpkg-shlibdeps desktop-file-validate appstreamcli file

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

if ! "$cpack" -G DEB --config "$build_dir/CPackConfig.cmake" -B "$work/out" >"$work/cpack.log" 2>&1; then
    cat "$work/cpack.log"
    fail "cpack -G DEB"
    finish
fi
debs=("$work"/out/*.deb)
if [ ${#debs[@]} -ne 1 ] || [ ! -f "${debs[0]}" ]; then
    fail "expected one .deb, got: ${debs[*]}"
    finish
fi
deb=${debs[0]}
arch=$(dpkg --print-architecture)
if [ "$(basename "$deb")" = "quorvane_${version}-1_${arch}.deb" ]; then
    ok "file name $(basename "$deb")"
else
    fail "file name $(basename "$deb"), expected quorvane_${version}-1_${arch}.deb"
fi

field() { dpkg-deb -f "$deb" "$1"; }
expect_field() {
    local name=$1 expected=$2 actual
    actual=$(field "$name")
    [ "$actual" = "$expected" ] && ok "$name: $actual" || fail "$name: '$actual', expected '$expected'"
}
expect_field Package quorvane
expect_field Version "${version}-1"
expect_field Architecture "$arch"
expect_field Section utils
expect_field Maintainer "Quorvane developers <maintainers@quorvane.example.org>"
expect_field Homepage "https://quorvane.example.org/"
description=$(field Description)
if [ "$(printf '%s\n' "$description" | wc -l)" -ge 2 ] && [[ "$description" == *"prayer times"* ]]; then
    ok "Description has a synopsis and a long description"
else
    fail "Description: $description"
fi

depends=$(field Depends)
echo "Depends: $depends"
has_dependency() { printf '%s\n' "$depends" | tr ',' '\n' | sed 's/^ *//' | grep -q "^$1\( \|$\)"; }
for package in fonts-liberation fonts-lklug-sinhala fonts-lohit-taml qt6-qpa-plugins libqt6widgets6 libqt6gui6 libqt6core6 libc6 libstdc++6; do
    has_dependency "$package" && ok "depends on $package" || fail "does not depend on $package"
done
if printf '%s\n' "$depends" | grep -Eq 'libasan|libubsan|libgtest'; then
    fail "depends on a sanitizer or test library"
fi

# Paths: only regular files are compared; directories are implied by them.
listing=$(dpkg-deb -c "$deb")
files=$(printf '%s\n' "$listing" | awk '$1 !~ /^d/ {print $6}' | sed -n 's|^\./usr/||p')
check_tree "package contents under /usr" "$files"
if printf '%s\n' "$listing" | awk '$1 !~ /^d/ {print $6}' | grep -v '^\./usr/' | grep -q .; then
    fail "files outside /usr"
fi
if printf '%s\n' "$listing" | awk '{print $2}' | grep -qv '^root/root$'; then
    fail "files not owned by root"
else
    ok "every entry owned by root/root"
fi
mode=$(printf '%s\n' "$listing" | awk '$6 == "./usr/bin/quorvane" {print $1}')
[ "$mode" = "-rwxr-xr-x" ] && ok "usr/bin/quorvane mode $mode" || fail "usr/bin/quorvane mode '$mode'"

dpkg-deb -x "$deb" "$work/root"
check_desktop_integration "$work/root/usr" "$version"
file -b "$work/root/usr/bin/quorvane" | grep -q 'stripped' \
    && ! file -b "$work/root/usr/bin/quorvane" | grep -q 'not stripped' \
    && ok "packaged binary is stripped" || fail "packaged binary is not stripped"

finish
