#!/usr/bin/env bash
# Usage: windows-qt.sh
# Builds a static Qt for 64-bit Windows (MinGW-w64) from Debian's own qt6-base
# source, the same version as this machine's host tools, once, into
# ${XDG_CACHE_HOME:-$HOME/.cache}/quorvane/, and prints its prefix. A later
# call finds the finished build and returns at once; a partial or broken one
# is built again.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)

version=$(dpkg-query -W -f='${Version}' qt6-base-dev-tools)
options=(
    -DBUILD_SHARED_LIBS=OFF -DCMAKE_BUILD_TYPE=Release
    -DQT_BUILD_EXAMPLES=OFF -DQT_BUILD_TESTS=OFF -DFEATURE_static_runtime=ON
    -DFEATURE_sql=OFF -DFEATURE_network=OFF -DFEATURE_dbus=OFF -DFEATURE_opengl=OFF
    -DFEATURE_printsupport=OFF -DFEATURE_concurrent=OFF -DFEATURE_xml=OFF
    -DFEATURE_vulkan=OFF -DFEATURE_tabletevent=OFF -DFEATURE_jpeg=OFF -DFEATURE_gif=OFF
    -DFEATURE_icu=OFF -DFEATURE_testlib=ON
    # No build path in the program: a relocatable Qt embeds no install prefix,
    # and the source folder is mapped away (below) from file names in the code.
    -DFEATURE_relocatable=ON
)
# Without OpenGL, 6.4's Windows plugin still names the dynamic-GL context in
# isSoftwareGl(); guard it as the rest of that file is guarded.
gl_guard='s/^#if QT_CONFIG(dynamicgl)$/#if QT_CONFIG(opengl) \&\& QT_CONFIG(dynamicgl)/'
# The key names everything that shapes the result: Qt's version, the options,
# the source change and the toolchain file.
key=$(printf '%s\n' "$version" "${options[@]}" "$gl_guard" -ffile-prefix-map |
    cat - "$root/cmake/mingw-w64-x86_64.cmake" | sha256sum | cut -c1-12)
cache=${XDG_CACHE_HOME:-$HOME/.cache}/quorvane
prefix=$cache/qt-${version%%+*}-mingw-$key
stamp=$prefix/quorvane-build-complete

complete() {
    [ -f "$stamp" ] && [ "$(cat "$stamp")" = "$key" ] &&
        [ -x "$prefix/bin/qt-cmake" ] && [ -f "$prefix/lib/libQt6Widgets.a" ] &&
        [ -f "$prefix/lib/libQt6Test.a" ] && [ -f "$prefix/plugins/platforms/libqwindows.a" ]
}
if complete; then
    echo "$prefix"
    exit 0
fi

echo "Building Qt $version for Windows into $prefix (once; about 15 minutes on 2 cores)" >&2
rm -rf "$prefix" "$prefix.work"
work=$prefix.work
mkdir -p "$work/lists/partial"

# Debian's source package, fetched and checked against the archive's signed
# index with a private source list, so the system's apt set-up is untouched.
mirror=$(apt-cache policy qt6-base-dev-tools | awk -v v="$version" '
    $1 == "***" { mine = ($2 == v); next }
    NF == 2 && $1 != "***" { mine = ($1 == v); next }
    mine && $2 ~ /^https?:/ { split($3, s, "/"); print $2, s[1]; exit }')
# shellcheck source=/dev/null
[ -n "$mirror" ] || mirror="http://deb.debian.org/debian $(. /etc/os-release && echo "$VERSION_CODENAME")"
echo "deb-src [signed-by=/usr/share/keyrings/debian-archive-keyring.gpg] $mirror main" >"$work/sources.list"
[ -f /usr/share/keyrings/debian-archive-keyring.gpg ] || sed -i 's/\[[^]]*\] //' "$work/sources.list"
apt_private=(-o Dir::Etc::sourcelist="$work/sources.list" -o Dir::Etc::sourceparts=/dev/null
    -o Dir::State::Lists="$work/lists")
apt-get "${apt_private[@]}" update -q >&2
(cd "$work" && apt-get "${apt_private[@]}" source --download-only "qt6-base=$version" >&2)
tar -C "$work" -xf "$work"/qt6-base_*.orig.tar.xz
src=$(echo "$work"/qtbase-everywhere-src-*)

sed -i "$gl_guard" "$src/src/plugins/platforms/windows/qwindowswindow.cpp"

cmake -S "$src" -B "$work/build" -G Ninja \
    -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-w64-x86_64.cmake" \
    -DQT_HOST_PATH=/usr -DQT_HOST_PATH_CMAKE_DIR=/usr/lib/x86_64-linux-gnu/cmake \
    -DCMAKE_INSTALL_PREFIX="$prefix" "${options[@]}" \
    -DCMAKE_C_FLAGS="-ffile-prefix-map=$work/=" -DCMAKE_CXX_FLAGS="-ffile-prefix-map=$work/=" >&2
cmake --build "$work/build" >&2
cmake --install "$work/build" >&2
echo "$key" >"$stamp"
rm -rf "$work"
complete || {
    echo "windows-qt: the Qt build in $prefix is incomplete" >&2
    exit 1
}
echo "$prefix"
