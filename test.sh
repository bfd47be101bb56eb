#!/bin/sh
# Sets everything up and runs every test: the full build in build/, then the
# tests that need no display again under AddressSanitizer and UBSan in
# build/sanitize/ (without regenerating the content, which the first build
# has checked).
set -eu
cd "$(dirname "$0")"

JOBS=$(nproc 2>/dev/null || echo 2)

./scripts/build.sh build
ctest --test-dir build --output-on-failure -j "$JOBS"

./scripts/build.sh build/sanitize -DCMAKE_BUILD_TYPE=Debug -DTARVO_SANITIZE=ON -DTARVO_CONTENT=OFF
ctest --test-dir build/sanitize --output-on-failure -j "$JOBS" -L headless
