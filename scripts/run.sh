#!/usr/bin/env bash
# Sets up, builds and starts Quorvane.
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/setup.sh
cmake --preset default >/dev/null
cmake --build --preset default --target quorvane
exec build/default/app/quorvane "$@"
