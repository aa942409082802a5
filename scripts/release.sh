#!/usr/bin/env bash
# Usage: release.sh [--compare DIR]
# Makes the release of the checked-out commit into build/release/:
#   quorvane_<version>-1_amd64.deb   the Debian package
#   apt/, quorvane.sources, quorvane-archive-keyring.gpg   its APT repository, to publish at QUORVANE_APT_URL
#   quorvane-<version>-setup.exe     the Windows installer
#   quorvane-<version>-win64.zip     the portable Windows program
#   winget/                          its winget manifests, for the installer at QUORVANE_DOWNLOAD_URL
#   quorvane-<version>.tar.gz        the source (git archive)
#   authenticode/*.p7s               when signed: the Windows signatures, detached
#   SHA256SUMS, SHA256SUMS.asc       the checksums, and their GnuPG signature when signed
# The same commit gives the same bytes wherever and whenever it is built: every
# time in them is the commit's. A tree with uncommitted changes is refused.
#
# Signing, when keys are given:
#   QUORVANE_SIGN_PKCS12            code-signing certificate and key (PKCS#12) for the
#   QUORVANE_SIGN_PASSWORD_FILE     Windows programs, and a file holding its password
#   QUORVANE_SIGN_TIMESTAMP_URL     optional: a time-stamp server (the bytes then vary)
#   QUORVANE_GPG_KEY                GnuPG key that signs SHA256SUMS and the APT repository
#
# --compare DIR rebuilds the published release in DIR, with its Windows and APT
# signatures attached, and compares the two byte by byte (compare-release.sh).
set -euo pipefail
cd "$(dirname "$0")/.."
published=
if [ "${1:-}" = --compare ]; then
    published=$(cd "$2" && pwd)
    export QUORVANE_SIGNATURES=$published/authenticode
fi
if [ -n "$(git status --porcelain)" ]; then
    echo "release: the tree has uncommitted changes; commit or stash them first" >&2
    exit 1
fi
# A version ships with its AppStream <release> entry, the newest, which software centres show.
version=$(sed -n 's/^project(Quorvane VERSION \([0-9.]*\) .*/\1/p' CMakeLists.txt)
if ! grep -m1 -o '<release version="[^"]*"' packaging/*.metainfo.xml | grep -qx "<release version=\"$version\""; then
    echo "release: the newest <release> in packaging/*.metainfo.xml is not $version" >&2
    exit 1
fi
SOURCE_DATE_EPOCH=$(git log -1 --format=%ct)
export SOURCE_DATE_EPOCH
umask 022

scripts/setup.sh
# Built afresh: what a build stores of SOURCE_DATE_EPOCH must be this commit's.
rm -rf build/package build/win64-release
cmake --workflow --preset package
scripts/build-windows.sh windows-release

out=build/release
rm -rf "$out"
mkdir -p "$out"
cp "build/package/quorvane_$version-1_amd64.deb" build/windows/quorvane-"$version"-{setup.exe,win64.zip} "$out"/
scripts/apt-repository.sh "$out/quorvane_$version-1_amd64.deb" "$out" "$published"
[ ! -d build/windows/authenticode ] || cp -r build/windows/authenticode "$out"/
scripts/winget-manifests.sh "$out/quorvane-$version-setup.exe" "$version" "$out/winget"
git archive --prefix="quorvane-$version/" -o "$out/quorvane-$version.tar.gz" HEAD
(cd "$out" && find . -type f ! -name 'SHA256SUMS*' -printf '%P\n' | LC_ALL=C sort | xargs sha256sum >SHA256SUMS)
[ -z "${QUORVANE_GPG_KEY:-}" ] || gpg --batch --yes -u "$QUORVANE_GPG_KEY" --armor --detach-sign "$out/SHA256SUMS"

echo "=== release $version in $out ==="
cat "$out/SHA256SUMS"
[ -f "$out/authenticode/quorvane.exe.p7s" ] ||
    echo "NOTE: the Windows programs are not signed (no QUORVANE_SIGN_PKCS12)"
[ -f "$out/SHA256SUMS.asc" ] || echo "NOTE: SHA256SUMS is not signed (no QUORVANE_GPG_KEY)"
[ -n "${QUORVANE_APT_URL:-}" ] && [ -n "${QUORVANE_DOWNLOAD_URL:-}" ] ||
    echo "NOTE: quorvane.sources and the winget manifests name placeholder addresses (no QUORVANE_APT_URL or" \
        "QUORVANE_DOWNLOAD_URL)"
[ -z "$published" ] || exec scripts/compare-release.sh "$published" "$out"
