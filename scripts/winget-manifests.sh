#!/usr/bin/env bash
# Usage: winget-manifests.sh SETUP.EXE VERSION DIR
# Writes into DIR the winget manifests (version, installer and default locale)
# of that installer of that version, as winget-pkgs holds them. The names and
# the Apps & features entry are the installer's own (packaging/windows/quorvane.nsi);
# the download address is QUORVANE_DOWNLOAD_URL/<the installer's file name>.
set -euo pipefail
setup=$1 version=$2 dir=$3
url=${QUORVANE_DOWNLOAD_URL:-https://quorvane.example.org/download}/$(basename "$setup")
root=$(dirname "$0")/..
define() { sed -n "s/^!define $1 *\"\?\([^\"]*\)\"\?\$/\1/p" "$root/packaging/windows/quorvane.nsi"; }
name=$(define APP_NAME)
publisher=$(define APP_PUBLISHER)
key=$(define UNINST_KEY)
key=${key//"\${APP_NAME}"/$name}
product_code=${key##*\\} # winget finds the installed program by its Uninstall key's name
description=$(sed -n 's/^project(.* DESCRIPTION "\([^"]*\)".*/\1/p' "$root/CMakeLists.txt")
license=$(head -n 1 "$root/LICENSE")
id=$name.$name
schema=1.12.0
sha256=$(sha256sum "$setup" | cut -c1-64)

mkdir -p "$dir"
manifest() { # TYPE FILE, the fields on stdin
    {
        echo "# yaml-language-server: \$schema=https://aka.ms/winget-manifest.$1.$schema.schema.json"
        echo
        echo "PackageIdentifier: $id"
        echo "PackageVersion: $version"
        cat
        echo "ManifestType: $1"
        echo "ManifestVersion: $schema"
    } >"$dir/$2"
}
manifest version "$id.yaml" <<EOF
DefaultLocale: en-US
EOF
# NSIS's /S is the only switch a silent install needs: the installer asks for
# no administrator rights and installs for the user who runs it.
manifest installer "$id.installer.yaml" <<EOF
InstallerType: nullsoft
Scope: user
InstallModes:
- interactive
- silent
- silentWithProgress
InstallerSwitches:
  Silent: /S
  SilentWithProgress: /S
UpgradeBehavior: install
ProductCode: $product_code
ExpectedReturnCodes:
- InstallerReturnCode: $(define EXIT_FILES_IN_USE)
  ReturnResponse: packageInUse
AppsAndFeaturesEntries:
- DisplayName: $name
  Publisher: $publisher
  DisplayVersion: $version
  ProductCode: $product_code
Installers:
- Architecture: x64
  InstallerUrl: $url
  InstallerSha256: ${sha256^^}
EOF
manifest defaultLocale "$id.locale.en-US.yaml" <<EOF
PackageLocale: en-US
Publisher: $publisher
PackageName: $name
License: ${license% License}
ShortDescription: $description
EOF
