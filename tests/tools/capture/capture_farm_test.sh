#!/bin/bash
# scripts/capture-farm.sh run as a user runs it, at 96 x 54 over 30 frames
# around the hog's flash at beat 16 (frames 160 to 189 at 30 fps), split in
# three shards of 10 frames. Usage: capture_farm_test.sh CASE FARM CAPTURE ARCHIVE
#   options    bad options: usage, status 2, before any job
#   join       two local slots: the video equals a whole run, frame for frame
#              (lossless, so decoded frames compare exactly, the seams
#              included), and the sound equals the whole run's, packet for packet
#   retry      a shard that fails once is tried again and the video is whole
#   resume     a shard that fails every time: its name and machine, status 1,
#              no output; run again, only that shard is rendered
#   interrupt  Ctrl-C while shards render: status 130, no output, no
#              half-written file, no capture left running
#   ssh        one job on a machine reached over ssh on 127.0.0.1, through an
#              sshd of the test's own (skipped where sshd cannot start)
set -u
CASE=$1
FARM=$2
CAPTURE=$3
ARCHIVE=$4
SKIP=77

WORK=$(mktemp -d /tmp/capture-farm-test-XXXXXX)
SSHD_PID=""
cleanup() {
    [ -n "$SSHD_PID" ] && kill "$SSHD_PID" 2>/dev/null
    rm -rf "$WORK"
}
trap cleanup EXIT
cd "$WORK" || exit 1

fail() {
    echo "FAIL ($CASE): $*" >&2
    exit 1
}
SIZE=(--width 96 --height 54 --fps 30)
RANGE=160:190
SHARDS=(160:170 170:180 180:190)

# A capture that fails the shards listed in fail-always, and those in
# fail-once the first time, and otherwise is the real one; it notes the
# range of every shard it is asked for.
cat >capture.sh <<EOF
#!/bin/sh
frames=""; previous=""
for argument; do [ "\$previous" = --frames ] && frames=\$argument; previous=\$argument; done
echo "\$frames" >>"$WORK/ran"
if grep -qx -- "\$frames" "$WORK/fail-always" 2>/dev/null; then
    echo "forced failure of \$frames" >&2; exit 1
fi
if grep -qx -- "\$frames" "$WORK/fail-once" 2>/dev/null &&
    ! grep -qx -- "\$frames" "$WORK/failed" 2>/dev/null; then
    echo "\$frames" >>"$WORK/failed"; echo "forced failure of \$frames" >&2; exit 1
fi
exec "$CAPTURE" "\$@"
EOF
chmod +x capture.sh
printf '2/:\n' >local-hosts

# The decoded pictures' checksums with their times, and the sound's packets.
frames_of() { ffmpeg -nostdin -v error -i "$1" -map 0:v -f framemd5 - | grep -v '^#' | cut -d, -f2,6; }
sound_of() { ffmpeg -nostdin -v error -i "$1" -map 0:a -c copy -f framemd5 - | grep -v '^#' | cut -d, -f2,3,6; }
whole_run() {
    "$CAPTURE" "${SIZE[@]}" --frames $RANGE --lossless -o whole.mp4 "$ARCHIVE" 2>whole.log ||
        fail "the whole run failed: $(tail -n 3 whole.log)"
}
expect_whole() {
    [ -f "$1" ] || fail "no $1"
    frames_of whole.mp4 >whole.frames
    frames_of "$1" >farm.frames
    [ "$(wc -l <whole.frames)" -eq 30 ] || fail "the whole run has $(wc -l <whole.frames) frames"
    [ "$(wc -l <farm.frames)" -eq 30 ] || fail "the joined video has $(wc -l <farm.frames) frames, not 30"
    diff whole.frames farm.frames >&2 || fail "the joined frames differ from the whole run's (above)"
    [ "$(ffprobe -v error -select_streams v -show_entries stream=nb_frames -of csv=p=0 "$1")" = 30 ] ||
        fail "the joined video does not declare 30 frames"
    sound_of whole.mp4 >whole.sound
    sound_of "$1" >farm.sound
    [ -s whole.sound ] || fail "the whole run has no sound"
    diff -q whole.sound farm.sound >&2 || fail "the joined sound differs from the whole run's"
}
farm() { "$FARM" "${SIZE[@]}" --frames $RANGE --lossless --shards 3 "$@" "$ARCHIVE"; }
shard_runs() { grep -cx -- "$1" ran 2>/dev/null; }

