#!/bin/sh
# Installs what running needs, builds the demo and its content into build/
# and runs the demo from build/content/, where its archive tarvo.fs is. With
# no display the demo is rendered to build/tarvo.mp4 instead, by the offline
# renderer, which is then built too; arguments are passed on to tarvo-capture
# (for instance --width 1280 --height 720 --fps 60), or to the demo when
# there is a display (--help, --version). The tests, benchmarks
# and developer tools are left to ./test.sh.
set -eu
cd "$(dirname "$0")"

if [ -n "${DISPLAY:-}${WAYLAND_DISPLAY:-}" ]; then
    ./scripts/build.sh --packages run --target tarvo --target content build -DTARVO_CONTENT=ON
    cd build/content
    exec ../bin/tarvo "$@"
fi

./scripts/build.sh --packages run --packages capture \
    --target tarvo --target content --target tarvo-capture \
    build -DTARVO_CONTENT=ON -DTARVO_CAPTURE=ON
cd build/content

# Mesa's software rasteriser draws 1280 x 720 at about 0.26 s a frame on a
# quiet 2-core machine: the whole demo at 60 frames per second takes about
# 42 minutes. A quarter of the pixels at half the rate renders at 13.3
# frames a second, in about 6 minutes.
OUTPUT=$(cd .. && pwd)/tarvo.mp4
echo "run.sh: no display; rendering the demo to $OUTPUT" >&2
if [ $# -eq 0 ]; then
    set -- --width 640 --height 360 --fps 30
    echo "run.sh: 640 x 360 at 30 frames per second, 4829 frames: about 6 minutes without a GPU" >&2
    echo "run.sh: (13.3 frames a second on 2 cores; 1280 x 720 at 60 takes about 42 minutes:" >&2
    echo "run.sh:  ./run.sh --width 1280 --height 720 --fps 60)" >&2
else
    echo "run.sh: with tarvo-capture $*; it shows the time left as it goes" >&2
fi
../bin/tarvo-capture "$@" -o "$OUTPUT" tarvo.fs
echo "$OUTPUT"
