#!/usr/bin/env bash
# The scan benchmark. Builds the bench program in both builds (Release, own build folders),
# generates its machines (the native sandbox; a Wine prefix with real files, shortcuts and
# registry entries), runs every scanner beside its floor and prints one line each:
#   name<TAB>milliseconds<TAB>floor milliseconds<TAB>ratio
# Lines of the scanners start with "scan-"; "part-" lines time single pieces of a scan's
# per-item work against the floor of as many items; "repair-conservative-100" times the repair
# window's conservative run over a hundred registry problems against one walk of the Windows
# and program-files trees, the latter holding as many installed files as the machine's
# entries name. "list-refresh-50000" shows 50,000 problems in the main window's list and selects
# them all ("list-refresh-50" fifty of them: what showing costs whatever the number of rows),
# "select-invert-50000" inverts a selection of every other row, all against inserting the
# 50,000 rows into a bare list view (under Wine only: the headless list draws nothing); and
# "repair-files-50000" runs the aggressive repair of as many old temporary files in the repair
# window against deleting them in a loop. Under Wine, "memory-large" is the real program's
# peak working set in MB once it has found the planted machine's problems and shows them,
# against a ceiling of 100 MB. Count mismatches go to stderr.
#
# Usage: scripts/bench.sh [--quick] [--native|--wine] [--only NAME]
#   --quick   a machine a tenth the size (10,000 files, 500 shortcuts, 2,000 entries)
#   --only NAME   only the lines whose names hold NAME (list-refresh, select-invert,
#                 repair-files, scan-ui, scan-temp, repair, memory, ...)
#   --native, --wine   only that half
# PURGELINT_BENCH_BUILD names the build folders (default build/bench: build/bench-native,
# build/bench-windows with its Wine prefix), for runs beside another one.
set -euo pipefail
cd "$(dirname "${BASH_SOURCE[0]}")/.."
root=$PWD
out=${PURGELINT_BENCH_BUILD:-build/bench}
[[ "$out" == /* ]] || out="$root/$out"  # a relative folder is under the tree

passed=()  # handed to the bench program (and to the inner run)
only=""  # a part of the names of the lines to run
depth=3
targets=25000  # shortcuts and registry entries
repair_files=50000  # old temporary files the bulk repair deletes, as many for its floor
halves=(native wine)
inner=false
while [ $# -gt 0 ]; do
    arg=$1
    shift
    case "$arg" in
        --quick) passed+=(--quick) depth=2 targets=2500 repair_files=5000 ;;
        --only) [ $# -gt 0 ] || { echo "bench: --only wants a name" >&2; exit 2; }
            passed+=(--only "$1")
            only=$1
            shift ;;
        --native) halves=(native) ;;
        --wine) halves=(wine) ;;
        --wine-inner) inner=true ;;  # the Wine half, on the virtual display
        *) echo "usage: scripts/bench.sh [--quick] [--native|--wine] [--only NAME]" >&2; exit 2 ;;
    esac
done

wanted() {  # line name
    [[ "$1" == *"$only"* ]]
}

build() {  # preset folder
    local log="$2.log" programs=(scan_bench)
    # The memory line runs the real program and drives it as the end-to-end tests do.
    [ "$1" = native ] || programs+=(purgelint ui_driver)
    mkdir -p "$2"
    if ! { cmake --preset "$1" -B "$2" -DCMAKE_BUILD_TYPE=Release &&
        cmake --build "$2" --target "${programs[@]}" -j2; } >"$log" 2>&1; then
        tail -30 "$log" >&2
        echo "bench: the $1 build failed (log: $log)" >&2
        return 1
    fi
}

# The temporary tree the bench program expects (see bench/plan.h): DEPTH levels of
# folders d00..d09, 100 files f000..f099.tmp in each leaf, every fifth one two years old.
make_temp_tree() {  # host-folder depth
    local dirs="" level
    for ((level = 0; level < $2; level++)); do dirs+="${dirs:+/}d{00..09}"; done
    mkdir -p "$1"
    (
        cd "$1"
        eval "mkdir -p $dirs"
        eval "printf '%s\0' $dirs/f{000..099}.tmp" | xargs -0 touch -d '10 days ago'
        eval "printf '%s\0' $dirs/f{000..099..5}.tmp" | xargs -0 touch -d '2 years ago'
    )
}

# A file for every target number of the plan: TOTAL files, t000/PurgelintBench00000.dat on.
make_targets() {  # host-folder total
    mkdir -p "$1"
    (
        cd "$1"
        seq 0 $(($2 - 1)) | awk '{ printf "t%03d\n", int($1 / 100) }' | uniq | xargs mkdir -p
        seq 0 $(($2 - 1)) |
            awk '{ printf "t%03d/PurgelintBench%05d.dat%c", int($1 / 100), $1, 0 }' |
            xargs -0 touch
    )
}

# The bulk repair's files (see bench/plan.h): TOTAL files in each of run and floor,
# rNNN/fNN.tmp, a hundred to a folder, two years old.
make_repair_files() {  # host-folder total
    local set
    for set in run floor; do
        mkdir -p "$1/$set"
        (
            cd "$1/$set"
            seq 0 $(($2 - 1)) | awk '{ printf "r%03d\n", int($1 / 100) }' | uniq | xargs mkdir -p
            seq 0 $(($2 - 1)) | awk '{ printf "r%03d/f%02d.tmp%c", int($1 / 100), $1 % 100, 0 }' |
                xargs -0 touch -d '2 years ago'
        )
    done
}

# --- memory-large: the real program over the planted machine, driven from outside ---------

main_title="Tallowquince Purgelint"
explorer='HKCU\Software\Microsoft\Windows\CurrentVersion\Explorer'

# A step of tools/ui_driver.exe, its output in $driven. Through a file: a Wine service the
# driver starts inherits its output and would hold a pipe open as long as it runs.
drive() {  # arguments of ui_driver
    local status=0
    timeout 3600 wine "$out-windows/tools/ui_driver.exe" "$@" </dev/null \
        >"$memory_dir/driver.out" 2>&1 || status=$?
    driven=$(tr -d '\r' <"$memory_dir/driver.out")
    [ "$status" -eq 0 ] || echo "bench: ui_driver $* failed ($status): $driven" >&2
    return "$status"
}

# The program reads the user's desktop and programs from the Shell Folders; Windows keeps the
# values it makes them from under User Shell Folders. Both point at the plan's folders for the
# run; the keys are exported first and imported again afterwards.
redirect_shell_folders() {  # windows-work
    local key type
    for key in "User Shell Folders:REG_EXPAND_SZ" "Shell Folders:REG_SZ"; do
        type=${key#*:} key="$explorer\\${key%:*}"
        wine reg export "$key" "$(winepath -w "$memory_dir/${key##*\\}.reg")" /y &&
            wine reg add "$key" /v Desktop /t "$type" /d "$1\\Desktop" /f &&
            wine reg add "$key" /v Programs /t "$type" /d "$1\\Programs" /f ||
            return 1
    done </dev/null >/dev/null 2>&1
}

restore_shell_folders() {
    local saved
    for saved in "$memory_dir"/*.reg; do
        wine reg import "$(winepath -w "$saved")" </dev/null >/dev/null 2>&1 ||
            echo "bench: the shell folders of $saved were not restored" >&2
    done
}

high_water_kb() {  # process id
    awk '/^VmHWM:/ { print $2 }' "/proc/$1/status"
}

# Starts the program from a copy of the shipped folder that has welcomed its user, finds the
# problems, answers the summary "No" and closes it. Its peak working set is its resident set's
# high-water mark: under Wine a Windows process is a Linux one. Sets idle_kb, peak_kb and rows.
run_program() {
    local app="$memory_dir/app" pid find status=0
    rm -rf "$app" && cp -r "$out-windows/dist" "$app"
    printf '[Main]\r\nuserwelcomed=1\r\n' >"$app/setup.ini"
    find=$(sed -n 's/^frmmain_button_check=//p' "$app/languages/eng.txt" | tr -d '\r')
    (cd "$app" && exec wine purgelint.exe </dev/null >/dev/null 2>&1) &
    pid=$!
    # The rows are counted after the peak is read: the driver asks the list for every row's
    # texts, which a user does not.
    drive wait "$main_title" 60 && idle_kb=$(high_water_kb "$pid") &&
        drive click "$main_title" "$find" && drive answer No 3600 &&
        peak_kb=$(high_water_kb "$pid") &&
        drive rows "$main_title" && rows=$(grep -c . <<<"$driven") &&
        drive close "$main_title" 60 || status=1
    [ "$status" -eq 0 ] || kill "$pid" 2>/dev/null
    wait "$pid" || true
    return "$status"
}

# memory-large-wine<TAB>peak MB<TAB>100<TAB>ratio: the peak working set of the real program
# that has scanned the large machine and shows its problems, against a ceiling of 100 MB.
memory_line() {  # windows-work host-work
    local expected idle_kb peak_kb rows status=0
    memory_dir="$out-windows/memory"
    rm -rf "$memory_dir" && mkdir -p "$memory_dir"
    # The bulk repair's old files are no part of the large machine (its line deletes them).
    rm -rf "$2/Repair"
    expected=$(wine "$out-windows/bench/scan_bench.exe" "${passed[@]}" --plant-machine \
        --work "$1" --temp-layout "$depth,10,100" </dev/null | tr -d '\r') || status=1
    if [ "$status" -eq 0 ] && redirect_shell_folders "$1"; then
        run_program || status=1
    else
        echo "bench: the large machine could not be planted for the memory line" >&2
        status=1
    fi
    restore_shell_folders
    wine "$out-windows/bench/scan_bench.exe" "${passed[@]}" --remove-machine </dev/null ||
        status=1
    [ "$status" -eq 0 ] || return 1
    echo "memory-large: purgelint.exe $(((idle_kb + 512) / 1024)) MB once started," \
        "$(((peak_kb + 512) / 1024)) MB at its peak; its list shows $rows rows" >&2
    awk -v kb="$peak_kb" \
        'BEGIN { printf "memory-large-wine\t%.0f\t100\t%.2f\n", kb / 1024, kb / 1024 / 100 }'
    [ "$rows" -eq "$expected" ] && return
    echo "warning: memory-large-wine: the list shows $rows rows," \
        "the machine holds $expected problems" >&2
    return 1
}

wine_half() {
    export WINEPREFIX="$out-windows/wineprefix"
    source "$root/scripts/wine-env.sh"
    ensure_wine_prefix
    local temp work host
    temp=$(wine cmd.exe /c echo %TEMP% </dev/null 2>/dev/null | tr -d '\r')
    work="$temp\\PurgelintBench"
    host=$(winepath -u "$work" 2>/dev/null)
    [ -n "$host" ] && [ "$host" != / ] || { echo "bench: no temporary folder in Wine" >&2; exit 1; }
    rm -rf "$host"
    make_temp_tree "$host/Temp" "$depth"
    make_targets "$host/Targets" "$targets"
    ! wanted repair-files || make_repair_files "$host/Repair" "$repair_files"
    local status=0
    wine "$out-windows/bench/scan_bench.exe" "${passed[@]}" --parts --work "$work" \
        --temp-layout "$depth,10,100" </dev/null || status=$?
    if wanted memory-large; then memory_line "$work" "$host" || status=1; fi
    rm -rf "$host"
    wineserver -k 2>/dev/null || true
    return "$status"
}

if $inner; then
    wine_half
    exit
fi

status=0
for half in "${halves[@]}"; do
    if [ "$half" = native ]; then
        build native "$out-native"
        "$out-native/bench/scan_bench" "${passed[@]}" --parts || status=1
    else
        build windows "$out-windows"
        # Real windows need a display: the Wine half runs on a virtual one.
        xvfb-run -a "$root/scripts/bench.sh" "${passed[@]}" --wine-inner || status=1
    fi
done
exit "$status"
