#!/usr/bin/env bash
# Builds the fuzz targets (clang, libFuzzer, address and undefined-behaviour sanitizers) in
# build-fuzz/ and runs each for SECONDS (default 300), two at a time. One line per target; exit
# status 1 when a target found something: its input is kept in build-fuzz/findings/TARGET/ and its
# log in build-fuzz/logs/TARGET.log.
#
#   fuzz/run.sh [SECONDS] [CORPUS]
#
# Seeds: the test fixtures, the demo disc's files, and a folder of real description and batch files
# (CORPUS, else $SPINDECK_CORPUS, else ../shared/corpus beside the repository; skipped when absent).
# What the fuzzers learn is kept in build-fuzz/corpus/TARGET/ for the next run.
set -euo pipefail
cd "$(dirname "$0")/.."
repo=$PWD

seconds=${1:-300}
corpus=${2:-${SPINDECK_CORPUS:-$repo/../shared/corpus}}
parallel=${FUZZ_JOBS:-2}
build=build-fuzz

if ! command -v clang++ >/dev/null; then
    echo "fuzz: clang++ is missing; scripts/setup.sh installs it" >&2
    exit 2
fi
cmake -S . -B "$build" -G Ninja -DSPINDECK_FUZZ=ON -DCMAKE_CXX_COMPILER=clang++ \
    -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build "$build" --target fuzz

seeds=("$repo/tests/fixtures" "$repo/sample/disc")
if [ -d "$corpus" ]; then
    seeds+=("$(cd "$corpus" && pwd)")
else
    echo "fuzz: no corpus at $corpus; seeding from the repository's files only"
fi

# Runs one target and prints its line. libFuzzer exits non-zero when it finds a crash, a leak, a
# sanitizer report or an input slower than the timeout.
run_target() {
    local target=$1
    local log="$build/logs/$target.log"
    local findings="$build/findings/$target/"
    mkdir -p "$build/corpus/$target" "$findings"
    if "$build/bin/$target" -max_total_time="$seconds" -timeout=20 -max_len=8192 -print_final_stats=1 \
        -artifact_prefix="$findings" "$build/corpus/$target" "${seeds[@]}" >"$log" 2>&1; then
        local runs
        runs=$(grep -oE 'Done [0-9]+ runs' "$log" | grep -oE '[0-9]+' || echo "?")
        printf '%-26s ok: %s runs in %s s, no finding\n' "$target" "$runs" "$seconds"
    else
        local input
        input=$(grep -oE 'Test unit written to [^ ]+' "$log" | sed 's/Test unit written to //' | tail -1)
        printf '%-26s FINDING: %s (input %s, log %s)\n' "$target" \
            "$(grep -m1 -oE '(ERROR|SUMMARY): .*|deadly signal|timeout' "$log" || echo "see the log")" \
            "${input:-none}" "$log"
        return 1
    fi
}

mkdir -p "$build/logs"
targets=()
for program in "$build"/bin/*_fuzz; do
    targets+=("$(basename "$program")")
done

failed=0
pids=()
for target in "${targets[@]}"; do
    while (($(jobs -rp | wc -l) >= parallel)); do
        wait -n || failed=1
    done
    run_target "$target" &
    pids+=($!)
done
for pid in "${pids[@]}"; do
    wait "$pid" || failed=1
done
exit "$failed"
