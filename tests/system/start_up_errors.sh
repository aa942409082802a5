#!/usr/bin/env bash
# A start that fails says why in one line, with the program's name in front,
# and exits with status 1 instead of aborting with a core dump.
# Usage: start_up_errors.sh BINARY XCB_PLUGIN
set -u
binary=$1 xcb_plugin=$2
. "$(dirname "$0")/xvfb_session.sh"
unset QT_QPA_PLATFORM WAYLAND_DISPLAY XDG_SESSION_TYPE
start_xvfb 1024x768 # a working display, for the cases whose fault lies elsewhere

# The program beside a plugin folder of its own (named by qt.conf): its X11
# plugin needs a library that is not there, and it has no Wayland plugin.
work=$(mktemp -d)
trap 'rm -rf "$work"; stop_xvfb' EXIT
mkdir -p "$work/plugins/platforms"
cp "$binary" "$work/quorvane"
cp "$xcb_plugin" "$work/plugins/platforms/libqxcb.so"
patchelf --add-needed libquorvane-missing.so.0 "$work/plugins/platforms/libqxcb.so"
printf '[Paths]\nPlugins=%s\n' "$work/plugins" >"$work/qt.conf"
broken="$work/quorvane"

failures=0
check() {
    local what=$1 program=$2 expected=$3 stderr status
    shift 3
    stderr=$(env "$@" "$program" 2>&1 >/dev/null </dev/null)
    status=$?
    if [ "$status" -eq 1 ] && [ "$stderr" = "$expected" ]; then
        echo "ok: $what: $stderr"
    else
        printf 'FAIL: %s: status %s, said:\n%s\nexpected:\n%s\n' "$what" "$status" "$stderr" "$expected"
        failures=$((failures + 1))
    fi
}
check "no DISPLAY" "$binary" 'quorvane: no display could be opened: DISPLAY is not set' -u DISPLAY
check "unreachable display" "$binary" 'quorvane: no display could be opened: cannot connect to display ":97"' DISPLAY=:97
check "unknown platform" "$binary" 'quorvane: Could not find the Qt platform plugin "bogus" in ""' QT_QPA_PLATFORM=bogus
check "no Wayland plugin" "$broken" 'quorvane: Could not find the Qt platform plugin "wayland" in ""' QT_QPA_PLATFORM=wayland
check "X11 plugin missing a library" "$broken" "quorvane: Could not load the Qt platform plugin \"xcb\" in \"\" even though it was found: Cannot load library $work/plugins/platforms/libqxcb.so: (libquorvane-missing.so.0: cannot open shared object file: No such file or directory)"
exit $((failures > 0))
