#!/usr/bin/env bash
# The release (scripts/release.sh). Usage: release.sh keys DIR (makes a throwaway code-signing certificate and
# GnuPG key in DIR and prints the variables that sign with them) | check DIR (the release built twice and
# compared, the first signed with DIR's keys, then its signatures checked).
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
    echo "ok: the release, built twice, is the same and signed"
    ;;
esac
