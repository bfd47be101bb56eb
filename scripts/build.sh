#!/bin/sh
# Installs what the project needs and builds it into build/ (or the folder
# given as the first argument, with any further arguments passed to CMake).
set -eu
cd "$(dirname "$0")/.."

./scripts/bootstrap.sh

BUILD_DIR=${1:-build}
[ $# -gt 0 ] && shift
JOBS=$(nproc 2>/dev/null || echo 2)

cmake -S . -B "$BUILD_DIR" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo "$@"
cmake --build "$BUILD_DIR" -j "$JOBS"