case $CASE in
options)
    for arguments in "--shards 0" "--shards x" "--jobs-per-host" "--retries -1" "--widht 96" \
        "--hosts missing-file" "--width 95" "--frames 10:5" "a.fs b.fs" "--capture /nonexistent"; do
        # shellcheck disable=SC2086
        "$FARM" $arguments -o out.mp4 --work work "$ARCHIVE" >out.txt 2>err.txt
        status=$?
        [ $status -eq 2 ] || fail "'$arguments' ended with $status, not 2"
        grep -q "^usage: " err.txt || fail "'$arguments' did not show the usage: $(cat err.txt)"
        grep -q "^capture-farm: \|^tarvo-capture: " err.txt || fail "'$arguments' gave no message"
        [ ! -e out.mp4 ] && [ ! -e work ] || fail "'$arguments' started work"
    done
    "$FARM" --help | grep -q -- "--hosts FILE" || fail "--help does not show the usage"
    ;;
join)
    whole_run
    farm --hosts local-hosts -o farm.mp4 2>farm.log || fail "the farm failed: $(cat farm.log)"
    expect_whole farm.mp4
    [ ! -e farm.mp4.farm ] || fail "the work folder was left behind after success"
    grep -q '3 of 3 shards done' farm.log || fail "no progress line: $(cat farm.log)"
    ;;
retry)
    whole_run
    echo 170:180 >fail-once
    farm --hosts local-hosts --capture "$WORK/capture.sh" -o farm.mp4 2>farm.log ||
        fail "a shard failing once ended the farm: $(cat farm.log)"
    [ "$(shard_runs 170:180)" -eq 2 ] || fail "170:180 ran $(shard_runs 170:180) times, not 2"
    expect_whole farm.mp4
    ;;
resume)
    whole_run
    echo 170:180 >fail-always
    farm --hosts local-hosts --capture "$WORK/capture.sh" --retries 2 -o farm.mp4 2>farm.log
    status=$?
    [ $status -eq 1 ] || fail "a shard failing every time ended with $status, not 1: $(cat farm.log)"
    grep -q "shard 0001 (frames 170:180) failed on this machine" farm.log ||
        fail "the message does not name the shard and the machine: $(cat farm.log)"
    grep -q "forced failure of 170:180" farm.log || fail "the shard's own words are not shown"
    [ ! -e farm.mp4 ] && [ ! -e farm.mp4.part ] || fail "an output was written"
    [ "$(shard_runs 170:180)" -eq 2 ] || fail "170:180 ran $(shard_runs 170:180) times, not 2"
    : >ran
    : >fail-always
    farm --hosts local-hosts --capture "$WORK/capture.sh" -o farm.mp4 2>farm.log ||
        fail "the resumed farm failed: $(cat farm.log)"
    for shard in "${SHARDS[@]}"; do
        expected=0
        [ "$shard" = 170:180 ] && expected=1
        [ "$(shard_runs "$shard")" -eq $expected ] ||
            fail "resumed, $shard ran $(shard_runs "$shard") times, not $expected"
    done
    expect_whole farm.mp4
    ;;
interrupt)
    # As Ctrl-C does: SIGINT to the farm's whole process group. A command
    # started with & here would begin with SIGINT ignored, which a shell
    # cannot undo; the farm starts with the default, as from a terminal.
    python3 -c 'import os, signal, sys
