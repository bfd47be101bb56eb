#!/bin/sh
# scripts/build.sh on build folders it did not configure: one configured by
# another generator, one from another checkout, and one whose cache an older
# version of the project wrote (no layout mark, an option at its old
# default). Each is configured afresh and built, never refused.
#   build_folder_test.sh SOURCE_DIR
set -eu

SOURCE=$1
# Outside CI, as a user builds: warnings are then no errors by default.
unset CI
WORK=$(mktemp -d)
trap 'rm -rf "$WORK"' EXIT

fail() {
    echo "FAIL: $*" >&2
    [ -f "$WORK/log" ] && sed 's/^/  /' "$WORK/log" >&2
    exit 1
}

cached() {
    sed -n "s/^$2:[A-Z]*=//p" "$1/CMakeCache.txt"
}

# build.sh on folder $1, building one small target; it must succeed and say
# that it configured the folder afresh.
build_afresh() {
    "$SOURCE/scripts/build.sh" --packages run --target qorfs "$1" >"$WORK/log" 2>&1 ||
        fail "build.sh refused $1"
    grep -q "configuring it afresh" "$WORK/log" || fail "$1 was not configured afresh"
    [ -x "$1/bin/qorfs" ] || fail "no qorfs in $1"
    [ "$(cached "$1" CMAKE_GENERATOR)" = Ninja ] || fail "$1 is not a Ninja folder"
}

# Another generator: CMake alone stops with "Does not match the generator
# used previously".
cmake -S "$SOURCE" -B "$WORK/makefiles" -G "Unix Makefiles" -DTARVO_CONTENT=OFF >"$WORK/log" 2>&1 ||
    fail "configuring with Makefiles"
build_afresh "$WORK/makefiles"

# Another checkout: a folder copied from elsewhere names another source
# folder in its cache, which CMake refuses too.
mkdir "$WORK/elsewhere"
cp -r "$WORK/makefiles" "$WORK/moved"
sed -i "s|^CMAKE_HOME_DIRECTORY:INTERNAL=.*|CMAKE_HOME_DIRECTORY:INTERNAL=$WORK/elsewhere|" \
    "$WORK/moved/CMakeCache.txt"
build_afresh "$WORK/moved"

# An older version's cache: no layout mark, and warnings as errors, then the
# default, cached: this version's default (off outside CI) takes its place.
sed -i -e '/^TARVO_CACHE_LAYOUT:/d' -e 's/^TARVO_WERROR:BOOL=.*/TARVO_WERROR:BOOL=ON/' \
    "$WORK/makefiles/CMakeCache.txt"
build_afresh "$WORK/makefiles"
[ "$(cached "$WORK/makefiles" TARVO_WERROR)" = OFF ] || fail "the old TARVO_WERROR stayed"

# A folder of this version is left as it is.
"$SOURCE/scripts/build.sh" --packages run --target qorfs "$WORK/makefiles" >"$WORK/log" 2>&1 ||
    fail "second build"
! grep -q "afresh" "$WORK/log" || fail "a current folder was configured afresh"
echo "build folders of other generators, checkouts and versions are configured afresh"
