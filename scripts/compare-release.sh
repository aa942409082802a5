#!/usr/bin/env bash
# Usage: compare-release.sh PUBLISHED REBUILT
# Compares two builds of a release (folders made by release.sh) byte by byte:
# SHA256SUMS and every file it lists. Each file that differs is named, with the
# head of diffoscope's report on what differs in it, and the status is 1.
set -euo pipefail
status=0
for file in SHA256SUMS $(cut -c67- "$1/SHA256SUMS"); do
    if ! cmp -s "$1/$file" "$2/$file"; then
        echo "DIFFERS: $file"
        diffoscope "$1/$file" "$2/$file" 2>&1 | head -n 60 || true
        status=1
    fi
done
[ $status -ne 0 ] || echo "ok: $2 is the same, byte for byte, as $1"
exit $status
