#!/usr/bin/env bash
# Usage: sign-windows.sh SIGNATURES NAME FILE
# Signs the Windows program FILE in place (Authenticode, SHA-256) and keeps its signature, detached, as
# SIGNATURES/NAME.p7s (PKCS#7, PEM). The certificate is the PKCS#12 file QUORVANE_SIGN_PKCS12, its password
# the first line of the file QUORVANE_SIGN_PASSWORD_FILE. The signing time is SOURCE_DATE_EPOCH, so the same
# key signs the same program to the same bytes; QUORVANE_SIGN_TIMESTAMP_URL adds a time stamp from that server
# instead (the bytes then differ from one signing to the next, but the signature outlives the certificate).
# Without a certificate, a signature already in SIGNATURES/NAME.p7s (one of a published release) is attached
# instead, which gives the published bytes when FILE is the same program; else FILE stays unsigned.
set -euo pipefail
signatures=$1 name=$2 file=$3
rm -f "$file.signed" # osslsigncode overwrites nothing

if [ -n "${QUORVANE_SIGN_PKCS12:-}" ]; then
    osslsigncode sign -pkcs12 "$QUORVANE_SIGN_PKCS12" -readpass "$QUORVANE_SIGN_PASSWORD_FILE" -h sha256 \
        -n Quorvane -i https://quorvane.example.org/ -time "${SOURCE_DATE_EPOCH:?}" \
        ${QUORVANE_SIGN_TIMESTAMP_URL:+-ts "$QUORVANE_SIGN_TIMESTAMP_URL"} \
        -in "$file" -out "$file.signed" >/dev/null
    rm -f "$signatures/$name.p7s"
    # PEM, which every osslsigncode reads back (the binary form differs between 2.5 and 2.9).
    osslsigncode extract-signature -pem -in "$file.signed" -out "$signatures/$name.p7s" >/dev/null
elif [ -f "$signatures/$name.p7s" ]; then
    # It fails when it cannot trust the certificate here (a private one, say), yet attaches the signature: the
    # comparison with the published file is what tells whether it fits.
    osslsigncode attach-signature -sigin "$signatures/$name.p7s" -in "$file" -out "$file.signed" >/dev/null 2>&1 ||
        [ -f "$file.signed" ]
else
    exit 0
fi
mv "$file.signed" "$file"