signal.signal(signal.SIGINT, signal.SIG_DFL)
os.setsid()
os.execvp(sys.argv[1], sys.argv[1:])' "$FARM" "${SIZE[@]}" --frames $RANGE --shards 3 --hosts local-hosts \
        --capture "$WORK/capture.sh" -o farm.mp4 "$ARCHIVE" 2>farm.log &
    farm_pid=$!
    for _ in $(seq 600); do
        [ -n "$(ls farm.mp4.farm/part-*.mp4.part 2>/dev/null)" ] && break
        sleep 0.1
    done
    [ -n "$(ls farm.mp4.farm/part-*.mp4.part 2>/dev/null)" ] || fail "no shard began: $(cat farm.log)"
    kill -INT -- -"$farm_pid"
    wait "$farm_pid"
    status=$?
    [ $status -eq 130 ] || fail "interrupted, the farm ended with $status, not 130: $(cat farm.log)"
    # Ended processes that only wait to be reaped (Z) are not running.
    sleep 1
    [ -z "$(ps -o stat= -g "$farm_pid" | grep -v '^Z')" ] ||
        fail "processes of the farm are left: $(ps -f -g "$farm_pid")"
    [ ! -e farm.mp4 ] && [ ! -e farm.mp4.part ] || fail "an output was written"
    left=$(find . -name '*.part')
    [ -z "$left" ] || fail "half-written files are left: $left"
    ;;
ssh)
    command -v sshd >/dev/null || command -v /usr/sbin/sshd >/dev/null || {
        echo "SKIP: no sshd (Debian package openssh-server)"
        exit $SKIP
    }
    ssh-keygen -q -t ed25519 -N '' -f host-key && ssh-keygen -q -t ed25519 -N '' -f user-key ||
        fail "ssh-keygen failed"
    cp user-key.pub authorized-keys
    chmod 600 authorized-keys
    port=$(python3 -c 'import socket; s = socket.socket(); s.bind(("127.0.0.1", 0)); print(s.getsockname()[1])')
    cat >sshd-config <<EOF
Port $port
ListenAddress 127.0.0.1
HostKey $WORK/host-key
AuthorizedKeysFile $WORK/authorized-keys
PidFile $WORK/sshd.pid
PasswordAuthentication no
KbdInteractiveAuthentication no
StrictModes no
UsePAM no
EOF
    mkdir -p /run/sshd 2>/dev/null
    # In the foreground (-D), so that the test owns the daemon's process.
    /usr/sbin/sshd -D -f sshd-config -E sshd.log &
    SSHD_PID=$!
    ssh_command="ssh -i $WORK/user-key -p $port -o StrictHostKeyChecking=no -o UserKnownHostsFile=/dev/null -o BatchMode=yes -o LogLevel=ERROR"
    for _ in $(seq 100); do
        $ssh_command 127.0.0.1 true 2>/dev/null && break
        kill -0 "$SSHD_PID" 2>/dev/null || break
        sleep 0.1
    done
    $ssh_command 127.0.0.1 true 2>ssh.log || {
        echo "SKIP: sshd cannot start or be reached here: $(tail -n 2 sshd.log ssh.log | tr '\n' ' ')"
        exit $SKIP
    }
    echo "1/$ssh_command 127.0.0.1" >ssh-hosts
    whole_run
    farm --hosts ssh-hosts --shards 1 -o farm.mp4 2>farm.log || fail "the farm over ssh failed: $(cat farm.log)"
    expect_whole farm.mp4
    [ -z "$($ssh_command 127.0.0.1 'ls -d .tarvo-farm-* 2>/dev/null')" ] ||
        fail "the job's folder is left on the machine"
    kill "$SSHD_PID"
    wait "$SSHD_PID" 2>/dev/null
    SSHD_PID=""
    ;;
*)
    fail "no such case"
    ;;
esac
echo "PASS ($CASE)"
