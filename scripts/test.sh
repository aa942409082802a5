#!/usr/bin/env bash
# Sets up, builds and runs every test three times: the normal build, the
# AddressSanitizer + UndefinedBehaviorSanitizer build, and the Windows build
# (cross-built, its tests and the installed release run under Wine, signed with
# a throwaway certificate); then makes the release twice, from two clones of
# HEAD, and compares them byte by byte.
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/setup.sh
for preset in default asan; do
    echo "=== $preset build ==="
    cmake --preset "$preset" >/dev/null
    cmake --build --preset "$preset"
    ctest --preset "$preset"
done

keys=$(mktemp -d)
trap 'gpgconf --kill gpg-agent; rm -rf "$keys"' EXIT
signing=$(tests/packaging/release.sh keys "$keys")
eval "$signing"

echo "=== windows build ==="
scripts/build-windows.sh
QUORVANE_WINDOWS_QT=$(scripts/windows-qt.sh) ctest --preset windows

echo "=== release, built twice and compared ==="
tests/packaging/release.sh check "$keys"
