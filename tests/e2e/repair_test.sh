#!/usr/bin/env bash
# purgelint.exe's repair command driven from outside on the demo machine, with the real REG:
# an aggressive repair of everything, whose registry backup is proven by importing it again;
# then, on a fresh machine where the viewer was moved inside Program Files, a conservative
# repair that re-points the moved program and asks which of two uninstallers it wants.
# Runs on a display (xvfb-run). Usage: repair_test.sh DIST demo_installer.exe ui_driver.exe
source "$(dirname "${BASH_SOURCE[0]}")/driven-lib.sh" repair "$@"

WIN='HKLM\Software\Microsoft\Windows\CurrentVersion'
HELP='HKLM\Software\Microsoft\Windows\Help'
FONTS='HKLM\Software\Microsoft\Windows NT\CurrentVersion\Fonts'
USER_RUN='HKCU\Software\Microsoft\Windows\CurrentVersion\Run'
# Every key a repair of the demo machine may change.
TOUCHED=("$WIN\\Run" "$USER_RUN" "$WIN\\SharedDLLs" "$HELP" "$FONTS"
    "$WIN\\Uninstall\\Brackenfold Photo Viewer" "$WIN\\Uninstall\\Quillmere Notes"
    "$WIN\\App Paths\\brackview.exe" "$WIN\\App Paths\\quillnotes.exe")

# The touched keys as REG exports them, one file each, into the host folder $1.
export_touched() {
    local n=0 key
    rm -rf "$1" && mkdir -p "$1"
    for key in "${TOUCHED[@]}"; do
        n=$((n + 1))
        wine reg export "$key" "$(winepath -w "$1")\\$n.reg" /y </dev/null >/dev/null 2>&1
    done
}

# The value names of a key, one per line, as `reg query` lists them.
value_names() {
    wine reg query "$1" </dev/null 2>/dev/null | tr -d '\r' |
        sed -nE 's/^    (.*[^ ]) +REG_[A-Z_]+( .*)?$/\1/p'
}

# The data of a value as `reg query` lists it ("(Default)" for the default value), or
# "<absent>"; names may hold blanks and brackets.
value_data() {
    # Through the environment: awk -v would take the backslashes as escapes.
    wine reg query "$1" </dev/null 2>/dev/null | tr -d '\r' | NAME="$2" awk '
        BEGIN { name = ENVIRON["NAME"] }
        index(tolower($0), tolower("    " name "    ")) == 1 {
            rest = substr($0, length(name) + 9)
            sub(/^REG_[A-Z_]+ */, "", rest)
            print rest
            found = 1
        }
        END { if (!found) print "<absent>" }'
}

has_value() { value_names "$1" | grep -qixF -- "$2" && echo yes || echo no; }

new_machine() {  # seed_machine's argument
    fresh_machine
    seed_machine "$@"
    new_wine_server
    start_program
    step click "$MAIN" "Find problems"
    step answer No 300
}

# --- Aggressive: everything deleted but what cannot be, and a backup that restores it all ---
new_machine
export_touched "$E2E_ROOT/before"
repair_with "$(caption frmrepopt_opt_method1)"
step answer OK 300
check_match "the closing message counts 21 repaired" " 21$" "$out"
step rows "$MAIN"
check "only the program paths stay, selected: their default value is not deleted" \
    "$(printf '%s\t%s\n' "$WIN\\App Paths\\brackview.exe" '*' "$WIN\\App Paths\\quillnotes.exe" '*')" \
    "$(cut -f3,5 <<<"$out" | sed 's/^HKLM\\SOFTWARE/HKLM\\Software/' | sort)"

check "the viewer's start-up entry is gone" no "$(has_value "$WIN\\Run" 'Brackenfold Photo Viewer')"
check "the notes' start-up entry is gone" no "$(has_value "$USER_RUN" 'Quillmere Notes')"
check "the tuner's start-up entry stays" yes "$(has_value "$USER_RUN" 'Larkspan Tuner')"
for name in brackvw.hlp quillnt.hlp; do
    check "the help entry $name is gone" no "$(has_value "$HELP" "$name")"
done
check "the tuner's help entry stays" yes "$(has_value "$HELP" larktn.hlp)"
for program in 'Brackenfold Photo Viewer' 'Quillmere Notes'; do
    check "the font of $program is gone" no "$(has_value "$FONTS" "$program (TrueType)")"
    check "the uninstall command of $program is gone" no \
        "$(has_value "$WIN\\Uninstall\\$program" UninstallString)"
    check "the rest of $program's uninstall entry stays" yes \
        "$(has_value "$WIN\\Uninstall\\$program" DisplayName)"
done
check "the shared library counts are gone" "" \
    "$(value_names "$WIN\\SharedDLLs" | grep -i -e brackvw -e quillnt)"
check "the tuner's library count stays" yes \
    "$(has_value "$WIN\\SharedDLLs" 'C:\Program Files\Larkspan Tuner\larktncore.dll')"
desktop="$(host_path "$PROFILE\\Desktop")"
check "the broken shortcuts are deleted, the tuner's stays" "Larkspan Tuner.lnk" \
    "$(cd "$desktop" && ls -- *.lnk)"
