#!/usr/bin/env bash
# The installer and its uninstaller under Wine, in a fresh prefix: a silent install, the
# installed program started, its weekly scan switched on and a scan run, then a silent
# uninstall. Before and after, purgelint.exe from the build (in C:\Purgelint) scans the same
# machine: nothing of the installed program may show up, and the registry entries, the
# shortcut and the files it had must be gone. Runs on a display (xvfb-run).
# Packs the build first (scripts/package.sh) when its installer is missing or older than
# what goes into it.
# Usage: install_test.sh DIST ui_driver.exe
# No demo installer: the machine is the one the installer makes.
source "$(dirname "${BASH_SOURCE[0]}")/driven-lib.sh" install "$1" "" "$2"
UNINSTALL='HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall\Tallowquince Purgelint'
RUN='HKLM\Software\Microsoft\Windows\CurrentVersion\Run'
RUNONCE='HKLM\Software\Microsoft\Windows\CurrentVersion\RunOnce'
INSTDIR_WIN='C:\Program Files\Tallowquince Purgelint'
SHORTCUT_WIN='C:\ProgramData\Microsoft\Windows\Start Menu\Programs\Tallowquince Purgelint.lnk'

VERSION="$(cat "$BUILD/version.txt")"
SETUP="$BUILD/packages/purgelint-$VERSION-setup.exe"
SOURCE="$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)"
if [ ! -f "$SETUP" ] || [ -n "$(find "$1/purgelint.exe" "$1/languages" "$SOURCE/installer" \
    -newer "$SETUP" 2>/dev/null)" ]; then
    "$SOURCE/scripts/package.sh" "$BUILD" >/dev/null ||
        { check "the build packs" "packed" "failed"; exit 1; }
fi

# The scan of the running program: its rows as rows_summary gives them, in $out. A leftover
# seeded below makes the summary ask whether to repair.
find_problems() {
    step click "$MAIN" "Find problems"
    step answer No 300
    step rows "$MAIN"
    out="$(rows_summary "$out")"
}

# The uninstaller copies itself into the temporary folder, starts the copy and returns at
# once: waits up to 60 s for the copy to remove the uninstaller and end.
wait_uninstaller() {
    local _ pid running
    for _ in $(seq 600); do
        running=""
        for pid in $(pgrep -f '~nsu[^\\]*\.tmp\\Un\.exe'); do
            tr '\0' '\n' <"/proc/$pid/environ" 2>/dev/null |
                grep -qxF "WINEPREFIX=$WINEPREFIX" && running=1
        done
        [ -z "$running" ] && [ ! -e "$INSTDIR/uninstall.exe" ] && return
        sleep 0.1
    done
    check "the uninstaller removes itself and ends" "ended" "still running or left behind"
    stop
}

key_exists() { wine reg query "$1" </dev/null >/dev/null 2>&1 && echo present || echo absent; }

# What is left in a folder, one relative path a line, sorted; "<none>" for no folder.
contents() { [ -d "$1" ] && (cd "$1" && find . -mindepth 1 | sed 's|^\./||' | sort) || echo "<none>"; }

fresh_machine
# Wine's desktop started before its settings were made: the program's windows open in the
# virtual one only with a new server.
wineserver -k 2>/dev/null
wineserver -w 2>/dev/null
ensure_wine_prefix
PROFILE="$(wine cmd.exe /c 'echo %USERPROFILE%' </dev/null | tr -d '\r')"
INSTDIR="$(host_path "$INSTDIR_WIN")"
SHORTCUT="$(host_path "$SHORTCUT_WIN")"
wine reg add 'HKCU\Software\Microsoft\Windows\CurrentVersion\Run' /v "Quillmere Notes" \
    /d 'C:\Program Files\Quillmere Notes\quillnotes.exe' /f </dev/null >/dev/null 2>&1
printf '[Main]\r\nuserwelcomed=1\r\n' >"$APP/setup.ini"
BUILD_APP="$APP"

# The machine before the install, as the build's program sees it.
start_program
find_problems
before="$out"
check_match "the scan finds the seeded leftover" "quillnotes\.exe" "$before"
step close "$MAIN"
wait_program_end

# A silent install: English, with every entry of the installer.
timeout 120 wine "$SETUP" /S </dev/null >/dev/null 2>&1 ||
    { check "the installer succeeds" "success" "failure"; stop; }
