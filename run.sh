#!/bin/sh
# Sets everything up, builds the project into build/ and runs the demo from
# build/content/, where its archive tarvo.fs is. With no display the demo is
# rendered to build/tarvo.mp4 instead; arguments are then passed on to
# tarvo-capture (for instance --width 1280 --height 720 --fps 60).
set -eu
cd "$(dirname "$0")"

./scripts/build.sh build

cd build/content
if [ -n "${DISPLAY:-}${WAYLAND_DISPLAY:-}" ]; then
    exec ../bin/tarvo
fi

# Mesa's software rasteriser draws 1280 x 720 at about 3 s a frame on a
# 2-core machine: the whole demo at 60 frames per second would take 8 hours.
# A quarter of the pixels at half the rate renders in about an hour.
OUTPUT=$(cd .. && pwd)/tarvo.mp4
echo "run.sh: no display; rendering the demo to $OUTPUT" >&2
if [ $# -eq 0 ]; then
    set -- --width 640 --height 360 --fps 30
    echo "run.sh: 640 x 360 at 30 frames per second, 4829 frames: about an hour without a GPU" >&2
    echo "run.sh: (0.8 s a frame on 2 cores; 1280 x 720 at 60 takes about 8 hours:" >&2
    echo "run.sh:  ./run.sh --width 1280 --height 720 --fps 60)" >&2
else
    echo "run.sh: with tarvo-capture $*; it shows the time left as it goes" >&2
fi
../bin/tarvo-capture "$@" -o "$OUTPUT" tarvo.fs
echo "$OUTPUT"
