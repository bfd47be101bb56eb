#!/bin/sh
# Sets everything up and runs every test: the full build in build/, then the
# tests that need no display again under AddressSanitizer and UBSan in
# build/sanitize/.
set -eu
cd "$(dirname "$0")"

./scripts/bootstrap.sh

JOBS=$(nproc 2>/dev/null || echo 2)

cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo
cmake --build build -j "$JOBS"
ctest --test-dir build --output-on-failure -j "$JOBS"

cmake -S . -B build/sanitize -G Ninja -DCMAKE_BUILD_TYPE=Debug -DTARVO_SANITIZE=ON
cmake --build build/sanitize -j "$JOBS"
ctest --test-dir build/sanitize --output-on-failure -j "$JOBS" -L headless
