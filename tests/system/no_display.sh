#!/usr/bin/env bash
# Without a display the program says so in one line and exits with status 1,
# instead of aborting with a core dump.
set -u
binary=$1
unset QT_QPA_PLATFORM
failures=0
check() {
    local what=$1 expected=$2 status lines
    shift 2
    stderr=$(env "$@" "$binary" 2>&1 >/dev/null </dev/null)
    status=$?
    lines=$(printf '%s\n' "$stderr" | grep -c .)
    if [ "$status" -eq 1 ] && [ "$lines" -eq 1 ] && [[ "$stderr" == *"$expected"* ]]; then
        echo "ok: $what: $stderr"
    else
        echo "FAIL: $what: status $status, $lines lines: $stderr"
        failures=$((failures + 1))
    fi
}
check "no DISPLAY" "no display could be opened: DISPLAY is not set" -u DISPLAY
check "unreachable display" 'cannot connect to display ":97"' DISPLAY=:97
exit $((failures > 0))
