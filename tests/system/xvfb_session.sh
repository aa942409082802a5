# Sourced by tests that need a real X server: starts a private Xvfb on a free
# display and stops it, by its own process id, when the test exits.
# Usage: start_xvfb WIDTHxHEIGHT  (sets DISPLAY)

XVFB_PID=
stop_xvfb() {
    if [ -n "$XVFB_PID" ]; then
        kill "$XVFB_PID" 2>/dev/null
        wait "$XVFB_PID" 2>/dev/null
        XVFB_PID=
    fi
}
trap stop_xvfb EXIT

start_xvfb() {
    local size=$1 fifo display
    fifo=$(mktemp -u)
    mkfifo "$fifo"
    Xvfb -displayfd 3 -screen 0 "${size}x24" -nolisten tcp -noreset 3>"$fifo" >/dev/null 2>&1 &
    XVFB_PID=$!
    read -r -t 30 display <"$fifo" || true
    rm -f "$fifo"
    if [ -z "$display" ]; then
        echo "Xvfb did not start" >&2
        exit 1
    fi
    export DISPLAY=":$display"
}
