#!/usr/bin/env bash
# Repairs of real installers' leftovers undone: from the Restore window and with /UNDO, the
# touched keys come back byte for byte as `reg export` writes them, every shortcut file as it
# was; a newer file in a shortcut's place is left; a second restore changes nothing.
# Usage: undo_test.sh DIST ui_driver.exe
source "$(dirname "${BASH_SOURCE[0]}")/driven-lib.sh" undo "$1" "" "$2"
PUBLIC_DESKTOP='C:\users\Public\Desktop'
MENU='C:\ProgramData\Microsoft\Windows\Start Menu\Programs'
# Every key a repair of this machine changes.
KEYS=("$WOW\\CurrentVersion\\Uninstall\\Brackenfold Photo Viewer"
    "$WOW\\CurrentVersion\\Uninstall\\Quillmere Notes" "$WOW\\CurrentVersion\\Run" "$WOW\\Help"
    "$WOW\\CurrentVersion\\SharedDLLs" "$APP_PATHS\\brackview.exe" "$APP_PATHS\\quillnotes.exe")

# A checksum of each touched key's export and of each shortcut file everyone sees.
machine() {
    local key n=0
    for key in "${KEYS[@]}"; do
        n=$((n + 1))
        wine reg export "$key" "C:\\key$n.reg" /y </dev/null >/dev/null 2>&1 || echo "$key: no export"
        echo "$key: $(md5sum <"$WINEPREFIX/drive_c/key$n.reg" | cut -c1-32)"
    done
    (cd "$(host_path "$PUBLIC_DESKTOP")" && md5sum -- *.lnk)
    (cd "$(host_path "$MENU")" && find . -name '*.lnk' -exec md5sum {} + | sort -k2)
}

# Restores the newest run from the window; the closing message is in $out.
restore_newest() {
    step click "$MAIN" "$(caption frmmain_button_restore)"
    step lines "$RESTORE" 30
    runs="$out"
    screenshot restore-window
    step press "$RESTORE" "$(caption frmrestore_restore)"
    step answer No 300
}

nsis_machine
RESTORE="$(caption frmrestore_caption)"
NOTES_LINK="$(host_path "$PUBLIC_DESKTOP")/Quillmere Notes.lnk"  # once the prefix is there
before="$(machine)"
start_program
scan
repair_with "$(caption frmrepopt_opt_method1)" 12
restore_newest
check_match "the window lists the repair: aggressive, 8 registry entries, 4 shortcuts" \
    "$(caption frmrepopt_opt_method1) +8 $(caption frmrestore_registry), 4 $(caption frmrestore_shortcuts)	\*" \
    "$(grep -v '^label: ' <<<"$runs")"
check_match "every change came back" "$(caption msgbox_restored) 12 / 12" "$out"
check "the machine is as before the repair, byte for byte" "$before" "$(machine)"
restore_newest
check_match "a second restore finds everything as it was" "$(caption msgbox_restored) 12 / 12" "$out"
check "and changes nothing" "$before" "$(machine)"
close_program

# The same from the command line, with a newer file where a deleted shortcut was.
run /REPAIR:AGGRESSIVE
check "the aggressive repair leaves the application paths' default values" 2 "$code"
aggressive="$(ls "$APP/backup" | sed -n 's/\.json$//p' | sort | tail -1)"
echo "a newer file" >"$NOTES_LINK"
run /UNDO:LATEST
check_match "/UNDO:LATEST leaves the newer file as it is, says so and ends with 2" "^2 a newer \
file .*Quillmere Notes.lnk	.*left-changed-since	a newer file is in its place" \
    "$code $(cat "$NOTES_LINK") $out"
rm "$NOTES_LINK"
run "/UNDO:$aggressive"
check "that run undone by its stamp brings back the shortcut: the machine is as before" \
    "0 $before" "$code $(machine)"

# A conservative run re-points the moved viewer's entries and shortcuts.
run /REPAIR:CONSERVATIVE
check "the conservative run re-points the viewer's shortcut" "repointed	$VIEWER\\brackview.exe" \
    "$(grep -F 'Desktop\Brackenfold Photo Viewer.lnk' <<<"$out" | cut -f5,6)"
run /UNDO:LATEST '/REPORT:C:\undo.json'
check "/UNDO:LATEST undoes it: the machine is as before" "0 $before" "$code $(machine)"
check "the report says so" '"mode": "undo" "left": 0' \
    "$(grep -oE '"(mode|left)": [^,]+' "$(host_path 'C:\undo.json')" | xargs -d '\n')"
finish
