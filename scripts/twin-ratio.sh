#!/bin/sh
# The frame twin's frames timed both ways: the Linux build's tarvo-frames
# over our Direct3D 9 and D3DX layers, and the Windows build's under Wine
# over Wine's, the same frames from the same archive on one Xvfb display of
# the picture's size. The machine is shared and its speed drifts, so the two
# run in turns, ROUNDS times (default 3), and the script reports each side's
# median milliseconds per frame and their ratio, Wine's over ours (above 1:
# ours is the faster).
#
#   scripts/twin-ratio.sh [ROUNDS] [SIZE]      (SIZE: default 640x360)
#
# Both builds must be there: build/ and build-windows/ (scripts/build.sh,
# scripts/build-windows.sh). Each side's time is what tarvo-frames prints:
# the demo's own frames (update and present), not loading or reading back.
set -eu
cd "$(dirname "$0")/.."
ROUNDS=${1:-3}
SIZE=${2:-640x360}
LINUX=build/bin/tarvo-frames
WINDOWS=build-windows/bin/tarvo-frames.exe
ARCHIVE=build/content/tarvo.fs
for file in "$LINUX" "$WINDOWS" "$ARCHIVE"; do
    [ -f "$file" ] || { echo "twin-ratio.sh: $file is missing; build both ways first" >&2; exit 2; }
done
WINE_SH=$PWD/tests/windows/wine.sh
PREFIX=$PWD/build-windows/wine-prefix

WORK=$(mktemp -d)
XVFB_PID=
cleanup() {
    "$WINE_SH" "$PREFIX" --stop
    if [ -n "$XVFB_PID" ]; then kill "$XVFB_PID" 2>/dev/null || true; fi
    rm -rf "$WORK"
}
trap cleanup EXIT
Xvfb -displayfd 3 -screen 0 "${SIZE}x24" -nolisten tcp 3>"$WORK/display" 2>/dev/null &
XVFB_PID=$!
while [ ! -s "$WORK/display" ]; do sleep 0.1; done
DISPLAY=:$(cat "$WORK/display")
export DISPLAY
export PULSE_SERVER="unix:$WORK/no-such-socket"
mkdir "$WORK/archive"
cp "$ARCHIVE" "$WORK/archive/tarvo.fs"
cp "$WINDOWS" "$WORK/tarvo-frames.exe"
"$WINE_SH" "$PREFIX" --stop

round=1
while [ "$round" -le "$ROUNDS" ]; do
    echo "twin-ratio.sh: round $round of $ROUNDS" >&2
    # "frames 238 ms-per-frame 389.033" -> "ours 389.033"
    "$LINUX" --size "$SIZE" "$WORK/archive/tarvo.fs" "$WORK/linux" 2>/dev/null |
        awk '$1 == "frames" { print "ours", $4 }' >>"$WORK/results"
    "$WINE_SH" "$PREFIX" "$WORK/tarvo-frames.exe" --size "$SIZE" "Z:$WORK/archive/tarvo.fs" \
        "Z:$WORK/windows" </dev/null 2>/dev/null | tr -d '\r' | awk '$1 == "frames" { print "wine", $4 }' >>"$WORK/results"
    round=$((round + 1))
done

awk "$(cat scripts/median.awk)"'
    { values[$1, ++count[$1]] = $2 }
    END {
        if (!count["ours"] || !count["wine"]) { print "twin-ratio.sh: a side produced no time" > "/dev/stderr"; exit 1 }
        printf "ours  %.1f ms per frame (median of %d)\n", median("ours"), count["ours"]
        printf "wine  %.1f ms per frame (median of %d)\n", median("wine"), count["wine"]
        printf "ratio %.2f (Wine over ours; above 1: ours is faster)\n", median("wine") / median("ours")
    }' "$WORK/results"
