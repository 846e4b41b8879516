#!/usr/bin/env bash
# purgelint.exe's main window driven from outside, like a user would, on a machine with the
# leftovers of programs that were really installed: one deleted by hand, one moved by hand,
# one still installed, and old files in the temporary folder. Runs on a display (xvfb-run).
# Screenshots of the main window, the progress window and the options dialog go to shots/.
# Usage: ui_test.sh DIST demo_installer.exe ui_driver.exe
source "$(dirname "${BASH_SOURCE[0]}")/e2e-lib.sh" "$1"
INSTALLER="$2"
DRIVER="$3"
BUILD="$(cd "$1/.." && pwd)"
# A prefix of its own: the other end-to-end tests may run beside this one.
E2E_ROOT="$BUILD/e2e-ui"
export WINEPREFIX="$E2E_ROOT/prefix"
SHOTS="$BUILD/shots"
MAIN="Tallowquince Purgelint"
RUN='HKLM\Software\Microsoft\Windows\CurrentVersion\Run'
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

stop() {
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

# The machine as scripts/demo.sh leaves it.
seed_machine() {
    local drive_c="$WINEPREFIX/drive_c" programs
    mkdir -p "$drive_c/DemoSetup"
    cp "$INSTALLER" "$drive_c/DemoSetup/setup.exe"
    wine 'C:\DemoSetup\setup.exe' 'C:\DemoSetup\setup.exe' </dev/null >/dev/null 2>&1 ||
        { check "the demo programs install" "installed" "failed"; stop; }
    rm -rf "$drive_c/DemoSetup"
    programs="$(host_path 'C:\Program Files')"
    rm -rf "$programs/Quillmere Notes"
    mkdir -p "$drive_c/Tools"
    mv "$programs/Brackenfold Photo Viewer" "$drive_c/Tools/"

    PROFILE="$(wine cmd.exe /c 'echo %USERPROFILE%' </dev/null | tr -d '\r')"
    TEMP_DIR="$(host_path "$(wine cmd.exe /c 'echo %TEMP%' </dev/null | tr -d '\r')")"
    mkdir -p "$TEMP_DIR/qn_setup" "$TEMP_DIR/~brk0391"
    touch -d '2023-05-01 10:12' "$TEMP_DIR/~DF3A27.tmp" "$TEMP_DIR/qn_setup/install.log" \
        "$TEMP_DIR/qn_setup/data1.cab" "$TEMP_DIR/~brk0391/unpack.tmp"
    touch -d '2023-11-20 18:40' "$TEMP_DIR/thumbcache_old.db"
    touch "$TEMP_DIR/session.tmp"
    # No welcome on the first start: the window is there at once.
    printf '[Main]\r\nuserwelcomed=1\r\n' >"$APP/setup.ini"
}

# The leftovers: every entry and shortcut of the deleted and the moved program, and the
# temporary files not used for over a year.
EXPECTED_ROWS="$(sed 's/ *| */\t/g' <<'EOF' | sort
File | Unused file | %USERPROFILE%\Temp\qn_setup\data1.cab | File in temporary folder, last used <time>
File | Unused file | %USERPROFILE%\Temp\qn_setup\install.log | File in temporary folder, last used <time>
File | Unused file | %USERPROFILE%\Temp\thumbcache_old.db | File in temporary folder, last used <time>
File | Unused file | %USERPROFILE%\Temp\~DF3A27.tmp | File in temporary folder, last used <time>
File | Unused file | %USERPROFILE%\Temp\~brk0391\unpack.tmp | File in temporary folder, last used <time>
Registry | Broken help link | HKLM\Software\Microsoft\Windows\Help\brackvw.hlp | Links to nonexisting file C:\Program Files\Brackenfold Photo Viewer\brackvw.hlp
Registry | Broken help link | HKLM\Software\Microsoft\Windows\Help\quillnt.hlp | Links to nonexisting file C:\Program Files\Quillmere Notes\quillnt.hlp
Registry | Broken link | HKCU\SOFTWARE\Microsoft\Windows\CurrentVersion\Run\Quillmere Notes | Links to nonexisting file C:\Program Files\Quillmere Notes\quillnotes.exe
Registry | Broken link | HKLM\SOFTWARE\Microsoft\Windows\CurrentVersion\App Paths\brackview.exe | Links to nonexisting file C:\Program Files\Brackenfold Photo Viewer\brackview.exe
Registry | Broken link | HKLM\SOFTWARE\Microsoft\Windows\CurrentVersion\App Paths\quillnotes.exe | Links to nonexisting file C:\Program Files\Quillmere Notes\quillnotes.exe
Registry | Broken link | HKLM\SOFTWARE\Microsoft\Windows\CurrentVersion\Run\Brackenfold Photo Viewer | Links to nonexisting file C:\Program Files\Brackenfold Photo Viewer\brackview.exe
Registry | Broken link | HKLM\SOFTWARE\Microsoft\Windows\CurrentVersion\SharedDLLs | Links to nonexisting file C:\Program Files\Brackenfold Photo Viewer\brackvwcore.dll
Registry | Broken link | HKLM\SOFTWARE\Microsoft\Windows\CurrentVersion\SharedDLLs | Links to nonexisting file C:\Program Files\Quillmere Notes\quillntcore.dll
Registry | Broken link | HKLM\Software\Microsoft\Windows NT\CurrentVersion\Fonts\Brackenfold Photo Viewer (TrueType) | Links to nonexisting file C:\Program Files\Brackenfold Photo Viewer\brackvw.ttf
Registry | Broken link | HKLM\Software\Microsoft\Windows NT\CurrentVersion\Fonts\Quillmere Notes (TrueType) | Links to nonexisting file C:\Program Files\Quillmere Notes\quillnt.ttf
Registry | Wrong uninstall info | HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall\Brackenfold Photo Viewer | Links to nonexisting file C:\Program Files\Brackenfold Photo Viewer\uninst.exe
Registry | Wrong uninstall info | HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall\Quillmere Notes | Links to nonexisting file C:\Program Files\Quillmere Notes\uninst.exe
Shortcut | Broken link | %USERPROFILE%\AppData\Roaming\Microsoft\Windows\Start Menu\Programs\Brackenfold Photo Viewer\Brackenfold Photo Viewer.lnk | Links to nonexisting file C:\Program Files\Brackenfold Photo Viewer\brackview.exe
Shortcut | Broken link | %USERPROFILE%\AppData\Roaming\Microsoft\Windows\Start Menu\Programs\Brackenfold Photo Viewer\Uninstall Brackenfold Photo Viewer.lnk | Links to nonexisting file C:\Program Files\Brackenfold Photo Viewer\uninst.exe /S
Shortcut | Broken link | %USERPROFILE%\AppData\Roaming\Microsoft\Windows\Start Menu\Programs\Quillmere Notes\Quillmere Notes.lnk | Links to nonexisting file C:\Program Files\Quillmere Notes\quillnotes.exe
Shortcut | Broken link | %USERPROFILE%\AppData\Roaming\Microsoft\Windows\Start Menu\Programs\Quillmere Notes\Uninstall Quillmere Notes.lnk | Links to nonexisting file C:\Program Files\Quillmere Notes\uninst.exe /S
Shortcut | Broken link | %USERPROFILE%\Desktop\Brackenfold Photo Viewer.lnk | Links to nonexisting file C:\Program Files\Brackenfold Photo Viewer\brackview.exe
Shortcut | Broken link | %USERPROFILE%\Desktop\Quillmere Notes.lnk | Links to nonexisting file C:\Program Files\Quillmere Notes\quillnotes.exe
EOF
)"

