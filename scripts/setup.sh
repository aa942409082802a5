#!/usr/bin/env bash
# Usage: setup.sh [run]
# Installs what building and running Quorvane needs on Debian 12 or Ubuntu 24.04
# (with "run", only that), else also what its tests, the Windows build and the
# release need; only what is missing, so a second call costs nothing.
set -euo pipefail

run=(
    build-essential cmake ninja-build pkg-config
    qt6-base-dev qt6-qpa-plugins libxcb1-dev
    # The panel's faces: Liberation for its classic Windows ones, Noto's for
    # the date in Sinhala and Tamil.
    fonts-liberation fonts-noto-core
)
if [ "${1:-}" = run ]; then
    exec "$(dirname "$0")/install-packages.sh" "${run[@]}"
fi

tests=(
    googletest libgtest-dev libgmock-dev libbenchmark-dev
    xvfb xauth x11-utils xdotool imagemagick
    openbox dbus at-spi2-core python3-pyatspi libfaketime xsettingsd
    weston qt6-wayland x11-xserver-utils patchelf
    desktop-file-utils appstream file dpkg-dev devscripts
    g++-mingw-w64-x86-64-posix binutils-mingw-w64-x86-64
    clang-format black shellcheck shfmt
    wine wine64 fonts-wine nsis zip
    osslsigncode gnupg openssl p7zip-full diffoscope-minimal
    # Tamil under Wine: Qt's Windows font database takes Lohit Tamil, whose code
    # pages name the symbol set, for a symbol font; its classical cut is not one.
    fonts-lohit-taml-classical
    # The date line is tried with each Tamil and Sinhala face a user may have.
    fonts-lklug-sinhala fonts-lohit-taml fonts-noto-ui-core
)
exec "$(dirname "$0")/install-packages.sh" "${run[@]}" "${tests[@]}"
