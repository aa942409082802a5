#!/usr/bin/env bash
# Usage: wine-run.sh PROGRAM.exe ARGS...
# Runs a cross-built Windows test program under Wine on a private Xvfb, with
# a Wine prefix of the build's own (made at first use), and exits with the
# program's status. CTest's emulator for the Windows build.
set -euo pipefail
program=$1
shift
build=$(dirname "$(realpath "$program")")
until [ -f "$build/CMakeCache.txt" ] || [ "$build" = / ]; do build=$(dirname "$build"); done

export WINEPREFIX=$build/wineprefix WINEARCH=win64 WINEDEBUG=${WINEDEBUG:--all}
export WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"
# Qt Test on Windows writes to the debugger unless told to use the standard
# streams; Wine passes QT_ variables to Windows programs only as WINEQT_.
export WINEQT_FORCE_STDERR_LOGGING=1
exec 3>"$build/wineprefix.lock"
flock 3

display=$(mktemp) # empty until Xvfb writes its number there, when it is ready
Xvfb -displayfd 4 -screen 0 1024x768x24 -nolisten tcp -noreset 4>"$display" 2>/dev/null &
xvfb=$!
until [ -s "$display" ]; do sleep 0.05; done
DISPLAY=:$(cat "$display")
export DISPLAY
rm "$display"
"$(dirname "$0")/wine-prefix.sh" "$WINEPREFIX"
status=0
wine "$program" "$@" || status=$?
wineserver -k 2>/dev/null || true
kill "$xvfb"
wait "$xvfb" 2>/dev/null || true
exit $status
