#!/bin/sh
# The whole demo at full length under AddressSanitizer, LeakSanitizer and
# UndefinedBehaviorSanitizer: too long for every test run, meant for the
# occasional one (before a release, after a change to the platform layers).
#
#   scripts/sanitized-capture.sh [WIDTH HEIGHT FPS]     default 320 180 30
#
# It builds what it needs in the sanitized tree of ./test.sh, build/sanitize/
# (the archive comes from the regular build in build/, built first when
# missing), and renders the whole demo with that tree's offline renderer,
# tarvo-capture, into build/sanitize/capture-run/. Where the source tree has no offline renderer
# yet, it plays the whole demo through the demo test instead
# (DemoRunTest.PlaysFromTheFirstFrameToTheLastBeat: the application on the
# capture audio device at 320 x 180, two frames a second). Leaks reported by
# the GL driver are suppressed as tests/sanitizers/lsan.supp explains; any
# other report fails the run.
set -eu
cd "$(dirname "$0")/.."

WIDTH=${1:-320}
HEIGHT=${2:-180}
FPS=${3:-30}
ROOT=$PWD
BUILD=build/sanitize

if [ ! -f build/content/tarvo.fs ]; then
    ./scripts/build.sh build
fi
./scripts/bootstrap.sh
cmake -S . -B "$BUILD" -G Ninja -DCMAKE_BUILD_TYPE=Debug -DTARVO_SANITIZE=ON \
    -DTARVO_CONTENT=OFF >/dev/null
if cmake --build "$BUILD" --target help | grep -q '^tarvo-capture:'; then
    TARGET=tarvo-capture
else
    TARGET=demo_tests
fi
cmake --build "$BUILD" -j "$(nproc 2>/dev/null || echo 2)" --target "$TARGET"

# The GL stack stays mapped to the end, as in the sanitized drawing tests
# (tests/CMakeLists.txt says why); the sanitizer runtime comes first.
ARCH=$(gcc -print-multiarch)
PRELOAD=$(gcc -print-file-name=libasan.so)
for library in libEGL.so.1 libEGL_mesa.so.0 libGL.so.1 dri/swrast_dri.so; do
    if [ -f "/usr/lib/$ARCH/$library" ]; then
        PRELOAD="$PRELOAD /usr/lib/$ARCH/$library"
    fi
done

export ASAN_OPTIONS="detect_leaks=1:halt_on_error=1"
export LSAN_OPTIONS="suppressions=$ROOT/tests/sanitizers/lsan.supp:print_suppressions=0"
export UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1"
export SDL_VIDEODRIVER=offscreen

RUN=$BUILD/capture-run
rm -rf "$RUN"
mkdir -p "$RUN"
if [ "$TARGET" = tarvo-capture ]; then
    echo "sanitized-capture: tarvo-capture, ${WIDTH}x${HEIGHT} at $FPS frames a second"
    (cd "$RUN" && LD_PRELOAD="$PRELOAD" "$ROOT/$BUILD/bin/tarvo-capture" --width "$WIDTH" --height "$HEIGHT" \
        --fps "$FPS" --output demo.mp4 --trace trace.csv "$ROOT/build/content/tarvo.fs") \
        2>"$RUN/sanitizers.log" || {
        tail -n 60 "$RUN/sanitizers.log" >&2
        echo "sanitized-capture: failed; the whole report is in $RUN/sanitizers.log" >&2
        exit 1
    }
else
    echo "sanitized-capture: no tarvo-capture in this tree; the whole demo through DemoRunTest"
    LD_PRELOAD="$PRELOAD" "$BUILD/tests/bin/demo_tests" --gtest_filter='DemoRunTest.PlaysFromTheFirstFrameToTheLastBeat' \
        >"$RUN/sanitizers.log" 2>&1 || {
        tail -n 60 "$RUN/sanitizers.log" >&2
        echo "sanitized-capture: failed; the whole report is in $RUN/sanitizers.log" >&2
        exit 1
    }
fi
# A report that did not end the process still fails the run.
if grep -q "ERROR: \(Address\|Leak\)Sanitizer\|runtime error:" "$RUN/sanitizers.log"; then
    grep -A20 "ERROR: \(Address\|Leak\)Sanitizer\|runtime error:" "$RUN/sanitizers.log" >&2
    exit 1
fi
echo "sanitized-capture: no sanitizer reports"
