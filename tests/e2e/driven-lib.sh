# Sourced by the tests that drive purgelint.exe's windows from outside with ui_driver.exe,
# on the demo machine that demo_installer.exe sets up:
#   source driven-lib.sh NAME DIST demo_installer.exe ui_driver.exe
# Each test has a prefix of its own, build/.../e2e-NAME: they may run beside each other.
source "$(dirname "${BASH_SOURCE[0]}")/e2e-lib.sh" "$2"
INSTALLER="$3"
DRIVER="$4"
BUILD="$(cd "$2/.." && pwd)"
E2E_ROOT="$BUILD/e2e-$1"
export WINEPREFIX="$E2E_ROOT/prefix"
SHOTS="$BUILD/shots"
MAIN="Tallowquince Purgelint"
app_pid=""

# Runs a step of the driver and keeps its output in $out; a step that fails leaves nothing
# to test after it. The output goes through a file: a Wine service that the driver happens
# to start inherits it, and would hold a pipe open for as long as it runs.
step() {
    local status=0
    timeout 90 wine "$DRIVER" "$@" </dev/null >"$E2E_ROOT/driver.out" 2>&1 || status=$?
    out="$(tr -d '\r' <"$E2E_ROOT/driver.out")"
    if [ "$status" -ne 0 ]; then
        check "ui_driver $*" "success" "failure ($status): $out"
        stop
    fi
}

# Ends the test at a failed step, with a picture of the screen as it was left.
stop() {
    screenshot "failed-$(basename "$0" .sh)"
    [ -n "$app_pid" ] && kill "$app_pid" 2>/dev/null
    finish
    exit 1
}

screenshot() { mkdir -p "$SHOTS" && import -window root "$SHOTS/$1.png"; }

start_program() {
    (cd "$APP" && exec wine purgelint.exe </dev/null >/dev/null 2>&1) &
    app_pid=$!
    step wait "$MAIN" 60
}

# Waits up to 30 s for the program to end after its main window closed.
wait_program_end() {
    local _
    for _ in $(seq 300); do
        kill -0 "$app_pid" 2>/dev/null || { wait "$app_pid"; return; }
        sleep 0.1
    done
    check "the program ends with its main window" "ended" "still running"
    stop
}

host_path() { winepath -u "$1" 2>/dev/null; }

# The machine as scripts/demo.sh leaves it; the viewer's folder is moved into the host
# folder $1 (C:\Tools unless given).
seed_machine() {
    local drive_c="$WINEPREFIX/drive_c" programs moved_to
    mkdir -p "$drive_c/DemoSetup"
    cp "$INSTALLER" "$drive_c/DemoSetup/setup.exe"
    wine 'C:\DemoSetup\setup.exe' 'C:\DemoSetup\setup.exe' </dev/null >/dev/null 2>&1 ||
        { check "the demo programs install" "installed" "failed"; stop; }
    rm -rf "$drive_c/DemoSetup"
    programs="$(host_path 'C:\Program Files')"
    rm -rf "$programs/Quillmere Notes"
    moved_to="${1:-$drive_c/Tools}"
    mkdir -p "$moved_to"
    mv "$programs/Brackenfold Photo Viewer" "$moved_to/"

    user_folders
    mkdir -p "$TEMP_DIR/qn_setup" "$TEMP_DIR/~brk0391"
    touch -d '2023-05-01 10:12' "$TEMP_DIR/~DF3A27.tmp" "$TEMP_DIR/qn_setup/install.log" \
        "$TEMP_DIR/qn_setup/data1.cab" "$TEMP_DIR/~brk0391/unpack.tmp"
    touch -d '2023-11-20 18:40' "$TEMP_DIR/thumbcache_old.db"
    touch "$TEMP_DIR/session.tmp"
}

# The user's profile (PROFILE, its Windows path) and temporary folder (TEMP_DIR, on the
# host); no welcome on the first start: the window is there at once.
user_folders() {
    PROFILE="$(wine cmd.exe /c 'echo %USERPROFILE%' </dev/null | tr -d '\r')"
    TEMP_DIR="$(host_path "$(wine cmd.exe /c 'echo %TEMP%' </dev/null | tr -d '\r')")"
    printf '[Main]\r\nuserwelcomed=1\r\n' >"$APP/setup.ini"
}

# Wine's desktop started before its settings were made: the program's windows open in the
# virtual one only with a new server, started here with no output of ours.
new_wine_server() {
    wineserver -k 2>/dev/null
    wineserver -w 2>/dev/null
    ensure_wine_prefix
}

# Starts a repair of every row with the method of that caption, the backup on.
repair_with() {
    local options
    options="$(caption frmrepopt_caption)"
    step click "$MAIN" "$(caption frmmain_button_repair)"
    step wait "$options"
    screenshot repair-options
    step click "$options" "$1"
    step check "$options" "$(caption frmrepopt_ch_backup)" on
    step click "$options" "$(caption frmrepopt_button_ok)"
}

# The rows without their selection, sorted, in the user's folder of any machine; when a
# file was last used is shown in the user's locale: only that it is told is compared.
rows_summary() {
    local rows="${1//"$PROFILE"/%USERPROFILE%}"
    cut -f1-4 <<<"$rows" | sed -E 's/, last used .+$/, last used <time>/' | sort
}

# A caption as the program shows it: the English text of its key.
caption() { sed -n "s/^$1=//p" "$APP/languages/eng.txt" | tr -d '\r'; }
