#!/usr/bin/env bash
# A silent install and uninstall: the build's purgelint.exe (in C:\Purgelint) finds nothing of
# the installed program before or after. Packs the build first when its installer is older.
# Runs on a display (xvfb-run). Usage: install_test.sh DIST ui_driver.exe
source "$(dirname "${BASH_SOURCE[0]}")/driven-lib.sh" install "$1" "" "$2"
UNINSTALL='HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall\Tallowquince Purgelint'
RUN='HKLM\Software\Microsoft\Windows\CurrentVersion\Run'
RUNONCE='HKLM\Software\Microsoft\Windows\CurrentVersion\RunOnce'
INSTDIR_WIN='C:\Program Files\Tallowquince Purgelint'

VERSION="$(cat "$BUILD/version.txt")"
SETUP="$BUILD/packages/purgelint-$VERSION-setup.exe"
SOURCE="$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)"
if [ ! -f "$SETUP" ] || [ -n "$(find "$DIST/purgelint.exe" "$DIST/languages" \
    "$SOURCE/installer" -newer "$SETUP" 2>/dev/null)" ]; then
    "$SOURCE/scripts/package.sh" "$BUILD" >/dev/null ||
        { check "the build packs" packed failed; exit 1; }
fi

# The uninstaller copies itself into the temporary folder, starts the copy and returns at
# once: waits up to 60 s for the copy to remove the uninstaller and end.
wait_uninstaller() {
    local _ pid running
    for _ in $(seq 600); do
        running="$(for pid in $(pgrep -f '~nsu[^\\]*\.tmp\\Un\.exe'); do
            grep -lzxF "WINEPREFIX=$WINEPREFIX" "/proc/$pid/environ" 2>/dev/null; done)"
        [ -z "$running" ] && [ ! -e "$INSTDIR/uninstall.exe" ] && return
        sleep 0.1
    done
    check "the uninstaller removes itself and ends" "ended" "still running or left behind"
    stop
}

scan_alone() { start_program; scan; listed_rows; rows="$out"; close_program; }
contents() { [ -d "$1" ] && (cd "$1" && find . -mindepth 1 | sed 's|^\./||' | sort) || echo "<none>"; }

fresh_machine
INSTDIR="$(host_path "$INSTDIR_WIN")"
SHORTCUT="$(host_path 'C:\ProgramData\Microsoft\Windows\Start Menu\Programs')/$MAIN.lnk"
reg_add 'HKCU\Software\Microsoft\Windows\CurrentVersion\Run' /v "Quillmere Notes" \
    /d 'C:\Program Files\Quillmere Notes\quillnotes.exe'
BUILD_APP="$APP"
scan_alone
before="$rows"
check_match "the build's program finds the seeded leftover" "quillnotes\.exe" "$before"

timeout 120 wine "$SETUP" /S </dev/null >/dev/null 2>&1 ||
    { check "the installer succeeds" success failure; stop; }
check "the installer puts the program, its languages and an empty backup folder" \
    "$(printf '%s\n' backup languages "$(cd "$DIST" && ls languages/*.txt | grep -v /_)" \
        purgelint.exe setup.ini uninstall.exe | sort)" "$(contents "$INSTDIR")"
APP="$INSTDIR"
check "the program carries the version of the build" "$VERSION $VERSION" \
    "$(strings -el "$INSTDIR/purgelint.exe" | grep -A1 -xE 'FileVersion|ProductVersion' |
        grep -vxE 'FileVersion|ProductVersion|--' | xargs)"
check "a silent install sets the program to English" "[Main]<CR>"$'\n'"language=eng<CR>" \
    "$(app_file setup.ini)"
check "the start menu has the program's shortcut" present "$([ -f "$SHORTCUT" ] && echo present)"
check "the uninstall entry" "$(printf '%s\n' 'Tallowquince Purgelint' "$VERSION" Tallowquince \
    "$INSTDIR_WIN\\purgelint.exe,0" "\"$INSTDIR_WIN\\uninstall.exe\"" \
    "\"$INSTDIR_WIN\\uninstall.exe\" /S")" "$(for v in DisplayName DisplayVersion Publisher \
    DisplayIcon UninstallString QuietUninstallString; do reg_value "$UNINSTALL" "$v"; done)"
size_kb=$(du -sk --apparent-size "$INSTDIR" | cut -f1)
estimated=$(($(reg_value "$UNINSTALL" EstimatedSize | grep -x '0x[0-9a-f]*' || echo 0)))
check "the estimated size, $estimated KB, is within a tenth of the installed $size_kb KB" 1 \
    $((estimated * 10 > size_kb * 9 && estimated * 10 < size_kb * 11))

# The installed program: its welcome, the weekly scan switched on, a scan listing nothing of it.
start_program
step answer Cancel 30
step click "$MAIN" "Options..."
step wait Options
step check Options "Perform automatic scan once a week" on
step press Options OK
check "the weekly scan is registered" "\"$INSTDIR_WIN\\purgelint.exe\" /SCHEDULED" \
    "$(reg_value "$RUN" ro_zuvaviv)"
check "the first start leaves the updater's note" "\"$INSTDIR_WIN\\Novaroll.exe\" /FIRSTRUN" \
    "$(reg_value "$RUNONCE" update_purgelint2)"
scan
listed_rows
check "the installed program reports nothing of itself" "$before" "$out"
check_match "its first scan leaves the updater's second note" \
    "^\"${INSTDIR_WIN//\\/\\\\}\\\\Novaroll\.exe\" /FIRSTERRORS_[0-9]+\$" \
    "$(reg_value "$RUNONCE" update_purgelint3)"
close_program

# The entry's quiet uninstall keeps only the user's backups, settings and logs (log.txt only
# if the program had an error to write).
printf 'Windows Registry Editor Version 5.00\r\n' >"$INSTDIR/backup/HKCU_Run_1.reg"
timeout 60 wine "$INSTDIR_WIN\uninstall.exe" /S </dev/null >/dev/null 2>&1 ||
    { check "the uninstaller starts" started failed; stop; }
wait_uninstaller
check "a silent uninstall keeps only the backups, the settings and the logs" \
    "$(printf '%s\n' app.log backup backup/HKCU_Run_1.reg setup.ini)" \
    "$(contents "$INSTDIR" | grep -vx 'log\.txt')"
check "and the settings are as they were" "language=eng<CR>" \
    "$(app_file setup.ini | grep language)"
for value in "$RUN ro_zuvaviv" "$RUNONCE update_purgelint2" "$RUNONCE update_purgelint3"; do
    check "the uninstaller removes ${value#* }" "<absent>" "$(reg_value $value)"
done
check "the uninstall entry is gone" absent \
    "$(wine reg query "$UNINSTALL" </dev/null >/dev/null 2>&1 && echo present || echo absent)"
check "the shortcut is gone" no "$([ -e "$SHORTCUT" ] && echo yes || echo no)"

APP="$BUILD_APP"
scan_alone
check "a scan after the uninstall finds nothing left by it" "$before" "$rows"
finish
