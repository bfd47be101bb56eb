#!/bin/sh
# Builds the libFuzzer targets of fuzz/ with clang into build/fuzzers/ and runs
# them one after another, each for SECONDS (default 60), or only TARGET:
#
#   scripts/fuzz.sh [TARGET] [SECONDS]     TARGET: archive scene shader jpeg soundtrack
#
# Seeds come from the regular build's content (build/content/files, built
# first when missing) and the test fixtures, generated afresh into
# build/fuzzers/seeds/TARGET/; what the fuzzer learns accumulates in
# build/fuzzers/corpus/TARGET/ from run to run. A crash, leak, timeout or
# out-of-memory input lands in build/fuzzers/findings/TARGET/, is minimised
# there (*.min) and makes the script fail. Once fixed, keep the minimised
# input under tests/data/fuzz/TARGET/: the test suite replays it.
#
# FUZZ_JOBS runs that many fuzzing processes on one target at once (default
# 1: the machine is shared); FUZZ_MAX_EXECS stops a target after that many
# executions per process, or at SECONDS if that comes first.
set -eu
cd "$(dirname "$0")/.."

TARGETS="archive scene shader jpeg soundtrack"
TARGET=${1:-all}
SECONDS_EACH=${2:-60}
JOBS=${FUZZ_JOBS:-1}
MAX_EXECS=${FUZZ_MAX_EXECS:--1}
# Absolute: the fuzzers work in a scratch folder of their own. Not
# build/fuzz, which is the regular build's folder for fuzz/ (its replay tests).
FUZZ_DIR=$PWD/build/fuzzers

case "$TARGET" in
    all) ;;
    archive|scene|shader|jpeg|soundtrack) TARGETS=$TARGET ;;
    *) echo "fuzz.sh: unknown target '$TARGET' (one of: $TARGETS)" >&2; exit 2 ;;
esac

./scripts/bootstrap.sh
if [ ! -d build/content/files ] || [ ! -x build/bin/qorfs ] || [ ! -x build/bin/qorasm ]; then
    ./scripts/build.sh build
fi

CC=clang CXX=clang++ cmake -S . -B "$FUZZ_DIR" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DTARVO_FUZZ=ON -DTARVO_CONTENT=OFF -DTARVO_BENCHMARKS=OFF >/dev/null
for target in $TARGETS; do
    cmake --build "$FUZZ_DIR" -j "$(nproc 2>/dev/null || echo 2)" --target "fuzz_$target"
done

CONTENT=build/content/files

# seeds TARGET DIR: writes the target's seed inputs into DIR.
seeds() {
    out=$2
    case "$1" in
    archive)
        # The fixture folder and a few small content files, packed each way.
        small=$(mktemp -d)
        cp "$CONTENT"/null_*.jpg "$CONTENT"/quad.vsh "$CONTENT"/quad.psh "$small"/
        build/bin/qorfs pack tests/data/qorfs/basic "$out/basic.fs" >/dev/null
        build/bin/qorfs pack tests/data/qorfs/basic "$out/basic-plain.fs" --plain >/dev/null
        build/bin/qorfs pack "$small" "$out/content.fs" --key 5A17C0DE >/dev/null
        build/bin/qorfs pack "$small" "$out/content-plain.fs" --plain --key 0 >/dev/null
        rm -rf "$small"
        ;;
    scene)
        # The smallest whole scene, and the head of every scene: a fuzzer
        # mutating megabytes of vertices learns nothing from them.
        cp "$CONTENT/primitives.qor" "$out/"
        for scene in "$CONTENT"/*.qor; do
            head -c 8192 "$scene" >"$out/head-$(basename "$scene")"
        done
        ;;
    shader)
        # The content's byte code, and the assembler's test programs.
        cp "$CONTENT"/*.vsh "$CONTENT"/*.psh "$out/"
        for program in tests/data/qorasm/programs/*.asm; do
            build/bin/qorasm "$program" -o "$out/$(basename "$program" .asm).bin" >/dev/null
        done
        ;;
    jpeg)
        # Small content pictures alone, and as colour file and companion: of
        # the same size, and of another.
        for picture in null_black null_grey null_white loadbar spark; do
            cp "$CONTENT/$picture.jpg" "$out/"
        done
        cat "$CONTENT/null_white.jpg" "$CONTENT/null_grey.jpg" >"$out/pair-same-size.jpg"
        cat "$CONTENT/spark.jpg" "$CONTENT/null_grey.jpg" >"$out/pair-other-size.jpg"
        ;;
    soundtrack)
        # The fixture and heads of the soundtrack, with and without its
        # first frames.
        cp tests/data/qorfs/basic/KUV-2.mp3 "$out/fixture.mp3"
        head -c 4096 "$CONTENT/KUV-2.mp3" >"$out/head-4k.mp3"
        head -c 16384 "$CONTENT/KUV-2.mp3" >"$out/head-16k.mp3"
        tail -c +20000 "$CONTENT/KUV-2.mp3" | head -c 8192 >"$out/middle-8k.mp3"
        ;;
    esac
}

status=0
for target in $TARGETS; do
    seed_dir=$FUZZ_DIR/seeds/$target
    corpus=$FUZZ_DIR/corpus/$target
    findings=$FUZZ_DIR/findings/$target
    rm -rf "$seed_dir"
    mkdir -p "$seed_dir" "$corpus" "$findings"
    seeds "$target" "$seed_dir"

    echo "fuzz.sh: $target for $SECONDS_EACH s"
    # -rss_limit_mb: no input may make a reader hold more than this.
    parallel=""
    [ "$JOBS" -gt 1 ] && parallel="-jobs=$JOBS -workers=$JOBS"
    set +e
    # shellcheck disable=SC2086
    "$FUZZ_DIR/bin/fuzz_$target" "$corpus" "$seed_dir" \
        -dict="$PWD/fuzz/$target.dict" -max_total_time="$SECONDS_EACH" -runs="$MAX_EXECS" \
        -timeout=10 -rss_limit_mb=1024 -print_final_stats=1 $parallel \
        -artifact_prefix="$findings/" >"$FUZZ_DIR/$target.log" 2>&1
    set -e
    grep -E "^#[0-9]+[[:space:]]+(INITED|DONE)|ERROR|SUMMARY|stat::number_of_executed_units" \
        "$FUZZ_DIR/$target.log" || true
    for artifact in "$findings"/crash-* "$findings"/leak-* "$findings"/timeout-* "$findings"/oom-* "$findings"/slow-unit-*; do
        [ -f "$artifact" ] || continue
        case "$artifact" in *.min) continue ;; esac
        status=1
        echo "fuzz.sh: finding $artifact"
        [ -f "$artifact.min" ] ||
            "$FUZZ_DIR/bin/fuzz_$target" -minimize_crash=1 -max_total_time=60 -timeout=10 \
                -exact_artifact_path="$artifact.min" "$artifact" >/dev/null 2>&1 || true
    done
done
exit $status
