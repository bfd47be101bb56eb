#!/bin/sh
# Runs a Windows program under Wine on an Xvfb display of its own, for
# programs that open windows and devices (Wine's Direct3D draws through
# GLX on Mesa):
#   wine_display.sh WINE_SH PREFIX PROGRAM [ARGUMENTS...]
# The prefix's Wine processes are stopped with the display, so the next run
# does not meet a desktop left on a display that has gone.
set -eu
WINE_SH=$1
PREFIX=$2
shift 2

WORK=$(mktemp -d)
XVFB=""
# shellcheck disable=SC2317  # run by the trap
finish() {
    "$WINE_SH" "$PREFIX" --stop
    [ -n "$XVFB" ] && kill "$XVFB" 2>/dev/null && wait "$XVFB" 2>/dev/null
    rm -rf "$WORK"
}
trap finish EXIT

Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3>"$WORK/display" 2>"$WORK/xvfb.log" &
XVFB=$!
tries=0
while [ ! -s "$WORK/display" ]; do
    tries=$((tries + 1))
    if [ "$tries" -gt 100 ] || ! kill -0 "$XVFB" 2>/dev/null; then
        echo "Xvfb did not start:" >&2
        cat "$WORK/xvfb.log" >&2
        exit 1
    fi
    sleep 0.1
done
DISPLAY=:$(cat "$WORK/display")
export DISPLAY

status=0
"$WINE_SH" "$PREFIX" "$@" || status=$?
exit "$status"
