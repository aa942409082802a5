#!/usr/bin/env bash
# `cmake --install` into a private prefix puts exactly the expected files in
# their places, and the desktop entry and AppStream metainfo it installs pass
# the freedesktop validators.
# Usage: installed_tree.sh CMAKE BUILD_DIR VERSION
set -u
cmake=$1 build_dir=$2 version=$3
here=$(dirname "$0")
. "$here/common.sh"
need desktop-file-validate appstreamcli file

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
prefix=$work/prefix

if ! "$cmake" --install "$build_dir" --prefix "$prefix" >"$work/install.log" 2>&1; then
    cat "$work/install.log"
    fail "cmake --install $build_dir --prefix $prefix"
    finish
fi

check_tree "installed tree" "$(cd "$prefix" && find . -type f -o -type l | sed 's|^\./||')"
check_desktop_integration "$prefix" "$version"

if [ -x "$prefix/bin/quorvane" ] && file -b "$prefix/bin/quorvane" | grep -q '^ELF'; then
    ok "bin/quorvane is an executable ELF file"
else
    fail "bin/quorvane is not an executable ELF file"
fi

finish
