#!/bin/sh
# Runs a Windows program under Wine in the build's own prefix:
#   wine.sh PREFIX PROGRAM [ARGUMENTS...]
#   wine.sh PREFIX --stop      ends the prefix's server and its processes
# The first caller makes the prefix (wineboot, then the X11 driver told that
# no window manager runs: otherwise every DestroyWindow waits 2 s for one);
# later callers wait for it under a lock. One wineserver serves every run and
# stays 30 s after the last, so the suite starts it once and leaves nothing
# running.
set -eu
PREFIX=$1
shift

if ! command -v wine >/dev/null 2>&1; then
    echo "wine is not installed (scripts/bootstrap.sh installs it)" >&2
    exit 1
fi

export WINEPREFIX="$PREFIX"
export WINEDEBUG=-all
# No .NET or HTML engine to install: the first wineboot takes seconds, not minutes.
export WINEDLLOVERRIDES="mscoree,mshtml="

if [ "${1:-}" = --stop ]; then
    [ -d "$PREFIX" ] && wineserver -k 2>/dev/null || true
    exit 0
fi

mkdir -p "$(dirname "$PREFIX")"
(
    flock 9
    if [ ! -f "$PREFIX/.tarvo-ready" ]; then
        rm -rf "$PREFIX"
        wineboot -i </dev/null >/dev/null 2>&1
        wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f </dev/null >/dev/null 2>&1
        wineserver -w
        touch "$PREFIX/.tarvo-ready"
    fi
) 9>"$PREFIX.lock"

# The server and Wine's own processes (services, device drivers) are
# started here with no inherited output: otherwise they would hold CTest's
# pipe open after the test ends, and CTest would wait for them.
wineserver -p30 </dev/null >/dev/null 2>&1 || true
wine cmd.exe /c exit </dev/null >/dev/null 2>&1
exec wine "$@"
