# Sourced by NAME_test.sh (under xvfb-run) as: source driven-lib.sh NAME DIST demo_installer.exe
# ui_driver.exe. Each test has a Wine prefix of its own, build/.../e2e-NAME: they may run together.
set -uo pipefail
DIST="$2" INSTALLER="$3" DRIVER="$4"
BUILD="$(cd "$DIST/.." && pwd)"
E2E_ROOT="$BUILD/e2e-$1"
export WINEPREFIX="$E2E_ROOT/prefix"
source "$(dirname "${BASH_SOURCE[0]}")/../../scripts/wine-env.sh"
SHOTS="$BUILD/shots"
MAIN="Tallowquince Purgelint"
app_pid="" passed=0 failed=0

check() {
    [ "$2" == "$3" ] && { passed=$((passed + 1)); echo "ok   $1"; return; }
    failed=$((failed + 1)) && printf 'FAIL %s\n  expected: %s\n  actual:   %s\n' "$1" "$2" "$3"
}

check_match() { if [[ "$3" =~ $2 ]]; then check "$1" "$3" "$3"; else check "$1" "text matching $2" "$3"; fi; }

finish() { wineserver -k 2>/dev/null; echo "e2e: $passed passed, $failed failed"; [ "$failed" -eq 0 ]; }

# A new prefix with the program in C:\Purgelint, the user's profile (PROFILE, its Windows path)
# and temporary folder (TEMP_DIR, on the host), no welcome on the first start. A new server:
# the desktop Wine started before its settings were made would not be the virtual one.
fresh_machine() {
    wineserver -k 2>/dev/null
    rm -rf "$E2E_ROOT" && mkdir -p "$E2E_ROOT"
    ensure_wine_prefix
    wineserver -k 2>/dev/null && wineserver -w 2>/dev/null
    ensure_wine_prefix
    APP="$WINEPREFIX/drive_c/Purgelint"
    mkdir -p "$APP" && cp -r "$DIST/." "$APP/"
    PROFILE="$(wine cmd.exe /c 'echo %USERPROFILE%' </dev/null | tr -d '\r')"
    TEMP_DIR="$(host_path "$(wine cmd.exe /c 'echo %TEMP%' </dev/null | tr -d '\r')")"
    printf '[Main]\r\nuserwelcomed=1\r\n' >"$APP/setup.ini"
}

# A driver step, its output in $out; a failed one ends the test. Through a file: a Wine service
# the driver starts inherits the output, and would hold a pipe open for as long as it runs.
step() {
    local status=0
    timeout 90 wine "$DRIVER" "$@" </dev/null >"$E2E_ROOT/driver.out" 2>&1 || status=$?
    out="$(tr -d '\r' <"$E2E_ROOT/driver.out")"
    if [ "$status" -ne 0 ]; then
        check "ui_driver $*" "success" "failure ($status): $out"
        stop
    fi
}

stop() { screenshot "failed-$(basename "$0" .sh)"; [ -n "$app_pid" ] && kill "$app_pid" 2>/dev/null; finish; exit 1; }

# Types key $2 in window $1, then runs the step of the other arguments.
keys_then() { step keys "$1" "$2"; step "${@:3}"; }

screenshot() { mkdir -p "$SHOTS" && import -window root "$SHOTS/$1.png"; }

start_program() {
    (cd "$APP" && exec wine purgelint.exe </dev/null >/dev/null 2>&1) &
    app_pid=$!
    step wait "$MAIN" 60
}

# Closes the main window: the program ends within 30 s, and no language text was missing.
close_program() {
    step close "$MAIN"
    timeout 30 tail -s 0.1 --pid="$app_pid" -f /dev/null ||
        { check "the program ends with its main window" "ended" "still running"; stop; }
    wait "$app_pid"
    check "no language text was missing" "<none>" "$(app_file languages/_missing.txt)"
}

# Finds the problems; the summary is answered with $1, No (do not repair) unless given.
scan() { step click "$MAIN" "$(caption frmmain_button_check)"; step answer "${1:-No}" 300; }

# Starts a repair of every row with the method of caption $1, the backup on; given a count $2,
# the closing message is to count that many repaired.
repair_with() {
    local options="$(caption frmrepopt_caption)"
    step click "$MAIN" "$(caption frmmain_button_repair)"
    step wait "$options"
    screenshot repair-options
    step click "$options" "$1"
    step check "$options" "$(caption frmrepopt_ch_backup)" on
    step click "$options" "$(caption frmrepopt_button_ok)"
    [ -z "${2-}" ] || { step answer OK 300; check_match "the closing message counts $2 repaired" " $2$" "$out"; }
}

# Runs purgelint.exe with the arguments, no display, its output to a file: $code and $out.
run() {
    (cd "$APP" && env -u DISPLAY timeout 300 wine purgelint.exe "$@" </dev/null \
        >"$E2E_ROOT/out.txt" 2>/dev/null)
    code=$?
    out="$(tr -d '\r' <"$E2E_ROOT/out.txt")"
}

import_backup() {
    local file
    for file in "$APP"/backup/*.reg; do
        wine reg import "C:\\Purgelint\\backup\\${file##*/}" </dev/null >/dev/null 2>&1 ||
            check "reg import ${file##*/}" success failure
    done
}

