#!/bin/sh
# Sets everything up, builds the project into build/ and runs it.
set -eu
cd "$(dirname "$0")"

./scripts/bootstrap.sh

JOBS=$(nproc 2>/dev/null || echo 2)

cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo
cmake --build build -j "$JOBS"

# The content archive is packed by the build; show what it holds.
build/bin/qorfs verify build/content/tarvo.fs
build/bin/qorfs list build/content/tarvo.fs
