#!/bin/sh
# Checks that every C and C++ file git knows (tests/data's fixtures aside)
# is formatted as .clang-format says; with --fix, formats them instead.
# The suite runs the check; developers run it with --fix before committing.
set -eu
cd "$(dirname "$0")/.."

if ! command -v clang-format >/dev/null 2>&1; then
    echo "check-format: clang-format is not installed (Debian package clang-format)" >&2
    exit 2
fi

files=$(git ls-files '*.c' '*.cpp' '*.h' | grep -v '^tests/data/')
if [ "${1:-}" = "--fix" ]; then
    # shellcheck disable=SC2086
    clang-format -i $files
    exit 0
fi
# shellcheck disable=SC2086
clang-format --dry-run -Werror $files
