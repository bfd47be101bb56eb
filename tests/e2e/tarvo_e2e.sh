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
# SDL turns SIGTERM into a quit event, which the demo does not read.
cleanup() {
    [ -n "$TARVO_PID" ] && kill -KILL "$TARVO_PID" 2>/dev/null || true
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

# Every wait below is for the event itself (a window shows, a process ends),
# polled until TARVO_TEST_EVENT_DEADLINE seconds have passed: the suite's one
# deadline, set in tests/CMakeLists.txt and generous for a loaded machine.
DEADLINE=${TARVO_TEST_EVENT_DEADLINE:?set by CTest from tests/CMakeLists.txt}

# Runs "$@" until it succeeds (0) or the deadline passes (1).
wait_for() {
    limit=$(($(date +%s) + DEADLINE))
    until "$@"; do
        [ "$(date +%s)" -lt "$limit" ] || return 1
        sleep 0.1
    done
}

accepts_clients() {
    xwininfo -root >/dev/null 2>&1
}

# A display of our own: Xvfb picks a free number and writes it to fd 3.
Xvfb -displayfd 3 -screen 0 1920x1080x24 -nolisten tcp 3>"$WORK/display" 2>"$WORK/xvfb.log" &
XVFB_PID=$!
wait_for test -s "$WORK/display" || fail "Xvfb did not start"
DISPLAY=:$(cat "$WORK/display")
export DISPLAY
# The number is written as the server starts listening; on a busy machine a
# client may still be turned away for a moment, so wait for one to get in.
wait_for accepts_clients || fail "Xvfb does not accept clients"

# Sets "shown" to the id of a shown top-level window named exactly $1, other
# than window $2; false while there is none.
find_shown() {
    for shown in $(xwininfo -root -children 2>/dev/null | grep -F "\"$1\": (" | awk '{print $1}'); do
        [ "$shown" != "$2" ] || continue
        xwininfo -id "$shown" 2>/dev/null | grep -q 'Map State: IsViewable' && return 0
    done
    return 1
}

# Waits for a window named exactly $1, other than window $2 if given, to be
# shown, and prints its id. (SDL creates a window hidden and shows it once
# the program is ready; keys typed before would be lost.)
window() {
    wait_for find_shown "$1" "${2:-}" || return 1
    echo "$shown"
}

# True once window $1 no longer exists.
gone() {
    ! xwininfo -id "$1" >/dev/null 2>&1
}

# True once window $1 has the keyboard focus.
focus() {
    xdotool windowfocus --sync "$1" >/dev/null 2>&1
}

ended() {
    ! kill -0 "$TARVO_PID" 2>/dev/null
}

# Waits for the demo to end and checks that it ended with 0.
expect_exit_zero() {
    wait_for ended || fail "the demo did not end"
    wait "$TARVO_PID" && code=0 || code=$?
    TARVO_PID=
    [ "$code" = 0 ] || fail "exit code $code"
}

# Where window $1 is: "x y width height".
geometry() {
    xwininfo -id "$1" | awk '/Absolute upper-left X/ {x=$NF} /Absolute upper-left Y/ {y=$NF}
                             /Width:/ {w=$NF} /Height:/ {h=$NF} END {print x, y, w, h}'
}

at() {
    [ "$(geometry "$1")" = "$2" ]
}

# Waits for window $1 to take the place $2 ("x y width height"), else fails
# with $3: a full-screen window is moved onto the display mode just after it
# is shown.
expect_geometry() {
    wait_for at "$1" "$2" || fail "$3: $(geometry "$1")"
}

# Clicks the button at the bottom centre of a message box, its only one.
click_ok() {
    set -- $(geometry "$1")
    xdotool mousemove $(($1 + $3 / 2)) $(($2 + $4 - 25)) click 1
}

# Types a key into window $1 as a user would, the pointer over the window.
# With no window manager the program's own focus request may come after the
# key, which SDL would then drop; focusing the window first orders the focus
# ahead of the key. Keys queue in order, so none needs a pause after it.
key() {
    wait_for focus "$1" || fail "window $1 does not take the focus"
    xdotool mousemove --window "$1" 20 20
    xdotool key "$2"
}

# Presses Escape in window $1 unless the demo has ended; true once it has.
escaped() {
    ended && return 0
    xdotool windowfocus --sync "$1" >/dev/null 2>&1 &&
        xdotool mousemove --window "$1" 20 20 key Escape >/dev/null 2>&1
    sleep 0.5
    ended
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
        # The demo's window has the launcher's title: wait for the launcher
        # to go, then for the other window.
        wait_for gone "$launcher" || fail "the launcher stayed"
        demo=$(window 'Tarvo2' "$launcher") || fail "no demo window"
        expect_geometry "$demo" "50 50 1920 1080" "window not at (50, 50) fitted to the mode"
        key "$demo" Escape
        expect_exit_zero
        ;;
    fullscreen-escape)
        # Full screen is the default; the one mode Xvfb has is chosen.
        key "$launcher" Return
        wait_for gone "$launcher" || fail "the launcher stayed"
        demo=$(window 'Tarvo2' "$launcher") || fail "no demo window"
        expect_geometry "$demo" "0 0 1920 1080" "window does not cover the display mode"
        # SDL's X11 backend holds the keyboard focus back for a moment after
        # the display mode changes, as it does here, and drops the keys typed
        # meanwhile (FIXME in src/platform/win32/QUIRKS.md): press Escape
        # again, as a user would, until the demo ends.
        wait_for escaped "$demo" || fail "Escape does not end the demo"
        expect_exit_zero
        ;;
    *)
        fail "unknown case"
        ;;
esac
echo "ok ($CASE)"