# The rows without their selection, sorted, in the user's folder of any machine; when a
# file was last used is shown in the user's locale: only that it is told is compared.
rows_summary() {
    local rows="${1//"$PROFILE"/%USERPROFILE%}"
    cut -f1-4 <<<"$rows" | sed -E 's/, last used .+$/, last used <time>/' | sort
}

fresh_machine
seed_machine
# Wine's desktop started before its settings were made: the program's windows open in the
# virtual one only with a new server, started here with no output of ours.
wineserver -k 2>/dev/null
wineserver -w 2>/dev/null
ensure_wine_prefix
start_program

step click "$MAIN" "Find problems"
step answer No 300
check_match "the summary counts the leftovers" \
    "^Scan results.*found 5 temporary files.*found 12 entries.*found 6 shortcuts" "$out"
step rows "$MAIN"
rows="$out"
screenshot main-window-results
echo "$rows" >"$E2E_ROOT/rows.txt"
check "nothing of the installed program is listed" "" "$(grep -i -e larkspan -e larkt <<<"$rows")"
check "every row is selected" "" "$(grep -v $'\t\\*$' <<<"$rows")"
check "the scan lists exactly the leftovers" "$EXPECTED_ROWS" "$(rows_summary "$rows")"

# The progress window: a large temporary folder of files in use keeps the scan going a while
# without adding problems.
mkdir -p "$TEMP_DIR/busy"
for d in $(seq 100); do
    mkdir -p "$TEMP_DIR/busy/$d" && (cd "$TEMP_DIR/busy/$d" && touch $(seq -f 'f%g.tmp' 200))
done
step click "$MAIN" "Find problems"
step wait Progress 60
sleep 0.3  # the window's first moment shows nothing yet
screenshot progress
step answer No 300
step rows "$MAIN"
check "a second scan lists the same" "$(rows_summary "$rows")" "$(rows_summary "$out")"
rm -rf "$TEMP_DIR/busy"

check "no weekly scan is registered at first" "<absent>" "$(reg_value "$RUN" ro_zuvaviv)"
step click "$MAIN" "Options..."
step wait Options
screenshot options
step check Options "Perform automatic scan once a week" on
step click Options OK
step gone Options
check "the options register the weekly scan" '"C:\Purgelint\purgelint.exe" /SCHEDULED' \
    "$(reg_value "$RUN" ro_zuvaviv)"
step click "$MAIN" "Options..."
step check Options "Perform automatic scan once a week" off
step click Options OK
step gone Options
check "the options remove the weekly scan" "<absent>" "$(reg_value "$RUN" ro_zuvaviv)"

step move "$MAIN" 90 70 720 540
step rect "$MAIN"
check "the window moved" "90 70 720 540" "$out"
step close "$MAIN"
wait_program_end
start_program
step rect "$MAIN"
check "the window opens where it was left" "90 70 720 540" "$out"
step close "$MAIN"
wait_program_end
finish
