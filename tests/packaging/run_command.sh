#!/usr/bin/env bash
# What ./scripts/run.sh installs on a fresh Debian or Ubuntu: the packages it asks apt-get for, on a machine
# where dpkg knows none, and apt's simulation of installing them over a minimal system (the packages of
# priority required and their dependencies). None may be one that only the tests need. Prints the count and
# the megabytes.
set -euo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# dpkg knows nothing, sudo runs its command, apt-get writes down what it is asked and fails, which ends run.sh.
mkdir "$work/bin"
printf '#!/bin/sh\nexit 1\n' >"$work/bin/dpkg-query"
cat >"$work/bin/sudo" <<'EOF'
#!/bin/sh
exec "$@"
EOF
cat >"$work/bin/apt-get" <<EOF
#!/bin/sh
echo "\$@" >>"$work/asked"
[ "\$1" != install ]
EOF
chmod +x "$work"/bin/*
if PATH=$work/bin:$PATH "$root/scripts/run.sh" >/dev/null 2>&1; then
    echo "FAIL: run.sh went on without the packages it asked for" && exit 1
fi
read -ra asked < <(sed -n 's/^install -y -q --no-install-recommends //p' "$work/asked")
[ ${#asked[@]} -gt 0 ] || (echo "FAIL: run.sh asked apt-get for nothing" && exit 1)

# Each apt-get line: what installing PACKAGES over nothing would unpack.
simulate() {
    : >"$work/status"
    apt-get -s -o Dir::State::status="$work/status" -o Debug::NoLocking=1 -o Dir::Cache="$work/cache" \
        install --no-install-recommends "$@" | sed -n 's/^Inst \([^ ]*\) .*/\1/p' | sort
}
mkdir -p "$work/cache/archives/partial"
mapfile -t required < <(apt-cache dumpavail | awk -v RS= '/\nPriority: required/ {print $2}' | sort -u)
comm -13 <(simulate "${required[@]}") <(simulate "${required[@]}" "${asked[@]}") >"$work/installed"

only_tests='^(wine|nsis|xvfb|openbox|weston|xdotool|imagemagick|diffoscope|osslsigncode|googletest|libgtest|'
only_tests+='g\+\+-mingw|binutils-mingw|appstream|clang-format|shellcheck|p7zip)'
if grep -E "$only_tests" "$work/installed"; then
    echo "FAIL: run.sh installs the packages above, which only the tests need" && exit 1
fi
mapfile -t installed <"$work/installed"
apt-cache show --no-all-versions "${installed[@]}" | awk -v n=${#installed[@]} '
    /^Size:/ {download += $2} /^Installed-Size:/ {unpacked += $2}
    END {printf "ok: run.sh installs %d packages: %.0f MB to download, %.0f MB installed\n", n, download / 1e6,
         unpacked * 1024 / 1e6}'
