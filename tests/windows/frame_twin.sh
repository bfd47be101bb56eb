#!/bin/sh
# The frame twin: the same frames of the demo drawn by the Linux build over
# our layers and by the Windows build over Wine's Direct3D 9 and D3DX, on a
# display of the test's own, compared pixel by pixel.
#   frame_twin.sh WINE_SH PREFIX LINUX_FRAMES WINDOWS_FRAMES FRAME_DIFF ARCHIVE OUTPUT
# The frames and their difference pictures are left in OUTPUT (emptied
# first) whether the test passes or not.
#
# The tolerance: a pixel differs when one of its channels is more than
# STEP (16 of 255) apart from the other build's pixel there and from all of
# its pixels within REACH (1), and a frame fails when more than SHARE (0.5) per
# cent of its pixels differ. Both builds draw with Mesa's llvmpipe, so what
# is left comes from the layers themselves: where an edge's pixel centres
# fall (REACH), the weights of filtered reads and shader arithmetic as each
# translation writes it, and the rounding of 16-bit float targets (STEP).
# The largest share seen is 0.05 %, single pixels of the test room
# (tools/twin/README.md). A wrong state, format, constant or address mode
# moves far more of the frame: the soundtrack 25 ms late on Windows made
# 13.9 %, point samples on texel corners rounded the other way by Wine 5.8 %,
# and def constants a few millionths off in our layer 1.7 %.
set -eu

WINE_SH=$1
PREFIX=$2
LINUX_FRAMES=$3
WINDOWS_FRAMES=$4
FRAME_DIFF=$5
ARCHIVE=$6
OUTPUT=$7
STEP=${TARVO_TWIN_STEP:-16}
REACH=${TARVO_TWIN_REACH:-1}
SHARE=${TARVO_TWIN_SHARE:-0.5}

if ! command -v wine >/dev/null 2>&1; then
    echo "SKIP: wine is not installed (scripts/bootstrap.sh installs it)"
    exit 77
fi

CASE=frame-twin
# The picture's size is the display's, so that Wine's adapter has the mode.
# shellcheck disable=SC2034 # read by e2e_common.sh
SCREEN=640x360x24
# shellcheck source=../e2e/e2e_common.sh
. "$(dirname "$0")/../e2e/e2e_common.sh"
stop_wine() {
    "$WINE_SH" "$PREFIX" --stop
    cleanup
}
trap stop_wine EXIT
export PULSE_SERVER="unix:$WORK/no-such-socket"

rm -rf "$OUTPUT"
mkdir -p "$OUTPUT/linux" "$OUTPUT/windows"
mkdir "$WORK/archive"
cp "$ARCHIVE" "$WORK/archive/tarvo.fs"

# Wine keeps the display it met first for its whole session.
"$WINE_SH" "$PREFIX" --stop
"$LINUX_FRAMES" "$WORK/archive/tarvo.fs" "$OUTPUT/linux" >"$WORK/linux.out" 2>"$WORK/stderr" ||
    fail "the Linux build's frames: status $?"
cp "$WINDOWS_FRAMES" "$WORK/tarvo-frames.exe"
"$WINE_SH" "$PREFIX" "$WORK/tarvo-frames.exe" "Z:$WORK/archive/tarvo.fs" "Z:$OUTPUT/windows" \
    </dev/null >"$WORK/windows.out" 2>"$WORK/stderr" || fail "the Windows build's frames: status $?"
# What each frame was drawn from, then the frame rates, one build after the other.
tr -d '\r' <"$WORK/windows.out" >"$WORK/windows.txt"
paste -d '\n' "$WORK/linux.out" "$WORK/windows.txt" | awk '{ print (NR % 2 ? "Linux:   " : "Windows: ") $0 }'

count=0
failed=""
for linux in "$OUTPUT"/linux/*.png; do
    name=$(basename "$linux")
    [ -f "$OUTPUT/windows/$name" ] || fail "the Windows build wrote no $name"
    count=$((count + 1))
    result=$("$FRAME_DIFF" --step "$STEP" --reach "$REACH" --share "$SHARE" --diff "$OUTPUT/diff-$name" \
        "$linux" "$OUTPUT/windows/$name") && status=0 || status=$?
    echo "$name: $result"
    case $status in
        0) ;;
        1) failed="$failed $name" ;;
        *) fail "$name could not be compared" ;;
    esac
done
[ "$count" -gt 0 ] || fail "the Linux build wrote no frame"
[ -z "$failed" ] || fail "beyond the tolerance (step $STEP, reach $REACH, share $SHARE%):$failed; differences in $OUTPUT"
echo "PASS ($CASE): $count frames within step $STEP, reach $REACH, share $SHARE%"
