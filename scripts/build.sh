#!/bin/sh
# Installs what the project needs and builds it:
#   scripts/build.sh [--packages SET]... [--target TARGET]... [DIR [CMAKE ARGUMENTS...]]
# DIR is the build folder (build/ by default); further arguments go to CMake.
# --packages names a set of scripts/bootstrap.sh (all of them, "test", when
# none is given); --target builds only that target and what it needs (every
# target when none is given).
set -eu
cd "$(dirname "$0")/.."

SETS=""
TARGETS=""
while [ $# -gt 0 ]; do
    case "$1" in
        --packages)
            SETS="$SETS $2"
            shift 2
            ;;
        --target)
            TARGETS="$TARGETS $2"
            shift 2
            ;;
        *) break ;;
    esac
done

# shellcheck disable=SC2086
./scripts/bootstrap.sh ${SETS:-test}

BUILD_DIR=${1:-build}
[ $# -gt 0 ] && shift
JOBS=$(nproc 2>/dev/null || echo 2)

# A folder configured by an older version of the project, by another
# generator or from another checkout is configured again from scratch
# rather than refused: CMake stops on another generator or source folder,
# and an older cache would keep defaults this version changed.
CACHE="$BUILD_DIR/CMakeCache.txt"
if [ -f "$CACHE" ]; then
    cached() {
        sed -n "s/^$1:[A-Z]*=//p" "$CACHE"
    }
    layout=$(sed -n 's/^set(TARVO_CACHE_LAYOUT \([0-9]*\))$/\1/p' CMakeLists.txt)
    if [ "$(cached CMAKE_GENERATOR)" != "Ninja" ] ||
        [ "$(cached CMAKE_HOME_DIRECTORY)" != "$(pwd -P)" ]; then
        echo "build: $BUILD_DIR was configured elsewhere or by another generator; configuring it afresh" >&2
        rm -rf "$CACHE" "$BUILD_DIR/CMakeFiles"
    elif [ "$(cached TARVO_CACHE_LAYOUT)" != "$layout" ]; then
        echo "build: $BUILD_DIR was configured by an older version; configuring it afresh" >&2
        rm -f "$CACHE"
    fi
fi

# ccache, where installed, makes rebuilds of unchanged sources free (a second
# build folder, another checkout of the same tree).
LAUNCHER=""
if command -v ccache >/dev/null 2>&1; then
    LAUNCHER="-DCMAKE_C_COMPILER_LAUNCHER=ccache -DCMAKE_CXX_COMPILER_LAUNCHER=ccache"
fi

# shellcheck disable=SC2086
cmake -S . -B "$BUILD_DIR" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo $LAUNCHER "$@"
if [ -n "$TARGETS" ]; then
    # shellcheck disable=SC2086
    cmake --build "$BUILD_DIR" -j "$JOBS" --target $TARGETS
else
    cmake --build "$BUILD_DIR" -j "$JOBS"
fi
