#!/usr/bin/env bash
# Installs what building, running and testing Quorvane needs on Debian or
# Ubuntu, but only what is missing, so a second call costs nothing.
set -euo pipefail

packages=(
    build-essential cmake ninja-build pkg-config
    qt6-base-dev qt6-base-dev-tools libgl-dev libxcb1-dev
    googletest libgtest-dev libgmock-dev libbenchmark-dev
    fonts-liberation fonts-lklug-sinhala fonts-lohit-taml
    xvfb xauth x11-utils xdotool imagemagick
    openbox faketime dbus at-spi2-core python3-pyatspi gir1.2-atspi-2.0
    desktop-file-utils appstream file dpkg-dev devscripts
    g++-mingw-w64-x86-64-posix binutils-mingw-w64-x86-64
)

missing=()
for package in "${packages[@]}"; do
    status=$(dpkg-query -W -f='${db:Status-Status}' "$package" 2>/dev/null || true)
    [ "$status" = installed ] || missing+=("$package")
done
[ ${#missing[@]} -eq 0 ] && exit 0

echo "Installing: ${missing[*]}"
if [ "$(id -u)" -eq 0 ]; then
    as_root=()
elif command -v sudo >/dev/null 2>&1; then
    as_root=(sudo)
else
    echo "setup: need root or sudo to install: ${missing[*]}" >&2
    exit 1
fi
export DEBIAN_FRONTEND=noninteractive
"${as_root[@]}" apt-get update -q
"${as_root[@]}" env DEBIAN_FRONTEND=noninteractive apt-get install -y -q --no-install-recommends "${missing[@]}" </dev/null
