#!/bin/sh
# Sets everything up, builds the project into build/ and runs it.
set -eu
cd "$(dirname "$0")"

./scripts/build.sh build

# The content archive is packed by the build; show what it holds.
build/bin/qorfs verify build/content/tarvo.fs
build/bin/qorfs list build/content/tarvo.fs
