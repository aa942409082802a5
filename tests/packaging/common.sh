# Sourced by the packaging tests: what an installed Quorvane consists of, and
# checks on such a tree (an install prefix, or an unpacked .deb's usr/).

APP_ID=org.example.quorvane.Quorvane
ICON_SIZES="16 22 24 32 48 64 128 256"

failures=0
ok() { echo "ok: $*"; }
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }
finish() { exit $((failures > 0)); }

# Skips the test (CTest's SKIP_RETURN_CODE) with a reason.
skip() { echo "skipped: $*"; exit 77; }

need() {
    local tool
    for tool in "$@"; do
        command -v "$tool" >/dev/null 2>&1 || { fail "$tool is not installed (scripts/setup.sh installs it)"; finish; }
    done
}

# Every file of an installation, relative to its prefix.
expected_files() {
    local size
    echo bin/quorvane
    echo "share/applications/$APP_ID.desktop"
    echo "share/metainfo/$APP_ID.metainfo.xml"
    for size in $ICON_SIZES; do
        echo "share/icons/hicolor/${size}x${size}/apps/quorvane.png"
    done
    echo share/icons/hicolor/scalable/apps/quorvane.svg
    echo share/doc/quorvane/copyright
}

# check_tree WHAT LISTING: LISTING (one path a line, relative to the prefix)
# holds every expected file and nothing else.
check_tree() {
    local what=$1 listing=$2 missing unexpected
    missing=$(comm -23 <(expected_files | sort) <(printf '%s\n' "$listing" | sed '/^$/d' | sort))
    unexpected=$(comm -13 <(expected_files | sort) <(printf '%s\n' "$listing" | sed '/^$/d' | sort))
    if [ -z "$missing" ]; then
        ok "$what: all $(expected_files | wc -l) expected files present"
    else
        fail "$what: missing:" $missing
    fi
    if [ -z "$unexpected" ]; then
        ok "$what: no other files"
    else
        fail "$what: unexpected:" $unexpected
    fi
}

# check_desktop_integration PREFIX VERSION: the desktop entry, metainfo and
# icons under PREFIX are valid and agree with each other and with VERSION.
check_desktop_integration() {
    local prefix=$1 version=$2 desktop metainfo output size png description
    desktop="$prefix/share/applications/$APP_ID.desktop"
    metainfo="$prefix/share/metainfo/$APP_ID.metainfo.xml"

    if [ -f "$desktop" ]; then
        if output=$(desktop-file-validate "$desktop" 2>&1) && [ -z "$output" ]; then
            ok "desktop-file-validate: no complaints"
        else
            fail "desktop-file-validate: $output"
        fi
        grep -qx 'Exec=quorvane' "$desktop" && grep -qx 'Icon=quorvane' "$desktop" \
            && ok "desktop entry runs quorvane with icon quorvane" \
            || fail "desktop entry's Exec or Icon is not quorvane"
        grep -qx 'Categories=Utility;Clock;' "$desktop" \
            && ok "desktop entry categories Utility;Clock;" \
            || fail "desktop entry categories are not Utility;Clock;"
    else
        fail "no desktop entry $desktop"
    fi

    if [ -f "$metainfo" ]; then
        if output=$(appstreamcli validate --no-net "$metainfo" 2>&1); then
            ok "appstreamcli validate: passed"
        else
            fail "appstreamcli validate: $output"
        fi
        # The whole tree: the launchable desktop entry is there as well.
        if output=$(appstreamcli validate-tree --no-net "$prefix" 2>&1); then
            ok "appstreamcli validate-tree: passed"
        else
            fail "appstreamcli validate-tree: $output"
        fi
        grep -q "<id>$APP_ID</id>" "$metainfo" \
            && grep -q "<launchable type=\"desktop-id\">$APP_ID.desktop</launchable>" "$metainfo" \
            && ok "metainfo id and launchable are $APP_ID" \
            || fail "metainfo id or launchable is not $APP_ID"
        # The newest release, listed first, is the version being built.
        if [ "$(grep -o '<release version="[^"]*"' "$metainfo" | head -n 1)" = "<release version=\"$version\"" ]; then
            ok "metainfo's newest release is $version"
        else
            fail "metainfo's newest release is not $version"
        fi
    else
        fail "no metainfo $metainfo"
    fi

    for size in $ICON_SIZES; do
        png="$prefix/share/icons/hicolor/${size}x${size}/apps/quorvane.png"
        description=$(file -b "$png" 2>&1)
        if [[ "$description" == "PNG image data, $size x $size,"* ]]; then
            ok "icon ${size}x${size} is a ${size}x${size} PNG"
        else
            fail "icon ${size}x${size}: $description"
        fi
    done
    description=$(file -b "$prefix/share/icons/hicolor/scalable/apps/quorvane.svg" 2>&1)
    [[ "$description" == SVG* ]] && ok "scalable icon is SVG" || fail "scalable icon: $description"
}
