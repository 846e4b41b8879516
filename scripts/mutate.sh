#!/usr/bin/env bash
# Mutation testing: plants each small fault of scripts/faults.tsv, one at a time, in a copy of
# the tree, rebuilds the native (sandbox) build and runs its test suites. A fault is "killed"
# when some test fails with it in place; one that every test lets through "SURVIVED".
#
#   scripts/mutate.sh                  # every fault
#   scripts/mutate.sh --only backup    # the faults whose area, file or description holds "backup"
#
# The copy and its build live in $MUTATE_DIR (default /tmp/purgelint-mutate) and are reused by
# the next run, which then rebuilds only what changed. The working tree is never changed.
# Output: one line per fault, "killed|SURVIVED|NOT APPLIED|DOES NOT BUILD<TAB>area<TAB>what it
# breaks", then "N of M faults killed". Exit code 0 only when every fault was killed.
set -euo pipefail

usage() {
    sed -n '2,12p' "${BASH_SOURCE[0]}" | sed 's/^# \{0,1\}//'
}

only=""
while [[ $# -gt 0 ]]; do
    case "$1" in
        --only)
            [[ $# -ge 2 ]] || { echo "--only needs a pattern" >&2; exit 2; }
            only="$2"
            shift 2
            ;;
        --only=*)
            only="${1#--only=}"
            shift
            ;;
        -h | --help)
            usage
            exit 0
            ;;
        *)
            echo "unknown argument: $1" >&2
            usage >&2
            exit 2
            ;;
    esac
done

source_dir="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
work="${MUTATE_DIR:-/tmp/purgelint-mutate}"
faults="${MUTATE_FAULTS:-$source_dir/scripts/faults.tsv}"
jobs="${MUTATE_JOBS:-2}"
test_timeout="${MUTATE_TEST_TIMEOUT:-120}"
log="$work/mutate.log"

[[ -f "$faults" ]] || { echo "no fault list: $faults" >&2; exit 2; }
faults="$(realpath "$faults")"
for tool in rsync python3 cmake ninja ctest; do
    command -v "$tool" >/dev/null || { echo "$tool is needed" >&2; exit 2; }
done

started=$SECONDS
note() { echo "[$((SECONDS - started))s] $*" >&2; }

# The copy of the working tree, committed or not. Only files whose content differs are
# copied, and they get a new time: a file that a former run left mutated is then rebuilt.
# The copy is wiped to match the tree: only a folder this script made (or an empty one) is used.
marker=".purgelint-mutate"
if [[ -d "$work" && ! -f "$work/$marker" && -n "$(ls -A "$work")" ]]; then
    echo "$work is not empty and was not made by this script; set MUTATE_DIR" >&2
    exit 2
fi
mkdir -p "$work"
rsync -rl --checksum --delete --exclude=/build/ --exclude=/.git --exclude="/$marker" "$source_dir/" "$work/"
cd "$work"
touch "$marker"
: >"$log"

# The fault list as NUL-separated fields, five to a fault: tabs alone separate the fields,
# so that an empty new text (a deletion) keeps its place.
read_faults() {
    python3 - "$faults" <<'EOF'
import re, sys
with open(sys.argv[1], encoding="utf-8") as f:
    for number, line in enumerate(f, 1):
        line = line.rstrip("\r\n")
        if not line.strip() or line.lstrip().startswith("#"):
            continue
        fields = line.split("\t")
        if len(fields) != 5 or not fields[0] or not fields[1] or not fields[2] or not fields[4]:
            sys.exit(f"{sys.argv[1]}:{number}: five tab-separated fields wanted "
                     "(area, file, old text, new text, what the fault breaks)")
        # The old and new texts may hold \n, \t and \\ for a line break, a tab and a backslash.
        for i in (2, 3):
            fields[i] = re.sub(r"\\([nt\\])", lambda m: {"n": "\n", "t": "\t", "\\": "\\"}[m.group(1)], fields[i])
        sys.stdout.write("".join(field + "\0" for field in fields))
EOF
}
fault_records="$work/.faults"
read_faults >"$fault_records" || exit 2

build() { cmake --build build -j"$jobs" >>"$log" 2>&1; }
run_tests() { ctest --test-dir build -j"$jobs" --timeout "$test_timeout" --output-on-failure >>"$log" 2>&1; }

if [[ ! -f build/build.ninja ]]; then
    note "configuring $work/build"
    cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=Debug -DPURGELINT_PLATFORM=sandbox >>"$log" 2>&1
fi
note "building the unmutated tree"
build || { echo "the unmutated tree does not build (see $log)" >&2; exit 2; }
note "running the unmutated suites"
run_tests || { echo "the unmutated suites fail (see $log)" >&2; exit 2; }

# Replaces the first occurrence of the old text by the new one; exit code 3 when the old
# text is not in the file. Bytes are kept as they are, line ends included.
apply_fault() {
    python3 - "$1" "$2" "$3" <<'EOF'
import sys
path, old, new = sys.argv[1], sys.argv[2].encode(), sys.argv[3].encode()
with open(path, "rb") as f:
    text = f.read()
at = text.find(old)
if at < 0:
    sys.exit(3)
with open(path, "wb") as f:
    f.write(text[:at] + new + text[at + len(old):])
EOF
}

# The file under mutation and its pristine copy, put back on any exit.
current=""
pristine="$work/.pristine"
restore() {
    if [[ -n "$current" ]]; then
        cp "$pristine" "$current"  # a fresh time, so the next build compiles it again
        current=""
    fi
}
trap restore EXIT
trap 'restore; exit 130' INT TERM

total=0
killed=0
# The list comes in on descriptor 3: the builds and the tests keep their own standard input.
while IFS= read -r -u 3 -d '' area && IFS= read -r -u 3 -d '' file &&
    IFS= read -r -u 3 -d '' old && IFS= read -r -u 3 -d '' new && IFS= read -r -u 3 -d '' what; do
    if [[ -n "$only" && "$area" != *"$only"* && "$file" != *"$only"* && "$what" != *"$only"* ]]; then
        continue
    fi
    total=$((total + 1))
    echo "=== $area: $what ($file)" >>"$log"
    if [[ ! -f "$file" ]]; then
        result="NOT APPLIED"
    else
        cp "$file" "$pristine"
        current="$file"
        if ! apply_fault "$file" "$old" "$new"; then
            result="NOT APPLIED"
        elif ! build; then
            result="DOES NOT BUILD"
        elif run_tests; then
            result="SURVIVED"
        else
            result="killed"
            killed=$((killed + 1))
        fi
        restore
    fi
    echo "--- $result" >>"$log"
    printf '%s\t%s\t%s\n' "$result" "$area" "$what"
done 3<"$fault_records"

echo "$killed of $total faults killed"
note "done (details in $log)"
[[ $total -gt 0 && $killed -eq $total ]]
