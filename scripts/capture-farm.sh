#!/bin/bash
# Renders the demo to a video on several machines at once: splits the frame
# range into shards, runs tarvo-capture on each through GNU parallel (local
# job slots and any machine reachable with ssh), and joins the parts.
#
# The parts carry pictures only and are joined without encoding them again
# (each starts on a key frame); the sound of the whole range is written once
# by a capture that draws nothing, so it has no seam. Finished shards are
# kept in a work folder beside the output, so running the same command again
# renders only the shards still missing.
set -u

PROGRAM=capture-farm
HERE=$(cd "$(dirname "$0")" && pwd)

usage() {
    cat <<'EOF'
usage: scripts/capture-farm.sh [options] [ARCHIVE]
Renders the demo to an MP4 video with tarvo-capture on this machine's cores
and on machines reached with ssh, through GNU parallel, and joins the parts
into the video a single run gives.

  ARCHIVE              the demo's archive (default: tarvo.fs)
  -o, --output FILE    the MP4 to write (default: tarvo.mp4)
  --width W, --height H, --fps N, --aspect A, --frames FIRST:LAST,
  --beats FROM:TO, --lossless
                       as tarvo-capture takes them (see tarvo-capture --help)
  --hosts FILE         GNU parallel's ssh login file: a machine a line, as
                       "4/user@host" (4 job slots there) or ":" for this
                       machine (default: this machine only)
  --jobs-per-host N    job slots on a machine whose line gives none (default:
                       its cores)
  --shards N           parts the range is split into (default: 3 per job
                       slot, so that a slow machine does not hold up the end)
  --retries N          tries of a shard, each on a machine where it has not
                       failed yet (default 3)
  --capture PATH       tarvo-capture on every machine (default: this build's,
                       which the other machines need at the same path)
  --work DIR           the parts and the job log (default: OUTPUT.farm); kept
                       after a failure or Ctrl-C so that a new run resumes
  -h, --help           show this text

Each machine needs the capture and its libraries (checked before any job
starts) and rsync; the archive is sent to it once. Exit status: 0 done,
1 a shard failed on every machine it was tried on or the join failed, 2 bad
options or input, 130 interrupted.
EOF
}

