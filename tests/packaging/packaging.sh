#!/usr/bin/env bash
# Quorvane as installed and packaged, up to the first failure. Usage: packaging.sh installed CMAKE BUILD_DIR |
# deb CPACK BUILD_DIR (the same files, whatever the umask, and the run-time dependencies) | hardening BINARY
# (Debian's usual hardening; for a Windows program ASLR, DEP and its manifest).
set -euo pipefail
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

check_tree() { # PREFIX: exactly the expected files, and a valid desktop entry and metainfo
    local icons=share/icons/hicolor id=org.example.quorvane.Quorvane
    diff <(cd "$1" && find . -type f | sort) <(printf './%s\n' bin/quorvane share/doc/quorvane/copyright \
        "share/applications/$id.desktop" "share/metainfo/$id.metainfo.xml" $icons/scalable/apps/quorvane.svg \
        $icons/{16x16,22x22,24x24,32x32,48x48,64x64,128x128,256x256}/apps/quorvane.png | sort)
    desktop-file-validate "$1/share/applications/$id.desktop"
    appstreamcli validate-tree --no-net "$1"
}

case $1 in
installed)
    "$2" --install "$3" --prefix "$work/prefix" >/dev/null
    check_tree "$work/prefix"
    ;;
deb)
    # Whatever the builder's umask, the same bytes, with the folders and the program 0755 and all else 0644.
    for mask in 002 077; do
        (umask $mask && SOURCE_DATE_EPOCH=1 "$2" -G DEB --config "$3/CPackConfig.cmake" -B "$work/$mask" >/dev/null)
    done
    deb=$(echo "$work"/002/*.deb)
    cmp "$deb" "$work"/077/*.deb
    (ar tv "$deb" && dpkg-deb --ctrl-tarfile "$deb" | tar -tv && dpkg-deb --fsys-tarfile "$deb" | tar -tv) |
        awk '{want = $NF ~ /\/$|bin\/quorvane$/ ? "rwxr-xr-x" : "rw-r--r--"}
            substr($1, length($1) - 8) != want {print "FAIL: not " want ": " $0; bad = 1} END {exit bad}'
    dpkg-deb -x "$deb" "$work/root"
    check_tree "$work/root/usr"
    depends=$(dpkg-deb -f "$deb" Depends)
    for package in libqt6widgets6 qt6-qpa-plugins fonts-liberation fonts-noto-core; do
        grep -q "\b$package\b" <<<"$depends" || (echo "FAIL: no dependency on $package" && exit 1)
    done
    ;;
hardening)
    if [[ $2 == *.exe ]]; then
        flags=$(x86_64-w64-mingw32-objdump -p "$2" | sed -n '/^DllCharacteristics/,/^[A-Z]/p')
        for flag in HIGH_ENTROPY_VA DYNAMIC_BASE NX_COMPAT; do
            grep -qw $flag <<<"$flags" || (echo "FAIL: no $flag in $flags" && exit 1)
        done
        7z e -so "$2" .rsrc/MANIFEST/1 '.rsrc/*/MANIFEST/1' >"$work/manifest" # RT_MANIFEST 1, in a language or not
        [ -s "$work/manifest" ] || (echo "FAIL: no manifest" && exit 1)
        python3 - "$work/manifest" <<'EOF'
import sys, xml.etree.ElementTree as ET
found = set()
for node in ET.parse(sys.argv[1]).iter():
    found |= {node.tag + " " + (node.text or "").strip()} | {node.tag + " %s=%s" % a for a in node.attrib.items()}
ms, asm = "{http://schemas.microsoft.com/SMI/", "{urn:schemas-microsoft-com:"
wanted = {asm + "compatibility.v1}supportedOS Id={8e0f7a12-bfb3-4fe8-b9a5-48fd50a15a9a}"}
wanted |= {ms + "2016/WindowsSettings}dpiAwareness PerMonitorV2", ms + "2005/WindowsSettings}dpiAware true"}
controls = "name=Microsoft.Windows.Common-Controls version=6.0.0.0 processorArchitecture=*"
wanted |= {asm + "asm.v1}assemblyIdentity " + a for a in (controls + " publicKeyToken=6595b64144ccf1df").split()}
wanted |= {asm + "asm.v3}requestedExecutionLevel level=asInvoker"}
if wanted - found:
    sys.exit("FAIL: the manifest lacks %s" % sorted(wanted - found))
EOF
    else
        hardening-check --nocfprotection "$2"
    fi
    ;;
esac
echo "ok: $1"
