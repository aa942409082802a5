#!/usr/bin/env bash
# What ./scripts/run.sh installs on a fresh Debian or Ubuntu: what it asks apt-get for where dpkg knows no
# package, as apt's simulation installs it over a minimal system (the packages of priority required). None may
# be one that only the tests need. Prints the count and the megabytes.
set -euo pipefail
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir -p "$work/bin" "$work/cache/archives/partial"
# dpkg knows nothing, sudo runs its command, apt-get writes down what it is asked and fails, which ends run.sh.
printf '#!/bin/sh\nexit 1\n' >"$work/bin/dpkg-query"
printf '#!/bin/sh\nexec "$@"\n' >"$work/bin/sudo"
# shellcheck disable=SC2016 # the fake apt-get's own "$@" and $1
printf '#!/bin/sh\necho "$@" >>"%s"\n[ "$1" != install ]\n' "$work/asked" >"$work/bin/apt-get"
chmod +x "$work"/bin/*
PATH=$work/bin:$PATH "$(dirname "$0")/../../scripts/run.sh" >/dev/null 2>&1 || true
read -ra asked < <(sed -n 's/^install -y -q --no-install-recommends //p' "$work/asked")

: >"$work/status"
simulate() { # the packages that installing these over nothing unpacks
    apt-get -s -o Dir::State::status="$work/status" -o Debug::NoLocking=1 -o Dir::Cache="$work/cache" \
        install --no-install-recommends "$@" | sed -n 's/^Inst \([^ ]*\) .*/\1/p' | sort
}
mapfile -t required < <(apt-cache dumpavail | awk -v RS= '/\nPriority: required/ {print $2}' | sort -u)
mapfile -t installed < <(comm -13 <(simulate "${required[@]}") <(simulate "${required[@]}" "${asked[@]}"))
only_tests='^(wine|nsis|xvfb|openbox|weston|xdotool|imagemagick|diffoscope|osslsigncode|googletest|libgtest|'
only_tests+='g\+\+-mingw|binutils-mingw|appstream|clang-format|shellcheck|p7zip)'
if [ ${#installed[@]} -eq 0 ] || printf '%s\n' "${installed[@]}" | grep -E "$only_tests"; then
    echo "FAIL: run.sh installs nothing, or the packages above, which only the tests need" && exit 1
fi
apt-cache show --no-all-versions "${installed[@]}" | awk -v n=${#installed[@]} '
    /^Size:/ {download += $2} /^Installed-Size:/ {unpacked += $2}
    END {printf "ok: run.sh installs %d packages: %.0f MB to download, %.0f MB installed\n", n, download / 1e6,
         unpacked * 1024 / 1e6}'
