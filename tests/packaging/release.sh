#!/usr/bin/env bash
# The release (scripts/release.sh). Usage: release.sh keys DIR (throwaway signing keys in DIR; prints the variables
# that sign with them) | check DIR (the release built twice and compared, the first signed with DIR's keys, then its
# signatures and its APT repository checked) | apt RELEASE (the APT repository in the folder RELEASE, through apt).
set -euo pipefail
case $1 in
keys)
    openssl req -x509 -newkey rsa:3072 -nodes -subj "/CN=Quorvane test" -days 2 -keyout "$2/key.pem" \
        -out "$2/cert.pem" 2>/dev/null
    echo throwaway >"$2/password"
    openssl pkcs12 -export -inkey "$2/key.pem" -in "$2/cert.pem" -passout "file:$2/password" -out "$2/cert.p12"
    mkdir -m 700 "$2/gnupg"
    GNUPGHOME=$2/gnupg gpg --batch --passphrase '' --quick-gen-key test@quorvane.example.org 2>/dev/null
    printf 'export %s\n' QUORVANE_SIGN_PKCS12="$2/cert.p12" QUORVANE_SIGN_PASSWORD_FILE="$2/password" \
        GNUPGHOME="$2/gnupg" QUORVANE_GPG_KEY=test@quorvane.example.org
    ;;
check)
    work=$(mktemp -d)
    trap 'rm -rf "$work"' EXIT
    export XDG_CACHE_HOME=${XDG_CACHE_HOME:-$HOME/.cache} # the one Windows Qt, whatever HOME is
    git clone -q . "$work/one"
    git clone -q . "$work/2/two"
    mkdir "$work/home1" "$work/home2"
    # Two clones of HEAD at different paths and times, with different umasks, locales, time zones and users;
    # the second without the keys, as anyone rebuilds a signed release, must give the same bytes.
    (umask 022 && HOME=$work/home1 USER=one LC_ALL=C.UTF-8 TZ=UTC "$work/one/scripts/release.sh")
    (umask 002 && unset QUORVANE_SIGN_PKCS12 QUORVANE_GPG_KEY && HOME=$work/home2 USER=two LC_ALL=C \
        TZ='<+0530>-5:30' "$work/2/two/scripts/release.sh" --compare "$work/one/build/release")

    release=$work/one/build/release
    (cd "$release" && sha256sum --quiet -c SHA256SUMS && gpg --verify SHA256SUMS.asc SHA256SUMS)
    7z e -o"$work" "$release"/*-win64.zip quorvane.exe >/dev/null
    7z e -o"$work" "$release"/*-setup.exe uninstall.exe >/dev/null
    for program in "$work/quorvane.exe" "$work/uninstall.exe" "$release"/*-setup.exe; do
        osslsigncode verify -CAfile "$2/cert.pem" -in "$program" >/dev/null || (echo "FAIL: $program" && exit 1)
    done
    # The program without its signature is the rebuild's unsigned program, and signing it again gives it back.
    osslsigncode remove-signature -in "$work/quorvane.exe" -out "$work/unsigned.exe" >/dev/null
    cmp "$work/unsigned.exe" "$work/2/two/build/windows/unsigned/quorvane.exe"
    SOURCE_DATE_EPOCH=$(git log -1 --format=%ct) scripts/sign-windows.sh "$work" quorvane.exe "$work/unsigned.exe"
    cmp "$work/unsigned.exe" "$work/quorvane.exe"
    "$0" apt "$release"
    echo "ok: the release, built twice, is the same and signed"
    ;;
apt)
    work=$(mktemp -d)
    trap 'GNUPGHOME=$work/gnupg gpgconf --kill gpg-agent; rm -rf "$work"' EXIT
    release=$(cd "$2" && pwd)
    deb=$(echo "$release"/quorvane_*.deb)
    version=$(dpkg-deb -f "$deb" Version)
    # apt with its own state, cache and sources; installed, the machine's packages (its Qt) without Quorvane.
    awk -v RS= -v ORS='\n\n' '!/^Package: quorvane\n/' /var/lib/dpkg/status >"$work/status"
    apt_get() {
        apt-get -q -o Dir::State="$work/state" -o Dir::Cache="$work/cache" -o Dir::State::status="$work/status" \
            -o Dir::Etc::SourceList=/dev/null -o Dir::Etc::SourceParts="$work/sources" -o Debug::NoLocking=1 \
            -o APT::Sandbox::User="$(id -un)" "$@"
    }
    update() { # REPOSITORY [KEYRING]: added as a user adds it, with the made entry and keyring (or KEYRING)
        rm -rf "$work/state" "$work/sources"
        mkdir -p "$work/state/lists/partial" "$work/cache/archives/partial" "$work/sources"
        { sed "s|^URIs: .*|URIs: file:$1|; s|^Signed-By: .*|Signed-By: ${2:-$release/quorvane-archive-keyring.gpg}|" \
            "$release/quorvane.sources" >"$work/sources/quorvane.sources" && apt_get update; } >"$work/log" 2>&1
    }
    if ! update "$release/apt" || grep '^[WE]:' "$work/log"; then
        cat "$work/log"
        echo "FAIL: apt-get update did not take the repository" && exit 1
    fi
    # apt holds the files to each other: Packages to the signed Release, the pool's package to Packages.
    apt_get -s install quorvane | grep -F "Inst quorvane ($version Quorvane:stable [amd64])"
    (cd "$work" && apt_get download quorvane >/dev/null)
    cmp "$deb" "$work/quorvane_${version}_amd64.deb"
    printf '%s\n' "Package: quorvane" "Status: install ok installed" "Version: 0.1-1" "Architecture: amd64" \
        "Maintainer: x" "Description: x" >>"$work/status"
    apt_get -s upgrade | grep -F "Inst quorvane [0.1-1] ($version Quorvane:stable [amd64])"

    # Refused: its Packages changed after signing (the package's hash replaced), and signed by another key.
    refused() { # REPOSITORY ERROR [KEYRING]
        if update "$1" "${3:-}" || ! grep -E "$2" "$work/log"; then
            cat "$work/log"
            echo "FAIL: apt-get update took $1" && exit 1
        fi
    }
    cp -r "$release/apt" "$work/changed"
    packages=$work/changed/dists/stable/main/binary-amd64/Packages
    sed -i "s/^SHA256: .*/SHA256: $(sha256sum <"$release/quorvane.sources" | cut -c1-64)/" "$packages"
    gzip -9nc "$packages" >"$packages.gz"
    refused "$work/changed" "Hash Sum mismatch|unexpected size"
    mkdir -m 700 "$work/gnupg"
    export GNUPGHOME=$work/gnupg
    gpg -q --batch --passphrase '' --quick-gen-key other@quorvane.example.org ed25519 sign never 2>/dev/null
    gpg --export other@quorvane.example.org >"$work/other.gpg"
    refused "$release/apt" "NO_PUBKEY" "$work/other.gpg"
    echo "ok: apt takes the repository, installs and upgrades from it, and refuses it changed or signed by another"
    ;;
esac
