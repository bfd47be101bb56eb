#!/bin/sh
# The demo heard through a real sound server: PulseAudio started here as our
# own process (a null sink, its own runtime folder, no system service, no
# autospawn), the demo launched windowed under Xvfb with a song of tone
# bursts, and the sink's monitor recorded against the clock the demo logs
# each frame. Passes when every burst is heard within LIMIT_MS of the time
# the demo's clock said it was heard.
#   av_offset.sh TARVO ARCHIVE PROBE [LIMIT_MS]
# With SDL_AUDIODRIVER=pulseaudio in the environment the demo plays through
# SDL's own PulseAudio output instead, which reports no latency.
set -eu

TARVO=$1
ARCHIVE=$2
PROBE=$3
LIMIT_MS=${4:-20}
CASE=av-offset
SCREEN=1280x720x24

# shellcheck source=e2e_common.sh
. "$(dirname "$0")/e2e_common.sh"

start_sound_server

cd "$WORK"
"$PROBE" archive "$ARCHIVE" tarvo.fs || fail "cannot write the archive"
TARVO_AUDIO_CLOCK_LOG="$WORK/clock.log" "$TARVO" 2>"$WORK/stderr" &
TARVO_PID=$!

launcher=$(window 'Tarvo2') || fail "no launcher"
demo=$(launch_windowed "$launcher") || fail "no demo window"
# The clock log starts with the first frame, after loading.
wait_for test -s "$WORK/clock.log" || fail "the demo's clock never started"
"$PROBE" measure "$WORK/clock.log" 20 "$LIMIT_MS" || fail "the picture is off the sound"
key "$demo" Escape
expect_exit_zero
sed 's/^/tarvo: /' "$WORK/stderr" >&2
echo "ok ($CASE)"
