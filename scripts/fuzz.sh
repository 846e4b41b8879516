#!/usr/bin/env bash
# Runs every fuzz target of tests/fuzz for the given seconds (default 60) each, starting from
# the seeds in tests/fuzz/corpus/<target>/. The corpus grows in a temporary copy only; an input
# that breaks a property is kept as build/fuzz/artifacts/<target>-crash-*.
# FUZZ_BUILD_DIR chooses another build folder than build/fuzz. FUZZ_SEED fixes libFuzzer's
# seed, so that a run takes the same path every time (CI uses one: its verdict must not
# depend on where a random walk happened to go).
set -euo pipefail
cd "$(dirname "${BASH_SOURCE[0]}")/.."
seconds="${1:-60}"
build="${FUZZ_BUILD_DIR:-build/fuzz}"
scripts/setup.sh
cmake --preset fuzz -B "$build" >/dev/null
cmake --build "$build" --target fuzzers -j2

# Corpus copies and the targets' sandbox disks, in memory where there is room for them.
memory=/dev/shm
[ -d "$memory" ] && [ -w "$memory" ] || memory="${TMPDIR:-/tmp}"
work="$(mktemp -d -p "$memory")"
trap 'rm -rf "$work"' EXIT
export PURGELINT_FUZZ_ROOT="$work"
mkdir -p "$build/artifacts"
status=0
summary=()
for source in tests/fuzz/*_fuzz.cpp; do
    target="$(basename "$source" .cpp)"
    exe="$build/tests/fuzz/$target"
    if [ ! -x "$exe" ]; then
        summary+=("$(printf '%-20s not built' "$target")")
        continue
    fi
    corpus="$work/$target"
    mkdir -p "$corpus"
    seeds=0
    if [ -d "tests/fuzz/corpus/$target" ]; then
        cp tests/fuzz/corpus/"$target"/* "$corpus"/
        seeds=$(find "$corpus" -type f | wc -l)
    fi
    echo "== $target: $seconds s from $seeds seeds"
    log="$work/$target.log"
    result=passed
    if ! "$exe" -max_total_time="$seconds" -timeout=10 -max_len=4096 -print_final_stats=1 \
            ${FUZZ_SEED:+-seed="$FUZZ_SEED"} \
            -artifact_prefix="$build/artifacts/$target-" "$corpus" >"$log" 2>&1; then
        result=FAILED
        status=1
        # What failed and the input that did it.
        grep -E 'property failed|ERROR: |SUMMARY: |Test unit written' "$log" || tail -n 30 "$log"
    fi
    runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log")
    speed=$(sed -n 's/^stat::average_exec_per_sec: *//p' "$log")
    files=$(find "$corpus" -type f | wc -l)
    bytes=$(find "$corpus" -type f -printf '%s\n' | awk '{ s += $1 } END { print s + 0 }')
    summary+=("$(printf '%-20s %-6s %10s executions %7s/s  corpus %4s files %7s bytes' \
        "$target" "$result" "${runs:-?}" "${speed:-?}" "$files" "$bytes")")
done
echo "== fuzzing, $seconds s per target"
printf '%s\n' "${summary[@]}"
exit $status
