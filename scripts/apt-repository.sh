#!/usr/bin/env bash
# Usage: apt-repository.sh DEB OUT [PUBLISHED]
# Makes in OUT the APT repository that holds the Debian package DEB, and what a user adds it with:
#   apt/dists/stable/Release             the index's hashes, dated SOURCE_DATE_EPOCH
#   apt/dists/stable/InRelease           Release signed inline, and Release.gpg, its detached signature
#   apt/dists/stable/main/binary-amd64/Packages, Packages.gz
#   apt/pool/main/q/quorvane/DEB
#   quorvane-archive-keyring.gpg         the public key that signs it, for Signed-By
#   quorvane.sources                     the entry for /etc/apt/sources.list.d/, naming QUORVANE_APT_URL, where
#                                        apt/ is published (the same address gives the same bytes)
# Signed with QUORVANE_GPG_KEY. Without it, the key and signatures of the release PUBLISHED are taken if they
# verify over this Release, as anyone rebuilds a signed release; otherwise the repository is left unsigned.
set -euo pipefail
deb=$1 out=$2 published=${3:-}
dists=$out/apt/dists/stable
mkdir -p "$out/apt/pool/main/q/quorvane" "$dists/main/binary-amd64"
cp "$deb" "$out/apt/pool/main/q/quorvane/"
(cd "$out/apt" && dpkg-scanpackages pool) >"$dists/main/binary-amd64/Packages"
gzip -9nc "$dists/main/binary-amd64/Packages" >"$dists/main/binary-amd64/Packages.gz"
{
    printf '%s\n' "Origin: Quorvane" "Label: Quorvane" "Suite: stable" "Codename: stable" \
        "Date: $(LC_ALL=C date -ud "@$SOURCE_DATE_EPOCH" '+%a, %d %b %Y %H:%M:%S UTC')" \
        "Architectures: amd64" "Components: main" "Description: Quorvane, prayer times panel for Sri Lanka" "SHA256:"
    for index in main/binary-amd64/Packages main/binary-amd64/Packages.gz; do
        echo " $(sha256sum <"$dists/$index" | cut -c1-64) $(stat -c %s "$dists/$index") $index"
    done
} >"$dists/Release"
printf '%s\n' "Types: deb" "URIs: ${QUORVANE_APT_URL:-https://quorvane.example.org/apt}" "Suites: stable" \
    "Components: main" "Architectures: amd64" "Signed-By: /usr/share/keyrings/quorvane-archive-keyring.gpg" \
    >"$out/quorvane.sources"

keyring=$out/quorvane-archive-keyring.gpg
if [ -n "${QUORVANE_GPG_KEY:-}" ]; then
    gpg --batch --export --export-options export-minimal "$QUORVANE_GPG_KEY" >"$keyring"
    gpg --batch --yes -u "$QUORVANE_GPG_KEY" --clearsign -o "$dists/InRelease" "$dists/Release"
    gpg --batch --yes -u "$QUORVANE_GPG_KEY" --armor --detach-sign -o "$dists/Release.gpg" "$dists/Release"
elif [ -f "$published/quorvane-archive-keyring.gpg" ]; then
    signed=$published/apt/dists/stable
    if gpgv --keyring "$published/quorvane-archive-keyring.gpg" "$signed/Release.gpg" "$dists/Release" &&
        gpgv --keyring "$published/quorvane-archive-keyring.gpg" -o - "$signed/InRelease" | cmp - "$dists/Release"; then
        cp "$published/quorvane-archive-keyring.gpg" "$keyring"
        cp "$signed/InRelease" "$signed/Release.gpg" "$dists/"
    else
        echo "apt-repository: the published signatures are not over this Release; it is left unsigned" >&2
    fi
fi