check "the installer puts the program, its languages and an empty backup folder" \
    "$(printf '%s\n' backup languages "$(cd "$1" && ls languages/*.txt | grep -v /_)" \
        purgelint.exe setup.ini uninstall.exe | sort)" "$(contents "$INSTDIR")"
APP="$INSTDIR"
check "the program carries the version of the build" "$VERSION $VERSION" \
    "$(strings -el "$INSTDIR/purgelint.exe" | grep -A1 -xE 'FileVersion|ProductVersion' |
        grep -vxE 'FileVersion|ProductVersion|--' | xargs)"
check "a silent install sets the program to English" "[Main]<CR>"$'\n'"language=eng<CR>" \
    "$(app_file setup.ini)"
check "the start menu has the program's shortcut" "present" \
    "$([ -f "$SHORTCUT" ] && echo present || echo absent)"
entry="$(for v in DisplayName DisplayVersion Publisher DisplayIcon UninstallString \
    QuietUninstallString; do echo "$v=$(reg_value "$UNINSTALL" "$v")"; done)"
check "the uninstall entry" "DisplayName=Tallowquince Purgelint
DisplayVersion=$VERSION
Publisher=Tallowquince
DisplayIcon=$INSTDIR_WIN\\purgelint.exe,0
UninstallString=\"$INSTDIR_WIN\\uninstall.exe\"
QuietUninstallString=\"$INSTDIR_WIN\\uninstall.exe\" /S" "$entry"
size_kb=$(du -sk --apparent-size "$INSTDIR" | cut -f1)
estimated="$(reg_value "$UNINSTALL" EstimatedSize)"
[[ "$estimated" == 0x* ]] && estimated=$((estimated)) || estimated=0
check "the estimated size is the installed size" "near" \
    "$( ((estimated > size_kb * 9 / 10 && estimated < size_kb * 11 / 10)) && echo near ||
        echo "$estimated KB for $size_kb KB")"

# The installed program: its welcome on the first start, the weekly scan switched on, and a
# scan that lists nothing of its own.
start_program
step answer Cancel 30
step click "$MAIN" "Options..."
step wait Options
step check Options "Perform automatic scan once a week" on
step click Options OK
step gone Options
check "the weekly scan is registered" "\"$INSTDIR_WIN\\purgelint.exe\" /SCHEDULED" \
    "$(reg_value "$RUN" ro_zuvaviv)"
check "the first start leaves the updater's note" "\"$INSTDIR_WIN\\Novaroll.exe\" /FIRSTRUN" \
    "$(reg_value "$RUNONCE" update_purgelint2)"
find_problems
check "the installed program reports nothing of itself" "$before" "$out"
check_match "its first scan leaves the updater's second note" \
    "^\"${INSTDIR_WIN//\\/\\\\}\\\\Novaroll\.exe\" /FIRSTERRORS_[0-9]+\$" \
    "$(reg_value "$RUNONCE" update_purgelint3)"
step close "$MAIN"
wait_program_end

# A silent uninstall, as the entry tells it, keeps only the user's backups, settings and logs
# (log.txt only if the program had an error to write).
printf 'Windows Registry Editor Version 5.00\r\n' >"$INSTDIR/backup/HKCU_Run_1.reg"
quiet="$(reg_value "$UNINSTALL" QuietUninstallString)"
[[ "$quiet" =~ ^\"([^\"]+)\"\ (.+)$ ]] ||
    { check "the quiet uninstall command" "\"PATH\" ARGS" "$quiet"; stop; }
timeout 60 wine "${BASH_REMATCH[1]}" ${BASH_REMATCH[2]} </dev/null >/dev/null 2>&1 ||
    { check "the uninstaller starts" "started" "failed"; stop; }
wait_uninstaller
check "a silent uninstall keeps only the backups, the settings and the logs" \
    "$(printf '%s\n' app.log backup backup/HKCU_Run_1.reg setup.ini)" \
    "$(contents "$INSTDIR" | grep -vx 'log\.txt')"
check "and the settings are as they were" "language=eng<CR>" \
    "$(app_file setup.ini | grep language)"
check "the uninstall entry is gone" "absent" "$(key_exists "$UNINSTALL")"
check "the weekly scan's Run value is gone" "<absent>" "$(reg_value "$RUN" ro_zuvaviv)"
check "the updater's notes are gone" "<absent> <absent>" \
    "$(reg_value "$RUNONCE" update_purgelint2) $(reg_value "$RUNONCE" update_purgelint3)"
check "the shortcut is gone" "absent" "$([ -e "$SHORTCUT" ] && echo present || echo absent)"

# The build's program finds exactly what was there before the install.
APP="$BUILD_APP"
start_program
find_problems
check "a scan after the uninstall finds nothing left by it" "$before" "$out"
step close "$MAIN"
wait_program_end
finish
