#!/usr/bin/env bash
# Line and branch coverage of the product code by the native test suites: everything under
# src/ except the two platform backends (src/platform/sandbox, src/platform/win32).
#
#   scripts/coverage.sh              # configure, build and test build/coverage, then report
#   scripts/coverage.sh --report     # report on the last run again, without building
#
# The tree is the repository this script lives in; the build is build/coverage inside it
# (COVERAGE_BUILD_DIR to put it elsewhere). Needs gcovr (apt-get install gcovr). Branches
# that only throw, and the ones the compiler proves unreachable, are not counted.
set -euo pipefail

source_dir="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
build_dir="${COVERAGE_BUILD_DIR:-$source_dir/build/coverage}"
jobs="${COVERAGE_JOBS:-2}"

report_only=false
case "${1:-}" in
    "") ;;
    --report) report_only=true ;;
    -h | --help)
        sed -n '2,10p' "${BASH_SOURCE[0]}" | sed 's/^# \{0,1\}//'
        exit 0
        ;;
    *)
        echo "unknown argument: $1" >&2
        exit 2
        ;;
esac

command -v gcovr >/dev/null || { echo "gcovr is needed: apt-get install -y gcovr" >&2; exit 2; }

if ! $report_only; then
    cmake -S "$source_dir" -B "$build_dir" -G Ninja -DCMAKE_BUILD_TYPE=Debug \
        -DPURGELINT_PLATFORM=sandbox -DCMAKE_CXX_FLAGS=--coverage \
        -DCMAKE_EXE_LINKER_FLAGS=--coverage >/dev/null
    cmake --build "$build_dir" -j"$jobs" >/dev/null
    # The counts of this run only: counters of an earlier run would add up with it.
    find "$build_dir" -name '*.gcda' -delete
    ctest --test-dir "$build_dir" -j"$jobs" --timeout 300 --output-on-failure >/dev/null ||
        { echo "the test suites fail: no coverage reported" >&2; exit 1; }
fi

summary="$build_dir/coverage-summary.json"
# The filters are regular expressions over the absolute paths of the sources.
src_pattern="$(python3 -c 'import re, sys; print(re.escape(sys.argv[1]))' "$source_dir/src/")"
gcovr --root "$source_dir" --object-directory "$build_dir" \
    --filter "$src_pattern" \
    --exclude "${src_pattern}platform/sandbox/" \
    --exclude "${src_pattern}platform/win32/" \
    --exclude-throw-branches --exclude-unreachable-branches \
    --json-summary "$summary" 2>/dev/null >/dev/null

python3 - "$summary" <<'EOF'
import json, sys
with open(sys.argv[1]) as f:
    s = json.load(f)
def percent(covered, total):
    return 100.0 * covered / total if total else 100.0
print(f"lines:    {percent(s['line_covered'], s['line_total']):.1f}% "
      f"({s['line_covered']} of {s['line_total']})")
print(f"branches: {percent(s['branch_covered'], s['branch_total']):.1f}% "
      f"({s['branch_covered']} of {s['branch_total']})")
EOF
