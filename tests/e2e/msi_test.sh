#!/usr/bin/env bash
# The MSI: a silent install for the machine with a LANGUAGE; an uninstall that leaves nothing of
# the program or the package (weekly scan, settings, logs, backups). Packs the build when older.
# Usage: msi_test.sh DIST ui_driver.exe
source "$(dirname "${BASH_SOURCE[0]}")/driven-lib.sh" msi "$1" "" "$2"
INSTDIR_WIN='C:\Program Files\Tallowquince Purgelint'
RUN='HKLM\Software\Microsoft\Windows\CurrentVersion\Run'
MSI="$BUILD/packages/purgelint-$(cat "$BUILD/version.txt")-x64.msi"
if [ ! -f "$MSI" ] || [ -n "$(find "$DIST/purgelint.exe" -newer "$MSI")" ]; then
    "$(dirname "${BASH_SOURCE[0]}")/../../scripts/package.sh" "$BUILD" >/dev/null ||
        { check "the build packs" packed failed; exit 1; }
fi
msiexec() { timeout 120 wine msiexec "$1" "$(winepath -w "$MSI")" /qn "${@:2}" </dev/null >/dev/null 2>&1; }
# The problems the build's program finds, with no window.
problems() { (cd "$APP" && env -u DISPLAY wine purgelint.exe /SCAN </dev/null 2>/dev/null | tr -d '\r'); }
files() { (cd "$INSTDIR" 2>/dev/null && find . -mindepth 1 | sed 's|^\./||' | sort | xargs); }
shortcuts() { find "$WINEPREFIX/drive_c" -iname 'Tallowquince Purgelint.lnk' | wc -l; }

fresh_machine
before="$(problems)"
msiexec /i LANGUAGE=deu || { check "msiexec installs" installed failed; stop; }
INSTDIR="$(host_path "$INSTDIR_WIN")"
check "the package puts the program, its languages, a backup folder and a shortcut" \
    "backup languages languages/deu.txt languages/eng.txt languages/fra.txt purgelint.exe setup.ini 1" \
    "$(files) $(shortcuts)"
check "LANGUAGE goes into setup.ini" "[Main]<CR>"$'\n'"language=deu<CR>" "$(sed 's/\r$/<CR>/' "$INSTDIR/setup.ini")"
# What the program itself writes: a log, a backup, the weekly scan's entry.
(cd "$INSTDIR" && env -u DISPLAY wine purgelint.exe /SCAN </dev/null >/dev/null 2>&1)
touch "$INSTDIR/backup/261207-100000-1.reg"
reg_add "$RUN" /v ro_zuvaviv /d "\"$INSTDIR_WIN\\purgelint.exe\" /SCHEDULED"
TASK="$WINEPREFIX/drive_c/windows/system32/tasks/Tallowquince Purgelint weekly scan"
printf '<?xml version="1.0"?><Task xmlns="http://schemas.microsoft.com/windows/2004/02/mit/task"><Actions><Exec><Command>%s</Command></Exec></Actions></Task>' \
    "$INSTDIR_WIN\\purgelint.exe" >"$INSTDIR/task.xml"
wine schtasks /Create /TN "Tallowquince Purgelint weekly scan" /XML "$INSTDIR_WIN\\task.xml" /F \
    </dev/null >/dev/null 2>&1 && rm "$INSTDIR/task.xml"
msiexec /x || { check "msiexec uninstalls" uninstalled failed; stop; }
check "the uninstall leaves no folder, no shortcut, no weekly scan" "no folder 0 <absent> 0" \
    "$([ -e "$INSTDIR" ] && files || echo no folder) $(shortcuts) $(reg_value "$RUN" ro_zuvaviv) \
$(ls "$TASK" 2>/dev/null | wc -l)"
check "a scan afterwards finds nothing left by it" "$before" "$(problems)"
finish
