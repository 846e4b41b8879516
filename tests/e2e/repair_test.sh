#!/usr/bin/env bash
# Both repair methods on the demo machine, the backup restored with the real REG.
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

# The rows' keys and selections, with the case of the keys above.
row_keys() { step rows "$MAIN"; cut -f3,5 <<<"$out" | sed 's/^HKLM\\SOFTWARE/HKLM\\Software/' | sort; }

new_machine() { seed_machine "$@"; start_program; scan; }

# --- Aggressive: everything deleted but what cannot be, and a backup that restores it all ---
new_machine
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
backups="$(ls "$APP/backup")"
check "one export per registry problem, 1 to 12 under one stamp" "1 $(seq -f '%g.reg' 12 | xargs)" \
    "$(cut -d- -f1,2 <<<"$backups" | sort -u | wc -l) $(sed -E 's/^[0-9]{6}-[0-9]{6}-//' \
        <<<"$backups" | sort -n | xargs)"
import_backup
check "importing the backup brings back every value as it was" "$before" "$(touched)"
close_program

# --- Conservative: the moved viewer found and re-pointed, the user asked between two files ---
# Not into "C:\Program Files\Brackenfold": the scan's command-line rule would read the old
# "...\Brackenfold Photo Viewer\uninst.exe" /S as that existing program with arguments.
new_machine "$(host_path 'C:\Program Files')/Viewers"
VIEWER='C:\Program Files\Viewers\Brackenfold Photo Viewer'
TUNER='C:\Program Files\Larkspan Tuner'
CHOOSER="$(caption frmrepselpath_caption)"
repair_with "$(caption frmrepopt_opt_method0)"
# Both uninstallers bear the missing one's name: each uninstall entry and shortcut asks. The
# viewer's take its own; the notes' are cancelled, which deletes them.
step lines "$CHOOSER" 300
screenshot chooser
lines="$(grep -v '^label: ' <<<"$out")"
check "the chooser offers both uninstallers, the first selected" \
    "* $TUNER\\uninst.exe|$VIEWER\\uninst.exe" \
    "$(head -1 <<<"$lines" | cut -f2) $(cut -f1 <<<"$lines" | sort | paste -sd'|')"
for prompt in 1 2 3 4; do
    [ "$prompt" = 1 ] || step lines "$CHOOSER" 300
    if grep -q '^label: .*Brackenfold' <<<"$out"; then
        step choose "$CHOOSER" "$VIEWER\\uninst.exe"
        step press "$CHOOSER" "$(caption frmrepselpath_ok)"
    else
        step press "$CHOOSER" "$(caption frmrepselpath_cancel)"
    fi
done
step answer OK 300
check_match "the closing message counts 22 repaired" " 22$" "$out"
while IFS='|' read -r key name data; do
    check "$key: $name reads $data" "$data" "$(reg_value "$key" "$name")"
done <<EOF
$WIN\Run|Brackenfold Photo Viewer|"$VIEWER\brackview.exe" /tray
$WIN\Uninstall\Brackenfold Photo Viewer|UninstallString|"$VIEWER\uninst.exe" /S
$WIN\Uninstall\Quillmere Notes|UninstallString|<absent>
$HELP|brackvw.hlp|$VIEWER
$FONTS|Brackenfold Photo Viewer (TrueType)|$VIEWER\brackvw.ttf
$WIN\App Paths\brackview.exe|(Default)|$VIEWER\brackview.exe
$WIN\SharedDLLs|$VIEWER\brackvwcore.dll|0x1
$WIN\SharedDLLs|C:\Program Files\Brackenfold Photo Viewer\brackvwcore.dll|<absent>
$WIN\SharedDLLs|$TUNER\larktncore.dll|0x1
EOF
scan
check "a new scan finds nothing of the viewer: its shortcuts point at it again" \
    "$WIN\\App Paths\\quillnotes.exe" "$(row_keys | cut -f1)"
close_program
finish
