#!/bin/sh
# Runs the whole suite RUNS times (default 5) as CI does, with ctest -j over
# every core, while a CPU-bound load keeps every core busy; reports each
# failing test with its output and exits non-zero if any run failed.
#   scripts/stress-tests.sh [RUNS]
# BUILD_DIR (default build) names the build to test; it is brought up to
# date first. Every run's full log stays in BUILD_DIR/stress/.
set -eu
cd "$(dirname "$0")/.."

RUNS=${1:-5}
BUILD_DIR=${BUILD_DIR:-build}
JOBS=$(nproc 2>/dev/null || echo 2)
LOGS="$BUILD_DIR/stress"

./scripts/build.sh "$BUILD_DIR" >/dev/null

# One busy process per core, stopped however the script ends.
LOAD=""
stop_load() {
    for pid in $LOAD; do
        kill "$pid" 2>/dev/null || true
    done
    LOAD=""
}
trap stop_load EXIT
trap 'exit 130' INT TERM
for _ in $(seq "$JOBS"); do
    yes >/dev/null &
    LOAD="$LOAD $!"
done

rm -rf "$LOGS"
mkdir -p "$LOGS"
failed_runs=0
run=1
while [ "$run" -le "$RUNS" ]; do
    log="$LOGS/run-$run.log"
    started=$(date +%s)
    if ctest --test-dir "$BUILD_DIR" --output-on-failure -j "$JOBS" >"$log" 2>&1; then
        result=passed
    else
        result=FAILED
        failed_runs=$((failed_runs + 1))
    fi
    echo "run $run of $RUNS: $result in $(($(date +%s) - started)) s ($log)"
    if [ "$result" = FAILED ]; then
        # Each failing test's result line and the output printed after it,
        # up to the next test's lines.
        awk '/^ *[0-9]+\/[0-9]+ Test +#[0-9]+: / { show = !/ Passed / }
             /^ *Start +[0-9]+: / { show = 0 }
             /^[0-9]+% tests passed/ { show = 0 }
             show' "$log" | sed 's/^/    /'
        sed -n '/^The following tests FAILED:/,$p' "$log" | sed 's/^/    /'
    fi
    run=$((run + 1))
done

if [ "$failed_runs" -gt 0 ]; then
    echo "$failed_runs of $RUNS runs failed under load"
    exit 1
fi
echo "all $RUNS runs passed under load"
