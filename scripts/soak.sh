#!/bin/sh
# Plays the shipped demo with Loop on, windowed under Xvfb and through a
# PulseAudio null sink of its own, for MINUTES of real time (30 unless
# given), and records the process from outside at the end of every loop of
# the song: resident memory, threads and open file descriptors. Fails when
# the last loop holds more than 8 MB of memory, or any thread or descriptor,
# beyond the second loop, or when the demo does not end with status 0 on
# Escape. The live GL and layer object counts per loop are the suite's
# SoakTest (three loops on the capture device).
#   scripts/soak.sh [MINUTES]      (after ./scripts/build.sh build)
set -eu
ROOT=$(cd "$(dirname "$0")/.." && pwd)
MINUTES=${1:-30}
TARVO=$ROOT/build/bin/tarvo
ARCHIVE=$ROOT/build/content/tarvo.fs
[ -x "$TARVO" ] && [ -f "$ARCHIVE" ] || { echo "soak: build first (./scripts/build.sh build)" >&2; exit 2; }
CASE=soak
SCREEN=1280x720x24
TARVO_TEST_EVENT_DEADLINE=${TARVO_TEST_EVENT_DEADLINE:-60}

# shellcheck source=../tests/e2e/e2e_common.sh
. "$ROOT/tests/e2e/e2e_common.sh"
start_sound_server

cd "$WORK"
cp "$ARCHIVE" tarvo.fs
TARVO_AUDIO_CLOCK_LOG="$WORK/clock.log" "$TARVO" 2>"$WORK/stderr" &
TARVO_PID=$!
launcher=$(window 'Tarvo2') || fail "no launcher"
demo=$(launch_windowed "$launcher" loop) || fail "no demo window"
wait_for test -s "$WORK/clock.log" || fail "the demo's clock never started"

# One row per loop: when the song's position runs back, the loop before it
# has ended.
sample() {
    rss=$(awk '/^VmRSS:/ {print $2}' "/proc/$TARVO_PID/status")
    threads=$(awk '/^Threads:/ {print $2}' "/proc/$TARVO_PID/status")
    fds=$(ls "/proc/$TARVO_PID/fd" | wc -l)
    echo "$1 $rss $threads $fds"
}
end=$(($(date +%s) + MINUTES * 60))
loop=1
last=0
: >"$WORK/loops"
while [ "$(date +%s)" -lt "$end" ]; do
    ended && fail "the demo ended by itself"
    position=$(tail -n 1 "$WORK/clock.log" | awk '{print $2}')
    if awk -v p="$position" -v l="$last" 'BEGIN { exit !(p + 1 < l) }'; then
        sample "$loop" >>"$WORK/loops"
        echo "soak: loop $loop ended after $(($(date +%s) - end + MINUTES * 60)) s: $(tail -n 1 "$WORK/loops")"
        loop=$((loop + 1))
    fi
    last=$position
    sleep 1
done
frames=$(wc -l <"$WORK/clock.log")
key "$demo" Escape
expect_exit_zero

echo "loop resident_kb threads fds"
cat "$WORK/loops"
echo "$frames frames in $MINUTES minutes"
sed 's/^/tarvo: /' "$WORK/stderr" >&2
[ "$(wc -l <"$WORK/loops")" -ge 3 ] || fail "fewer than three loops"
awk 'NR == 2 { rss = $2; threads = $3; fds = $4 }
     END { if ($2 > rss + 8192 || $3 > threads || $4 > fds) exit 1 }' "$WORK/loops" ||
    fail "the last loop holds more than the second"
echo "ok (soak)"
