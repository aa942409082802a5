#!/usr/bin/env bash
# Sets up, builds and runs every test three times: the normal build, the
# AddressSanitizer + UndefinedBehaviorSanitizer build, and the Windows build
# (cross-built, its tests and the installed release run under Wine).
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/setup.sh
for preset in default asan; do
    echo "=== $preset build ==="
    cmake --preset "$preset" >/dev/null
    cmake --build --preset "$preset"
    ctest --preset "$preset"
done

echo "=== windows build ==="
scripts/build-windows.sh
QUORVANE_WINDOWS_QT=$(scripts/windows-qt.sh) ctest --preset windows
