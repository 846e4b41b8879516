#!/usr/bin/env bash
# The scan finds every leftover of 32-bit programs installed for everyone (nsis_machine) and
# nothing of the kept one; a conservative repair re-points the moved program's entries in both
# views and never the removed one's to the kept one's files.
# Usage: wow_test.sh DIST ui_driver.exe
source "$(dirname "${BASH_SOURCE[0]}")/driven-lib.sh" wow "$1" "" "$2"
nsis_machine
before="$(state)"

start_program
scan
step rows "$MAIN"
check "every leftover of both programs is found, in both views and everyone's folders" \
    "$( (rows_of "Brackenfold Photo Viewer" brackview brackview &&
        rows_of "Quillmere Notes" quillnotes runtime) |
        sort)" "$(cut -f3,4 <<<"$out" | sed 's/\tLinks to nonexisting file /\t/' | sort)"

# Two uninstallers bear the missing ones' name: each uninstall entry and shortcut asks. The
# viewer's is offered first to the viewer's entries and taken; the notes' are cancelled, and so
# is the tuner's runtime, offered alone to the notes' shared DLL.
CHOOSER="$(caption frmrepselpath_caption)"
repair_with "$(caption frmrepopt_opt_method0)"
for prompt in 1 2 3 4 5; do
    step lines "$CHOOSER" 300
    [ "$prompt" = 1 ] && screenshot wow-chooser
    grep -q runtime <<<"$out" && screenshot wow-chooser-one && check "the runtime is offered alone" \
        "$X86\\Larkspan Tuner\\runtime.dll"$'\t*' "$(grep -v '^label: ' <<<"$out")"
    first="$(grep -v '^label: ' <<<"$out" | head -1)"
    if grep -q '^label: .*Brackenfold' <<<"$out"; then
        check "the moved viewer's uninstaller comes first for its entry" \
            "$VIEWER\\uninst.exe"$'\t*' "$first"
        step press "$CHOOSER" "$(caption frmrepselpath_ok)"
    else
        step press "$CHOOSER" "$(caption frmrepselpath_cancel)"
    fi
done
step answer OK 300
# An application path's default value is kept: the notes' stays, and so does its row.
check_match "the closing message counts 13 repaired" " 13$" "$out"
repointed="${before//"$X86\\Brackenfold Photo Viewer"/"$VIEWER"}"
check "the viewer's entries point into its new folder, the notes' are gone, the tuner's stay" \
    "$(grep -vE '^    [^(].*(Quillmere|quillnotes)' <<<"$repointed" | sort)" "$(state | sort)"
scan
step rows "$MAIN"
check "a new scan finds nothing else" "$APP_PATHS\\quillnotes.exe" "$(cut -f3 <<<"$out")"
# The menu key on that row: "Never report this" puts its location into exclude.txt.
step keys "$MAIN" Shift+F10
screenshot never-report
step keys "$MAIN" Down Enter
step rows "$MAIN"
check "never reported again" "|$APP_PATHS\\quillnotes.exe<CR>" "$out|$(app_file exclude.txt)"
import_backup
check "the backup brings back the notes' entry in the 32-bit view" \
    "\"$X86\\Quillmere Notes\\uninst.exe\"" \
    "$(reg_value "$WOW\\CurrentVersion\\Uninstall\\Quillmere Notes" UninstallString)"
close_program
finish
