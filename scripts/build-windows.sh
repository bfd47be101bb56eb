#!/bin/sh
# Cross-compiles the Windows version (64-bit, mingw-w64) into build-windows/
# and packs build-windows/tarvo-windows.zip: tarvo.exe, the archive and a
# README. The archive and the launcher's pictures come from the Linux build
# in build/ (or $TARVO_HOST_BUILD), which is made or brought up to date
# first, with the frame twin's Linux programs the Windows tests compare
# against. Further arguments go to CMake for the Windows build.
set -eu
cd "$(dirname "$0")/.."

./scripts/bootstrap.sh

HOST_BUILD=${TARVO_HOST_BUILD:-build}
if [ -f "$HOST_BUILD/build.ninja" ]; then
    cmake --build "$HOST_BUILD" --target content launcher_resources tarvo-frames tarvo-frame-diff
else
    ./scripts/build.sh "$HOST_BUILD"
fi
HOST_BUILD=$(cd "$HOST_BUILD" && pwd)

JOBS=$(nproc 2>/dev/null || echo 2)
LAUNCHER=""
if command -v ccache >/dev/null 2>&1; then
    LAUNCHER="-DCMAKE_C_COMPILER_LAUNCHER=ccache -DCMAKE_CXX_COMPILER_LAUNCHER=ccache"
fi

# shellcheck disable=SC2086
cmake -S . -B build-windows -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-x86_64.cmake -DTARVO_HOST_BUILD="$HOST_BUILD" \
    $LAUNCHER "$@"
cmake --build build-windows -j "$JOBS"
echo "build-windows/tarvo-windows.zip"