check "the old temporary files are deleted, the recent one stays" "session.tmp" \
    "$(cd "$TEMP_DIR" && find . -type f | sed 's|^\./||')"

backups="$(cd "$APP/backup" 2>/dev/null && ls)"
check "one export per registry problem" 12 "$(wc -l <<<"$backups")"
check "the exports share one stamp and count 1 to 12" \
    "$(seq 12)" "$(sed -nE 's/^[0-9]{6}-[0-9]{6}-([0-9]+)\.reg$/\1/p' <<<"$backups" | sort -n)"
check "the exports share one stamp" 1 "$(cut -d- -f1,2 <<<"$backups" | sort -u | wc -l)"
for file in $backups; do
    wine reg import "C:\\Purgelint\\backup\\$file" </dev/null >/dev/null 2>&1 ||
        check "reg import $file" success failure
done
export_touched "$E2E_ROOT/after"
check "importing the backup brings back every value as it was" "" \
    "$(diff -r "$E2E_ROOT/before" "$E2E_ROOT/after")"
check "no language text was missing" "<none>" "$(app_file languages/_missing.txt)"
step close "$MAIN"
wait_program_end

# --- Conservative: the moved viewer found and re-pointed, the user asked between two files ---
# Not moved into a folder whose name begins its old one: "C:\Program Files\Brackenfold"
# would make "C:\Program Files\Brackenfold Photo Viewer\uninst.exe" /S read as an existing
# program with arguments, as the command-line rule of the scan takes it.
new_machine "$(host_path 'C:\Program Files')/Viewers"
VIEWER='C:\Program Files\Viewers\Brackenfold Photo Viewer'
TUNER='C:\Program Files\Larkspan Tuner'
CHOOSER="$(caption frmrepselpath_caption)"
repair_with "$(caption frmrepopt_opt_method0)"
# Both uninstallers bear the missing one's name: each uninstall entry and shortcut asks. The
# viewer's take its own; the notes' are cancelled, which deletes them.
for prompt in 1 2 3 4; do
    step lines "$CHOOSER" 300
    if [ "$prompt" = 1 ]; then
        screenshot chooser
        check "the chooser offers both uninstallers, the first selected" \
            "$(printf '%s\n' "$TUNER\\uninst.exe" "$VIEWER\\uninst.exe" | sort)" \
            "$(grep -v '^label: ' <<<"$out" | cut -f1 | sort)"
        check "the first line is selected" '*' "$(grep -v '^label: ' <<<"$out" | head -1 | cut -f2)"
    fi
    if grep -q '^label: .*Brackenfold' <<<"$out"; then
        step choose "$CHOOSER" "$VIEWER\\uninst.exe"
        step press "$CHOOSER" "$(caption frmrepselpath_ok)"
    else
        step press "$CHOOSER" "$(caption frmrepselpath_cancel)"
    fi
done
step answer OK 300
check_match "the closing message counts 22 repaired" " 22$" "$out"
check "the viewer starts from its new place, with its switch" "\"$VIEWER\\brackview.exe\" /tray" \
    "$(value_data "$WIN\\Run" 'Brackenfold Photo Viewer')"
check "the viewer's uninstall command keeps its switch" "\"$VIEWER\\uninst.exe\" /S" \
    "$(value_data "$WIN\\Uninstall\\Brackenfold Photo Viewer" UninstallString)"
check "the notes' uninstall command is deleted" no \
    "$(has_value "$WIN\\Uninstall\\Quillmere Notes" UninstallString)"
check "the help entry names the viewer's folder" "$VIEWER" "$(value_data "$HELP" brackvw.hlp)"
check "the font names the moved file" "$VIEWER\\brackvw.ttf" \
    "$(value_data "$FONTS" 'Brackenfold Photo Viewer (TrueType)')"
check "the program path names the moved program" "$VIEWER\\brackview.exe" \
    "$(value_data "$WIN\\App Paths\\brackview.exe" '(Default)')"
check "the library count moved to the found file's name" \
    "$(printf '%s\n' "$TUNER\\larktncore.dll" "$VIEWER\\brackvwcore.dll")" \
    "$(value_names "$WIN\\SharedDLLs" | grep -i -e brackvw -e larktn | sort)"
check "the moved count keeps its number" 0x1 \
    "$(value_data "$WIN\\SharedDLLs" "$VIEWER\\brackvwcore.dll")"
step rows "$MAIN"
check "only the notes' program path stays" "$WIN\\App Paths\\quillnotes.exe" \
    "$(cut -f3 <<<"$out" | sed 's/^HKLM\\SOFTWARE/HKLM\\Software/')"
step click "$MAIN" "Find problems"
step answer No 300
step rows "$MAIN"
check "a new scan finds nothing of the viewer: its shortcuts point at it again" \
    "$WIN\\App Paths\\quillnotes.exe" "$(cut -f3 <<<"$out" | sed 's/^HKLM\\SOFTWARE/HKLM\\Software/')"
check "no language text was missing" "<none>" "$(app_file languages/_missing.txt)"
step close "$MAIN"
wait_program_end
finish
