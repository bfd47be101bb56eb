#!/bin/sh
# Runs the demo as a user would, in a real window under Xvfb, and checks what
# the user sees: windows, messages and the exit code.
#   tarvo_e2e.sh TARVO ARCHIVE CASE
# CASE: exit | missing-archive | wrong-magic | windowed-escape | fullscreen-escape
set -eu

TARVO=$1
ARCHIVE=$2
CASE=$3

WORK=$(mktemp -d)
XVFB_PID=
TARVO_PID=
cleanup() {
    [ -n "$TARVO_PID" ] && kill "$TARVO_PID" 2>/dev/null || true
    [ -n "$XVFB_PID" ] && kill "$XVFB_PID" 2>/dev/null || true
    rm -rf "$WORK"
}
trap cleanup EXIT

fail() {
    echo "FAIL ($CASE): $*" >&2
    [ -f "$WORK/stderr" ] && sed 's/^/  tarvo: /' "$WORK/stderr" >&2
    [ -f "$WORK/xvfb.log" ] && sed 's/^/  Xvfb: /' "$WORK/xvfb.log" >&2
    exit 1
}

# A display of our own: Xvfb picks a free number and writes it to fd 3.
Xvfb -displayfd 3 -screen 0 1920x1080x24 -nolisten tcp 3>"$WORK/display" 2>"$WORK/xvfb.log" &
XVFB_PID=$!
for _ in $(seq 50); do [ -s "$WORK/display" ] && break; sleep 0.1; done
[ -s "$WORK/display" ] || fail "Xvfb did not start"
DISPLAY=:$(cat "$WORK/display")
export DISPLAY
# The number is written as the server starts listening; on a busy machine a
# client may still be turned away for a moment, so wait for one to get in.
for _ in $(seq 100); do xwininfo -root >/dev/null 2>&1 && break; sleep 0.1; done
xwininfo -root >/dev/null 2>&1 || fail "Xvfb does not accept clients"

# The top-level windows named exactly $1, as "id geometry" lines.
windows_named() {
    xwininfo -root -children 2>/dev/null | grep -F "\"$1\": (" | awk '{print $1, $(NF-1)}'
}

# Waits up to 15 s for a window named exactly $1 and prints its id, once the
# same window is still there a moment later (SDL may recreate a window when
# it gives it an OpenGL visual).
window() {
    previous=
    for _ in $(seq 50); do
        id=$(windows_named "$1" | tail -n 1 | cut -d' ' -f1)
        if [ -n "$id" ] && [ "$id" = "$previous" ]; then
            echo "$id"
            return 0
        fi
        previous=$id
        sleep 0.3
    done
    return 1
}

# Waits up to 15 s for the demo to end and checks that it ended with 0.
expect_exit_zero() {
    for _ in $(seq 150); do
        if ! kill -0 "$TARVO_PID" 2>/dev/null; then
            wait "$TARVO_PID" && code=0 || code=$?
            TARVO_PID=
            [ "$code" = 0 ] || fail "exit code $code"
            return 0
        fi
        sleep 0.1
    done
    fail "the demo did not end"
}

# Where window $1 is: "x y width height".
geometry() {
    xwininfo -id "$1" | awk '/Absolute upper-left X/ {x=$NF} /Absolute upper-left Y/ {y=$NF}
                             /Width:/ {w=$NF} /Height:/ {h=$NF} END {print x, y, w, h}'
}

# Clicks the button at the bottom centre of a message box, its only one.
click_ok() {
    set -- $(geometry "$1")
    xdotool mousemove $(($1 + $3 / 2)) $(($2 + $4 - 25)) click 1
}

# Types a key into window $1 as a user would: with no window manager the
# keyboard follows the pointer, so the pointer goes to the window first.
key() {
    xdotool mousemove --window "$1" 20 20
    xdotool key "$2"
    sleep 0.2
}

cd "$WORK"
case "$CASE" in
    wrong-magic) printf 'QORFS2\0\0\0\0\0\0\0\0' >tarvo.fs ;;
    missing-archive) ;;
    *) cp "$ARCHIVE" tarvo.fs ;;
esac
"$TARVO" 2>"$WORK/stderr" &
TARVO_PID=$!

launcher=$(window 'Tarvo2') || fail "no launcher"
case "$CASE" in
    exit)
        # Exit is the second tab stop; nothing is opened before it ends.
        key "$launcher" Tab
        key "$launcher" space
        expect_exit_zero
        [ ! -s "$WORK/stderr" ] || fail "unexpected output"
        ;;
    missing-archive)
        # A message box would hold the program until answered: ending by
        # itself shows that none was shown.
        key "$launcher" Return
        expect_exit_zero
        ;;
    wrong-magic)
        key "$launcher" Return
        box=$(window 'Tarvo2 - Fatal error') || fail "no message box"
        click_ok "$box"
        expect_exit_zero
        ;;
    windowed-escape)
        # Windowed is the fourth tab stop; Enter on a check box presses Launch.
        key "$launcher" Tab
        key "$launcher" Tab
        key "$launcher" Tab
        key "$launcher" space
        key "$launcher" Return
        sleep 1
        demo=$(window 'Tarvo2') || fail "no demo window"
        [ "$(geometry "$demo")" = "50 50 1920 1080" ] ||
            fail "window not at (50, 50) fitted to the mode: $(geometry "$demo")"
        key "$demo" Escape
        expect_exit_zero
        ;;
    fullscreen-escape)
        # Full screen is the default; the one mode Xvfb has is chosen.
        key "$launcher" Return
        sleep 1
        demo=$(window 'Tarvo2') || fail "no demo window"
        [ "$(geometry "$demo")" = "0 0 1920 1080" ] ||
            fail "window does not cover the display mode: $(geometry "$demo")"
        key "$demo" Escape
        expect_exit_zero
        ;;
    *)
        fail "unknown case"
        ;;
esac
echo "ok ($CASE)"
