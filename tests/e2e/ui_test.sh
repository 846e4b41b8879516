#!/usr/bin/env bash
# purgelint.exe's main window driven from outside, like a user would, on a machine with the
# leftovers of programs that were really installed: one deleted by hand, one moved by hand,
# one still installed, and old files in the temporary folder. Runs on a display (xvfb-run).
# Screenshots of the main window, the progress window and the options dialog go to shots/.
# Usage: ui_test.sh DIST demo_installer.exe ui_driver.exe
source "$(dirname "${BASH_SOURCE[0]}")/driven-lib.sh" ui "$@"
RUN='HKLM\Software\Microsoft\Windows\CurrentVersion\Run'

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

fresh_machine
seed_machine
new_wine_server
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
