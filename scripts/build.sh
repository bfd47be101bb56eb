#!/bin/sh
# Installs what the project needs and builds it into build/ (or the folder
# given as the first argument, with any further arguments passed to CMake).
set -eu
cd "$(dirname "$0")/.."

./scripts/bootstrap.sh

BUILD_DIR=${1:-build}
[ $# -gt 0 ] && shift
JOBS=$(nproc 2>/dev/null || echo 2)

# ccache, where installed, makes rebuilds of unchanged sources free (a second
# build folder, another checkout of the same tree).
LAUNCHER=""
if command -v ccache >/dev/null 2>&1; then
    LAUNCHER="-DCMAKE_C_COMPILER_LAUNCHER=ccache -DCMAKE_CXX_COMPILER_LAUNCHER=ccache"
fi

# shellcheck disable=SC2086
cmake -S . -B "$BUILD_DIR" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo $LAUNCHER "$@"
cmake --build "$BUILD_DIR" -j "$JOBS"
