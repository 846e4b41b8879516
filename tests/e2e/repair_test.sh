#!/usr/bin/env bash
# The demo machine's list driven by mouse, keyboard and buttons; its aggressive repair, the backup
# restored with the real REG (the conservative one is driven on installers' leftovers: wow_test).
source "$(dirname "${BASH_SOURCE[0]}")/driven-lib.sh" repair "$@"
WIN='HKLM\Software\Microsoft\Windows\CurrentVersion'
HELP='HKLM\Software\Microsoft\Windows\Help'
FONTS='HKLM\Software\Microsoft\Windows NT\CurrentVersion\Fonts'
# Every key a repair of the demo machine may change.
TOUCHED=("$WIN\\Run" 'HKCU\Software\Microsoft\Windows\CurrentVersion\Run' "$WIN\\SharedDLLs" "$HELP"
    "$FONTS" "$WIN\\Uninstall\\Brackenfold Photo Viewer" "$WIN\\Uninstall\\Quillmere Notes"
    "$WIN\\App Paths\\brackview.exe" "$WIN\\App Paths\\quillnotes.exe")

# The touched keys' values as `reg query` lists them, each after its key's name and a colon.
touched() {
    local key
    for key in "${TOUCHED[@]}"; do wine reg query "$key" </dev/null 2>/dev/null | tr -d '\r' |
        KEY="$key" awk '/^    / { print ENVIRON["KEY"] ":" $0 }'; done
}

run_of() { printf "%${2}s" '' | tr ' ' "$1"; }  # COUNT times the character: a run of marks

# The rows' selection marks in one line, read until as expected (a posted click comes in turn).
expect_marks() {
    for _ in $(seq 25); do
        step rows "$MAIN" && marks="$(cut -f5 <<<"$out" | tr -d '\n')" && [ "$marks" == "$2" ] && break
        sleep 0.2
    done
    check "$1" "$2" "$marks"
}

# The rows' keys and selections, with the case of the keys above.
row_keys() { step rows "$MAIN"; cut -f3,5 <<<"$out" | sed 's/^HKLM\\SOFTWARE/HKLM\\Software/' | sort; }

# Everything deleted but what cannot be, and a backup that restores it all.
seed_machine
start_program
scan
step rows "$MAIN" && rows=$(wc -l <<<"$out")
registry=$(($(grep -n -m1 '^Registry' <<<"$out" | cut -d: -f1) - 1))  # the first registry row
check "the scan selects every row and shows each kind with its icon" \
    "$(run_of '*' "$rows") File:3 Registry:1 Shortcut:2" \
    "$(cut -f5 <<<"$out" | tr -d '\n') $(cut -f1,6 <<<"$out" | tr '\t' : | sort -u | xargs)"
while IFS='|' read -r what marks command; do  # a driver step, then the selection it leaves
    eval "step $command" && expect_marks "$what" "$marks"
done <<EOF
Select none clears every row|$(run_of - "$rows")|click "\$MAIN" "$(caption frmmain_button_select_none)"
a click on the second row selects it alone|-*$(run_of - $((rows - 2)))|click-row "\$MAIN" 1
Shift+End selects from it to the last row|-$(run_of '*' $((rows - 1)))|keys "\$MAIN" Shift+End
Space selects the current row, the last, alone|$(run_of - $((rows - 1)))*|keys "\$MAIN" Space
typing R goes round to the first registry row and selects it alone|$(run_of - "$registry")*$(run_of - $((rows - registry - 1)))|keys "\$MAIN" R
Invert selection selects the others|$(run_of '*' "$registry")-$(run_of '*' $((rows - registry - 1)))|click "\$MAIN" "$(caption frmmain_button_select_invert)"
Ctrl+A selects every row|$(run_of '*' "$rows")|keys "\$MAIN" Ctrl+A
EOF
before="$(touched)"
repair_with "$(caption frmrepopt_opt_method1)" 21
check "only the program paths stay, selected: their default value is not deleted" \
    "$(printf '%s\t*\n' "$WIN\\App Paths\\brackview.exe" "$WIN\\App Paths\\quillnotes.exe")" \
    "$(row_keys)"
check "exactly the leftovers' values are deleted: the tuner's, the entries' rest stay" \
    "$(grep -vE -e ':    (Brackenfold Photo Viewer|Quillmere Notes)( \(TrueType\))?    REG_' \
        -e '(brackvw|quillnt)[^ ]*    REG_' -e ':    UninstallString    REG_' <<<"$before")" \
    "$(touched)"
check "the broken shortcuts are deleted, the tuner's stays" "Larkspan Tuner.lnk" \
    "$(cd "$(host_path "$PROFILE\\Desktop")" && ls -- *.lnk)"
check "the old temporary files are deleted, the recent one stays" "session.tmp" \
    "$(cd "$TEMP_DIR" && find . -type f | sed 's|^\./||')"
backups="$(ls "$APP/backup" | grep '\.reg$')"
check "one export per registry problem, 1 to 12 under one stamp" "1 $(seq -f '%g.reg' 12 | xargs)" \
    "$(cut -d- -f1,2 <<<"$backups" | sort -u | wc -l) $(sed -E 's/^[0-9]{6}-[0-9]{6}-//' \
        <<<"$backups" | sort -n | xargs)"
import_backup
check "importing the backup brings back every value as it was" "$before" "$(touched)"
close_program

finish