complain() { echo "$PROGRAM: $*" >&2; }
bad_usage() {
    complain "$*"
    usage >&2
    exit 2
}
whole_number() { [[ $1 =~ ^[0-9]{1,6}$ ]] && ((10#$1 >= 1)); }

output=tarvo.mp4
archive=tarvo.fs
hosts_file=""
jobs_per_host=""
shards=""
retries=3
capture=""
work=""
capture_options=()
picture_options=()
archive_given=0
while (($# > 0)); do
    option=$1
    case $option in
    -h | --help)
        usage
        exit 0
        ;;
    --lossless)
        picture_options+=("$option")
        shift
        continue
        ;;
    -o | --output | --width | --height | --fps | --aspect | --frames | --beats | --hosts | \
        --jobs-per-host | --shards | --retries | --capture | --work)
        (($# >= 2)) && [ -n "$2" ] || bad_usage "option '$option' needs a value"
        value=$2
        shift 2
        ;;
    -*)
        [ "$option" = - ] || bad_usage "unknown option '$option'"
        ;;
    esac
    case $option in
    -o | --output) output=$value ;;
    --width | --height | --fps | --aspect | --frames | --beats)
        capture_options+=("$option" "$value")
        ;;
    --hosts) hosts_file=$value ;;
    --jobs-per-host)
        whole_number "$value" || bad_usage "--jobs-per-host must be a whole number from 1, not '$value'"
        jobs_per_host=$((10#$value))
        ;;
    --shards)
        whole_number "$value" || bad_usage "--shards must be a whole number from 1, not '$value'"
        shards=$((10#$value))
        ;;
    --retries)
        whole_number "$value" || bad_usage "--retries must be a whole number from 1, not '$value'"
        retries=$((10#$value))
        ;;
    --capture) capture=$value ;;
    --work) work=$value ;;
    *)
        ((archive_given == 0)) || bad_usage "more than one archive given: '$archive' and '$option'"
        archive=$option
        archive_given=1
        shift
        ;;
    esac
done

absolute() { case $1 in /*) echo "$1" ;; *) echo "$PWD/$1" ;; esac }

for tool in parallel ffmpeg rsync; do
    command -v "$tool" >/dev/null || {
        complain "'$tool' is not installed (scripts/bootstrap.sh installs it)"
        exit 2
    }
done
if [ -z "$capture" ]; then
    capture=$HERE/../build/bin/tarvo-capture
    [ -x "$capture" ] && capture=$(cd "$(dirname "$capture")" && pwd)/tarvo-capture
fi
[ -x "$capture" ] || bad_usage "'$capture' is not a program here (--capture)"
capture=$(absolute "$capture")
[ -f "$archive" ] && [ -r "$archive" ] || bad_usage "cannot read the archive '$archive'"
archive=$(absolute "$archive")
case $output in *.part) bad_usage "the output's name may not end in .part" ;; esac
output=$(absolute "$output")
[ -d "$(dirname "$output")" ] || bad_usage "no folder for the output '$output'"
[ -n "$work" ] || work=$output.farm
work=$(absolute "$work")

# The machines, as GNU parallel reads the login file: comments and empty
# lines left out.
logins=()
if [ -n "$hosts_file" ]; then
    [ -r "$hosts_file" ] || bad_usage "cannot read the hosts file '$hosts_file'"
    while IFS= read -r line || [ -n "$line" ]; do
        line=${line%%#*}
        line=$(echo "$line" | sed 's/^[[:space:]]*//; s/[[:space:]]*$//')
        [ -n "$line" ] && logins+=("$line")
    done <"$hosts_file"
    ((${#logins[@]} > 0)) || bad_usage "the hosts file '$hosts_file' names no machine"
else
    logins=(":")
fi

# Every option, the archive and the range are checked by the capture itself
# before anything is sent anywhere; it answers with the range resolved.
if ! range=$("$capture" --print-range "${capture_options[@]}" "${picture_options[@]}" "$archive"); then
    usage >&2
    exit 2
fi
read -r first last <<<"$range"
[[ $first =~ ^[0-9]+$ && $last =~ ^[0-9]+$ ]] || {
    complain "the capture gave no range: '$range'"
    exit 1
}

# Job slots: "N/" in front of a login, else --jobs-per-host (written in
# front of the login for parallel), else the machine's cores (this
# machine's stand for all when counting shards).
cores=$(nproc)
slots=0
for index in "${!logins[@]}"; do
    login=${logins[$index]}
    if [[ $login =~ ^([0-9]+)/ ]]; then
        slots=$((slots + 10#${BASH_REMATCH[1]}))
    elif [ -n "$jobs_per_host" ]; then
        logins[$index]=$jobs_per_host/$login
        slots=$((slots + jobs_per_host))
    else
        slots=$((slots + cores))
    fi
done
frames=$((last - first))
[ -n "$shards" ] || shards=$((slots * 3))
((shards > frames)) && shards=$frames

# The pre-flight check: on every machine the capture runs, finds its
# libraries, and rsync is there to receive the archive and send parts back.
check='m=""; if [ ! -x "$c" ]; then m="$m; no program $c";
elif l=$(ldd "$c" 2>&1 | grep "not found"); then m="$m; libraries missing:$(echo "$l" | sed "s/=>.*//" | tr -d "\t" | tr "\n" " ")";
elif ! "$c" --help >/dev/null 2>&1; then m="$m; $c does not start"; fi;
command -v rsync >/dev/null || m="$m; no rsync"; echo "${m#; }"'
check="c=$(printf '%q' "$capture"); $check"
# "machine 'user@host'" from a login line, or "this machine" for ":".
host_of() {
    local login=$1
    [[ $login =~ ^[0-9]+/(.*)$ ]] && login=${BASH_REMATCH[1]}
    login=${login##* }
    case $login in
    : | "") echo "this machine" ;;
    *) echo "machine '$login'" ;;
    esac
}
faults=0
for login in "${logins[@]}"; do
    host=$(host_of "$login")
    if ! answer=$(parallel -S "$login" --nonall "$check" 2>&1 </dev/null); then
        complain "$host cannot be reached: $(echo "$answer" | tail -n 1)"
        faults=$((faults + 1))
    elif [ -n "$answer" ]; then
        complain "$host: $answer"
        faults=$((faults + 1))
    fi
done
((faults == 0)) || exit 2

# The work folder remembers what its parts are of; parts of another
# capture are never joined into this one.
settings="$capture ${capture_options[*]} ${picture_options[*]} $first:$last shards=$shards $(cksum <"$archive")"
mkdir -p "$work" || exit 2
if [ -f "$work/settings" ] && [ "$(cat "$work/settings")" != "$settings" ]; then
    complain "'$work' holds the parts of another capture; remove it or give --work"
    exit 2
fi
printf '%s\n' "$settings" >"$work/settings"
rm -f "$work"/*.part "$work"/.*.part
# The archive under a fixed name, sent to each machine once.
if [ ! -f "$work/tarvo.fs" ]; then
    ln "$archive" "$work/tarvo.fs" 2>/dev/null || cp "$archive" "$work/tarvo.fs" || exit 1
fi

# Shard i: frames first + i * frames / shards up to the next one's first.
: >"$work/shards"
for ((i = 0; i < shards; i++)); do
    printf '%04d %d:%d\n' "$i" $((first + i * frames / shards)) $((first + (i + 1) * frames / shards)) \
        >>"$work/shards"
done

# Jobs run in a folder of that name: in the login folder of another
# machine, which --cleanup removes, and here in the work folder itself.
remote_folder=.tarvo-farm-$(uname -n)-$$
ln -sfn . "$work/$remote_folder"
running=""
finish() {
    [ -n "$running" ] && kill "$running" 2>/dev/null
    rm -f "$work/$remote_folder" "$work"/*.part "$output.part"
}
# Ctrl-C reaches parallel, which stops every job (the captures remove what
# they had begun), and this shell once parallel has returned; the sound's
# capture, in the background, is stopped here as well.
interrupted() {
    trap '' INT TERM
    [ -n "$sound_pid" ] && kill -TERM "$sound_pid" 2>/dev/null && wait "$sound_pid"
    finish
    complain "interrupted; the finished shards are kept in '$work' for the next run"
    exit 130
}
sound_pid=""
trap interrupted INT TERM
trap finish EXIT

cd "$work" || exit 1
# The sound of the whole range, on this machine while the shards render.
if [ ! -f sound.mp4 ]; then
    "$capture" --sound-only "${capture_options[@]}" -o sound.mp4 tarvo.fs 2>sound.log &
    sound_pid=$!
fi

# One line of progress for the whole job, from the job log.
progress() {
    local tty=0 done=0 line=""
    [ -t 2 ] && tty=1
    local start=$SECONDS
    line=""
    while :; do
        [ -f joblog ] || {
            sleep 1
            continue
        }
        done=$(awk -F'\t' 'NR > 1 && $7 == 0 { n++ } END { print n + 0 }' joblog 2>/dev/null)
        local failed
        failed=$(awk -F'\t' 'NR > 1 && $7 != 0 { n++ } END { print n + 0 }' joblog 2>/dev/null)
        local now="$PROGRAM: $done of $shards shards done ($failed tries failed)"
        if ((tty)); then
            printf '\r%s, %d s ' "$now" $((SECONDS - start)) >&2
        elif [ "$now" != "$line" ]; then
            echo "$now" >&2
        fi
        line=$now
        sleep 2
    done
}
complain "frames $first to $((last - 1)) in $shards shards on ${#logins[@]} machine(s), $slots job slot(s)"
progress &
running=$!

# Each shard writes part-NNNN.mp4 under a temporary name and renames it when
# complete, so a part that exists is whole; its messages go to part-NNNN.log.
login_arguments=()
transfer=()
for login in "${logins[@]}"; do
    login_arguments+=(-S "$login")
    [ "$login" = : ] || [[ $login =~ ^[0-9]+/:$ ]] || transfer=(--wd "$remote_folder"
        --basefile tarvo.fs --return 'part-{1}.mp4' --return 'part-{1}.log' --cleanup)
done
parallel --colsep ' ' "${login_arguments[@]}" \
    --joblog joblog --resume-failed --retries "$retries" --halt never \
    "${transfer[@]}" --termseq INT,2000,TERM,2000,KILL,25 \
    "$capture" --no-sound "${capture_options[@]}" "${picture_options[@]}" --frames '{2}' -o 'part-{1}.mp4' tarvo.fs \
    '2>part-{1}.log' <shards
status=$?
kill "$running" 2>/dev/null
wait "$running" 2>/dev/null
running=""
[ -t 2 ] && printf '\r' >&2
complain "$(ls part-*.mp4 2>/dev/null | wc -l) of $shards shards done" \
    "($(awk -F'\t' 'NR > 1 && $7 != 0 { n++ } END { print n + 0 }' joblog) tries failed)"

if [ -n "$sound_pid" ]; then
    wait "$sound_pid"
    sound_status=$?
    sound_pid=""
    ((sound_status == 130)) && interrupted
    ((sound_status == 0)) || {
        complain "the sound of the range failed:"
        tail -n 5 sound.log >&2
        exit 1
    }
fi

# Every shard that failed on its last try, with the machine and its words.
missing=0
while read -r shard range; do
    [ -f "part-$shard.mp4" ] && continue
    missing=$((missing + 1))
    host=$(awk -F'\t' -v seq=$((10#$shard + 1)) 'NR > 1 && $1 == seq { h = $2 } END { print h }' joblog)
    complain "shard $shard (frames $range) failed on $(host_of "${host:-:}"):"
    [ -f "part-$shard.log" ] && tail -n 3 "part-$shard.log" | sed 's/^/    /' >&2
done <shards
if ((missing > 0 || status != 0)); then
    complain "$missing of $shards shards are missing; nothing written (run again to retry them)"
    exit 1
fi

# Joining: the parts' pictures as they are, one after the other, and the
# sound of the whole range. Written under a temporary name, renamed when
# complete.
awk '{ printf "file '\''part-%s.mp4'\''\n", $1 }' shards >parts.txt
if ! ffmpeg -nostdin -v error -y -f concat -safe 0 -i parts.txt -i sound.mp4 \
    -map 0:v -map 1:a -c copy -movflags +faststart -f mp4 "$output.part"; then
    complain "cannot join the parts into '$output'"
    exit 1
fi
mv -f "$output.part" "$output" || exit 1
cd / && rm -rf "$work"
complain "wrote $output"
