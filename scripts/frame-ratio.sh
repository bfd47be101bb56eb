#!/bin/sh
# A demo frame at 1280 x 720 against the ceiling: a raw-OpenGL program that
# draws the same pass structure (G-buffer, light volumes, combine and fog,
# the blurs, depth of field, distortion, the copy) with nothing in between.
# The machine is shared and its speed drifts, so the two run in turns, ROUNDS
# times (default 3), and the ratio of their medians is what the script
# reports, for the whole frame and for the blurs:
#
#   scripts/frame-ratio.sh GLPROBE [ROUNDS]
#
# GLPROBE is the ceiling's executable, built from its own folder. The demo's
# side is build/bin/demo_frame_benchmark of the regular build (built when
# missing).
set -eu
cd "$(dirname "$0")/.."

if [ $# -lt 1 ] || [ ! -x "$1" ]; then
    echo "usage: scripts/frame-ratio.sh GLPROBE [ROUNDS]   (GLPROBE: the ceiling's executable)" >&2
    exit 2
fi
PROBE=$1
ROUNDS=${2:-3}
[ -x build/bin/demo_frame_benchmark ] || ./scripts/build.sh build

export SDL_VIDEODRIVER=offscreen
results=$(mktemp)
trap 'rm -f "$results"' EXIT

round=1
while [ "$round" -le "$ROUNDS" ]; do
    echo "frame-ratio.sh: round $round of $ROUNDS" >&2
    # "RESULT full median_ms 277.1 ..." -> "ceiling full 277.1"
    "$PROBE" --frames 5 2>/dev/null |
        awk '$1 == "RESULT" && ($2 == "full" || $2 == "s4_blur_5+4") {
                 print "ceiling", ($2 == "full" ? "frame" : "blurs"), $4 }' >>"$results"
    # CSV rows: "BM_DemoFrame/0/process_time/real_time",iterations,real_time,... in ms;
    # stage 3 of each part is its blurs.
    build/bin/demo_frame_benchmark --benchmark_filter='BM_DemoFrame/|BM_FrameStage/[0-9]/3/' \
        --benchmark_format=csv 2>/dev/null |
        awk -F, '/^"BM_DemoFrame\// { print "demo frame", $3 }
                 /^"BM_FrameStage\// { print "demo blurs", $3 }' >>"$results"
    round=$((round + 1))
done

# Medians of each kind over every round (and, for the demo, every part).
awk "$(cat scripts/median.awk)"'
    { key = $1 " " $2; values[key, ++count[key]] = $3 }
    END {
        for (kind = 1; kind <= 2; kind++) {
            what = kind == 1 ? "frame" : "blurs"
            if (!count["ceiling " what] || !count["demo " what]) {
                print "frame-ratio.sh: no " what " measurement" > "/dev/stderr"; exit 1
            }
            c = median("ceiling " what); d = median("demo " what)
            printf "%-6s ceiling %8.1f ms   demo %8.1f ms   ratio %.2f\n", what, c, d, d / c
        }
    }' "$results"
