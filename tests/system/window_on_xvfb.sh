#!/usr/bin/env bash
# The real program on a real X server: its window is mapped at the designed
# place and size on a 1024x768 screen, and wholly on screen on an 800x600 one.
set -u
binary=$1
. "$(dirname "$0")/xvfb_session.sh"
unset QT_QPA_PLATFORM

failures=0
check_screen() {
    local size=$1 expected=$2 app_pid geometry=""
    start_xvfb "$size"
    "$binary" 2>/dev/null &
    app_pid=$!
    for _ in $(seq 100); do
        geometry=$(xwininfo -root -tree 2>/dev/null | awk '/"Quorvane": \("quorvane"/ {print $(NF-1)}')
        [ -n "$geometry" ] && break
        sleep 0.1
    done
    if [ "$geometry" = "$expected" ]; then
        echo "ok: $size screen: window $geometry"
    else
        echo "FAIL: $size screen: window '$geometry', expected $expected"
        failures=$((failures + 1))
    fi
    kill "$app_pid" 2>/dev/null
    wait "$app_pid" 2>/dev/null
    stop_xvfb
}

check_screen 1024x768 208x294+810+438
check_screen 800x600 208x294+592+306
exit $((failures > 0))
