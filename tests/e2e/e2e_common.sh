# What the end-to-end scripts share, sourced after they set CASE: a work
# folder and a display of their own, cleaned up on exit, waits bounded by the
# suite's deadline, and the user's view of windows, keys and the demo's end.
# shellcheck shell=sh

WORK=$(mktemp -d)
XVFB_PID=
TARVO_PID=
SERVER_PID=
# SDL turns SIGTERM into a quit event, which the demo does not read.
cleanup() {
    [ -n "$TARVO_PID" ] && kill -KILL "$TARVO_PID" 2>/dev/null || true
    [ -n "$SERVER_PID" ] && kill "$SERVER_PID" 2>/dev/null || true
    [ -n "$XVFB_PID" ] && kill "$XVFB_PID" 2>/dev/null || true
    rm -rf "$WORK"
}
trap cleanup EXIT

fail() {
    echo "FAIL ($CASE): $*" >&2
    [ -f "$WORK/stderr" ] && sed 's/^/  tarvo: /' "$WORK/stderr" >&2
    [ -f "$WORK/xvfb.log" ] && sed 's/^/  Xvfb: /' "$WORK/xvfb.log" >&2
    [ -f "$WORK/server.log" ] && sed 's/^/  pulseaudio: /' "$WORK/server.log" >&2
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
Xvfb -displayfd 3 -screen 0 "${SCREEN:-1920x1080x24}" -nolisten tcp 3>"$WORK/display" 2>"$WORK/xvfb.log" &
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


# Ticks Windowed in launcher $1 (and Loop, with "loop" as $2) and launches;
# prints the demo window's id. Loop is the third tab stop and Windowed the
# fourth; Enter on a check box presses Launch. The demo's window has the
# launcher's title: wait for the launcher to go, then for the other window.
launch_windowed() {
    key "$1" Tab
    key "$1" Tab
    [ "${2:-}" != loop ] || key "$1" space
    key "$1" Tab
    key "$1" space
    key "$1" Return
    wait_for gone "$1" || return 1
    window 'Tarvo2' "$1"
}

# A PulseAudio server of our own (a null sink whose monitor is the default
# source), reachable only through its socket in the work folder: no system
# service, no autospawn. Exports what clients need to find it.
start_sound_server() {
    mkdir -p "$WORK/pulse"
    {
        echo "load-module module-null-sink sink_name=probe rate=44100 channels=2"
        echo "load-module module-native-protocol-unix socket=$WORK/pulse/native auth-anonymous=1"
        echo "set-default-sink probe"
        echo "set-default-source probe.monitor"
    } >"$WORK/pulse/server.pa"
    echo "autospawn = no" >"$WORK/pulse/client.conf"
    HOME="$WORK/pulse" XDG_RUNTIME_DIR="$WORK/pulse" PULSE_RUNTIME_PATH="$WORK/pulse/run" \
        pulseaudio -n -F "$WORK/pulse/server.pa" --daemonize=no --exit-idle-time=-1 \
        --use-pid-file=no --system=no --log-target=stderr 2>"$WORK/server.log" &
    SERVER_PID=$!
    PULSE_SERVER="unix:$WORK/pulse/native"
    PULSE_CLIENTCONFIG="$WORK/pulse/client.conf"
    export PULSE_SERVER PULSE_CLIENTCONFIG
    wait_for server_up || fail "the sound server did not start"
}

server_up() {
    pactl info >/dev/null 2>&1
}
