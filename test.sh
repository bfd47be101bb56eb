#!/bin/sh
# Installs every package the project uses and runs every test: the full
# build in build/ (tests, benchmarks and every tool included), then the
# tests that need no display and the drawing tests on SDL's offscreen driver
# again under AddressSanitizer, LeakSanitizer and UBSan in build/sanitize/
# (without regenerating the content, which the first build has checked).
# Between the two, the Windows build (scripts/build-windows.sh) and its
# tests under Wine.
# The sanitized drawing tests include the whole demo on the capture audio
# device (DemoRunTest). The GL stack's own blocks are kept out of the leak
# reports as tests/sanitizers/lsan.supp explains; every other report fails
# its test.
# Findings kept from fuzzing (tests/data/fuzz/) replay in both stages.
set -eu
cd "$(dirname "$0")"

JOBS=$(nproc 2>/dev/null || echo 2)

# Everything is asked for by name, so that a missing part stops the build
# instead of leaving its tests out; warnings are errors here, as in CI.
FULL="-DTARVO_WERROR=ON -DTARVO_TESTS=ON -DTARVO_BENCHMARKS=ON -DTARVO_IMPORT=ON -DTARVO_CAPTURE=ON"

# shellcheck disable=SC2086
./scripts/build.sh --packages test build $FULL
ctest --test-dir build --output-on-failure -j "$JOBS"

# The Windows build, cross-compiled, and its tests under Wine and Xvfb
# (12 to 18 minutes more on a 2-core machine: the cross build, then the
# tests, the longest the demo run to its end under Wine).
./scripts/build-windows.sh
ctest --test-dir build-windows --output-on-failure

# shellcheck disable=SC2086
./scripts/build.sh --packages test build/sanitize $FULL \
    -DCMAKE_BUILD_TYPE=Debug -DTARVO_SANITIZE=ON -DTARVO_CONTENT=OFF
ctest --test-dir build/sanitize --output-on-failure -j "$JOBS" -L 'headless|video'
