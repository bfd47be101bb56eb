#!/bin/sh
# Runs the Windows build's tarvo.exe under Wine on an Xvfb display of its own,
# as a user would, and checks what the user sees: windows, their pixels,
# messages, the exit status, and with a sound server the sound stream.
#   tarvo_wine_e2e.sh WINE_SH PREFIX TARVO_EXE ARCHIVE CASE
# CASE: launch-escape     launcher shown, Launch, frames of the demo that
#                         move (the silent clock without a sound device),
#                         Escape ends it with status 0
#       damaged-archive   the fatal error message, OK, status 0
#       pulse-sound       as launch-escape with a PulseAudio null sink of
#                         the test's own: waveOut plays a stream on it
#       loop-off-end      Loop off: the demo ends by itself with status 0
set -eu

WINE_SH=$1
PREFIX=$2
TARVO=$3
ARCHIVE=$4
CASE=$5

if ! command -v wine >/dev/null 2>&1; then
    echo "SKIP: wine is not installed (scripts/bootstrap.sh installs it)"
    exit 77
fi

# The work folder, the display, the waits and the window lookups are the
# Linux end-to-end tests' own; Wine is stopped as well on the way out.
SCREEN=1280x1024x24
# shellcheck source=../e2e/e2e_common.sh
. "$(dirname "$0")/../e2e/e2e_common.sh"
stop_wine() {
    "$WINE_SH" "$PREFIX" --stop
    cleanup
}
trap stop_wine EXIT

# A sound server of the test's own: its null sink is the default sink, so
# Wine's waveOut plays on it. Without one waveOut has no device.
if [ "$CASE" = pulse-sound ]; then
    start_sound_server
else
    export PULSE_SERVER="unix:$WORK/no-such-socket"
fi

# Pixels of window $1 brighter than 32 (of 255) in grey, read from the
# screen: what a user sees of it.
lit_pixels() {
    geometry=$(xwininfo -id "$1" | awk '/Absolute upper-left X/{x=$NF} /Absolute upper-left Y/{y=$NF}
        /Width:/{w=$NF} /Height:/{h=$NF} END{print w "x" h "+" x "," y}')
    size=${geometry%%+*}
    offset=${geometry#*+}
    ffmpeg -loglevel error -f x11grab -video_size "$size" -i "$DISPLAY+$offset" -frames:v 1 \
        -f rawvideo -pix_fmt gray - 2>/dev/null |
        od -An -v -tu1 | awk '{for (i = 1; i <= NF; i++) if ($i > 32) n++} END {print n + 0}'
}
# A screenshot of window $1 as a checksum, to tell frames apart.
frame_sum() {
    geometry=$(xwininfo -id "$1" | awk '/Absolute upper-left X/{x=$NF} /Absolute upper-left Y/{y=$NF}
        /Width:/{w=$NF} /Height:/{h=$NF} END{print w "x" h "+" x "," y}')
    ffmpeg -loglevel error -f x11grab -video_size "${geometry%%+*}" -i "$DISPLAY+${geometry#*+}" \
        -frames:v 1 -f rawvideo -pix_fmt gray - 2>/dev/null | cksum
}
# True when at least 1% of window $1's pixels are lit.
not_black() {
    lit=$(lit_pixels "$1")
    pixels=$(xwininfo -id "$1" | awk '/Width:/{w=$NF} /Height:/{h=$NF} END{print w * h}')
    [ "$lit" -gt $((pixels / 100)) ]
}
# True once window $1 shows another picture than checksum $2.
changed() {
    [ "$(frame_sum "$1")" != "$2" ]
}
key() {
    xdotool key --window "$1" "$2"
}
# The fatal error box is shown and lit; Return sent to it ended the program.
box_shows() {
    find_shown 'Tarvo2 - Fatal error' '' && not_black "$shown"
}
box_answered() {
    ended && return 0
    find_shown 'Tarvo2 - Fatal error' '' && key "$shown" Return 2>/dev/null
    sleep 1
    ended
}
# Waits for tarvo.exe to end and fails unless its status is 0.
expect_exit_zero() {
    wait_for ended || fail "tarvo.exe did not end"
    status=$(cat "$WORK/status")
    TARVO_PID=
    [ "$status" -eq 0 ] || fail "exit status $status, expected 0"
}
ended() {
    test -s "$WORK/status"
}

# Wine keeps the display it met first for the whole session (its desktop,
# the display modes): each run starts a session of its own on its display.
"$WINE_SH" "$PREFIX" --stop

cd "$WORK"
cp "$TARVO" tarvo.exe
case "$CASE" in
    damaged-archive)
        # The archive's own start with its directory cut away.
        head -c 64 "$ARCHIVE" >tarvo.fs
        ;;
    *) cp "$ARCHIVE" tarvo.fs ;;
esac
("$WINE_SH" "$PREFIX" tarvo.exe </dev/null >"$WORK/stderr" 2>&1; echo $? >"$WORK/status") &
TARVO_PID=$!

launcher=$(window 'Tarvo2') || fail "no launcher"
wait_for not_black "$launcher" || fail "the launcher shows nothing"
case "$CASE" in
    damaged-archive)
        key "$launcher" Return
        # Wine may replace the box's window while it lays the box out (seen
        # on a loaded machine): it is looked up again for each look and key.
        wait_for box_shows || fail "no fatal error message, or it shows nothing"
        wait_for box_answered || fail "the message does not take Return"
        expect_exit_zero
        ;;
    loop-off-end)
        # Loop is off unless ticked: Launch, and the demo ends by itself at
        # its last beat.
        key "$launcher" Return
        demo=$(window 'Tarvo2' "$launcher") || fail "no demo window"
        expect_exit_zero
        ;;
    launch-escape | pulse-sound)
        key "$launcher" Return
        demo=$(window 'Tarvo2' "$launcher") || fail "no demo window"
        wait_for not_black "$demo" || fail "the demo's frames stay black"
        first=$(frame_sum "$demo")
        wait_for changed "$demo" "$first" || fail "the demo's picture does not move"
        if [ "$CASE" = pulse-sound ]; then
            pactl list short sink-inputs | grep -q . || fail "no sound stream reached the sound server"
        fi
        key "$demo" Escape
        expect_exit_zero
        ;;
    *) fail "unknown case" ;;
esac
echo "PASS ($CASE)"