# The data of a value as `reg query` lists it ("(Default)" for the default value) or "<absent>";
# the name (blanks, brackets) goes through the environment: awk -v would unescape backslashes.
reg_value() {
    wine reg query "$1" </dev/null 2>/dev/null | tr -d '\r' | NAME="$2" awk '
        BEGIN { name = ENVIRON["NAME"] }
        index(tolower($0), tolower("    " name "    ")) == 1 {
            rest = substr($0, length(name) + 9); sub(/^REG_[A-Z_]+ */, "", rest)
            print rest; found = 1
        }
        END { if (!found) print "<absent>" }'
}

# A file beside the program with its line ends shown, or "<none>".
app_file() { [ -f "$APP/$1" ] && sed 's/\r$/<CR>/' "$APP/$1" || echo "<none>"; }

host_path() { winepath -u "$1" 2>/dev/null; }
reg_add() { wine reg add "$@" /f </dev/null >/dev/null 2>&1; }

# A caption as the program shows it: the English text of its key.
caption() { sed -n "s/^$1=//p" "$APP/languages/eng.txt" | tr -d '\r'; }

# The machine as scripts/demo.sh leaves it, the viewer moved into host folder $1 (C:\Tools).
seed_machine() {
    local programs moved_to="${1:-$WINEPREFIX/drive_c/Tools}"
    fresh_machine
    wine "$INSTALLER" "$(winepath -w "$INSTALLER")" </dev/null >/dev/null 2>&1 ||
        { check "the demo programs install" "installed" "failed"; stop; }
    programs="$(host_path 'C:\Program Files')"
    rm -rf "$programs/Quillmere Notes"
    mkdir -p "$moved_to" && mv "$programs/Brackenfold Photo Viewer" "$moved_to/"
    mkdir -p "$TEMP_DIR/qn_setup" "$TEMP_DIR/~brk0391"
    touch -d '2023-05-01 10:12' "$TEMP_DIR/~DF3A27.tmp" "$TEMP_DIR/qn_setup/install.log" \
        "$TEMP_DIR/qn_setup/data1.cab" "$TEMP_DIR/~brk0391/unpack.tmp"
    touch -d '2023-11-20 18:40' "$TEMP_DIR/thumbcache_old.db"
    touch "$TEMP_DIR/session.tmp"
}

# The main window's rows in $out without their selection, sorted, in the user's folder of any
# machine; when a file was last used is shown in the user's locale: only that it is told counts.
listed_rows() {
    step rows "$MAIN"
    out="$(cut -f1-4 <<<"${out//"$PROFILE"/%USERPROFILE%}" |
        sed -E 's/, last used .+$/, last used <time>/' | sort)"
}

WOW='HKLM\SOFTWARE\WOW6432Node\Microsoft\Windows'
APP_PATHS='HKLM\SOFTWARE\Microsoft\Windows\CurrentVersion\App Paths'
X86='C:\Program Files (x86)'
VIEWER="$X86\\Viewers\\Brackenfold Photo Viewer"

# What the installers wrote in both views, as `reg query` lists it.
state() {
    local key
    for key in "$WOW\\CurrentVersion\\Uninstall" "$WOW\\CurrentVersion\\Run" "$WOW\\Help" \
        "$WOW\\CurrentVersion\\SharedDLLs" "$APP_PATHS"; do
        wine reg query "$key" /s </dev/null 2>/dev/null | tr -d '\r' |
            grep -E 'Brackenfold|Quillmere|Larkspan|brackview|quillnotes|tuner'
    done
}

# The rows program $1 (files $2.*, $3.dll) leaves once its folder is gone: location, missing file.
rows_of() {
    local at="$X86\\$1"
    printf '%s\t%s\n' "C:\\users\\Public\\Desktop\\$1.lnk" "$at\\$2.exe" \
        "C:\\ProgramData\\Microsoft\\Windows\\Start Menu\\Programs\\$1\\Uninstall $1.lnk" \
        "$at\\uninst.exe" "$WOW\\CurrentVersion\\Uninstall\\$1" "$at\\uninst.exe" \
        "$WOW\\CurrentVersion\\Run\\$1" "$at\\$2.exe" "$WOW\\CurrentVersion\\SharedDLLs" \
        "$at\\$3.dll" "$APP_PATHS\\$2.exe" "$at\\$2.exe" "$WOW\\Help\\$2.hlp" "$at\\$2.hlp"
}

# A new machine where NSIS installers (leftovers.nsi) put three 32-bit programs for everyone;
# then the notes were removed by hand and the viewer moved into "Viewers". The notes and the
# tuner share a runtime DLL's name: the notes' is found once, elsewhere.
nsis_machine() {
    local name exe dll setup x86
    fresh_machine
    while IFS=: read -r name exe dll; do
        setup="$E2E_ROOT/$exe-installer.exe"
        makensis -V1 -WX -DNAME="$name" -DEXE="$exe" -DDLL="$dll" -DOUT="$setup" \
            "$(dirname "${BASH_SOURCE[0]}")/leftovers.nsi" >/dev/null &&
            timeout 120 wine "$setup" /S </dev/null >/dev/null 2>&1 ||
            { check "$name installs" installed failed; stop; }
    done <<<$'Brackenfold Photo Viewer:brackview:brackview\nQuillmere Notes:quillnotes:runtime\nLarkspan Tuner:tuner:runtime'
    x86="$(host_path "$X86")"
    rm -rf "$x86/Quillmere Notes"
    mkdir -p "$x86/Viewers" && mv "$x86/Brackenfold Photo Viewer" "$x86/Viewers/"
}
