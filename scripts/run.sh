#!/usr/bin/env bash
# Installs what building and running Quorvane needs, builds the program alone
# (no tests) and starts it.
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/setup.sh run
cmake --preset package >/dev/null
cmake --build --preset package --target quorvane
exec build/package/app/quorvane "$@"
