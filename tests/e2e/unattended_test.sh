#!/usr/bin/env bash
# /SCAN and /REPAIR with no display at all on the leftovers of real installers: the exit codes,
# both reports read field by field, the repaired machine; wrong command lines change nothing.
# Usage: unattended_test.sh DIST ui_driver.exe
source "$(dirname "${BASH_SOURCE[0]}")/driven-lib.sh" unattended "$1" "" "$2"

# A report's problems, one "location<TAB>valueName<TAB>missingFile<TAB>action<TAB>newPath" each.
report() {
    python3 -c 'import csv, json, sys; p = sys.argv[1]
rows = list(csv.DictReader(open(p, encoding="utf-8-sig", newline=""))) if p.endswith(".csv") \
    else json.load(open(p, encoding="utf-8"))["problems"]
for r in rows: print("\t".join(r[k] for k in ("location", "valueName", "missingFile", "action", "newPath")))' \
        "$(host_path "$1")"
}

nsis_machine
before="$(state)"
run /Scan /NoBackup
check "a wrong command line ends with 87 and says why" \
    "87 purgelint: /NOBACKUP goes with /REPAIR" "$code $out"
run /REPAIR:aggressive '/REPORT:C:\Missing\%COMPUTERNAME%.json'
check_match "a report that cannot be written ends with 87" \
    "^87 purgelint: the report C:.Missing.+json cannot be written" "$code $out"
check "and changes nothing" "$before" "$(state)"

printf '# deployed\r\n*\\Quillmere Notes\\runtime.dll\r\n' >"$APP/exclude.txt"  # one leftover hidden
run /scan '/report:C:\%COMPUTERNAME%.csv'
check "a scan that finds problems ends with 1, a line for each and the summary" \
    "1 14 13 problems found" "$code $(wc -l <<<"$out") $(tail -1 <<<"$out")"
computer="$(wine cmd.exe /c 'echo %COMPUTERNAME%' </dev/null | tr -d '\r')"
check "the CSV report holds every leftover not excluded" \
    "$( (rows_of "Brackenfold Photo Viewer" brackview brackview &&
        rows_of "Quillmere Notes" quillnotes runtime) | grep -v runtime.dll | sort)" \
    "$(report "C:\\$computer.csv" | cut -f1,3 | sort)"

# Only what a repair can be sure of: the moved viewer's files, each alone in a folder of its
# name; the notes' uninstaller has other programs' files only, and is left.
run /REPAIR:CONSERVATIVE '/REPORT:C:\r.json'
check "a repair that leaves problems ends with 2" "2 13 problems found, 10 repaired, 3 left" \
    "$code $(tail -1 <<<"$out")"
NOTES="$X86\\Quillmere Notes" MENU='C:\ProgramData\Microsoft\Windows\Start Menu\Programs\Quillmere Notes'
check "the JSON report tells what was done with each of the notes' leftovers" \
    "$(printf '%s\t%s\t%s\t%s\t\n' \
        "$MENU\\Uninstall Quillmere Notes.lnk" "" "$NOTES\\uninst.exe" left-needs-choice \
        'C:\users\Public\Desktop\Quillmere Notes.lnk' "" "$NOTES\\quillnotes.exe" deleted \
        "$APP_PATHS\\quillnotes.exe" "" "$NOTES\\quillnotes.exe" left-failed \
        "$WOW\\CurrentVersion\\Run\\Quillmere Notes" "Quillmere Notes" "$NOTES\\quillnotes.exe" \
        deleted "$WOW\\CurrentVersion\\Uninstall\\Quillmere Notes" UninstallString \
        "$NOTES\\uninst.exe" left-needs-choice "$WOW\\Help\\quillnotes.hlp" quillnotes.hlp \
        "$NOTES\\quillnotes.hlp" deleted | sort)" \
    "$(report 'C:\r.json' | grep -v Brackenfold | sort)"
check "the viewer's seven are re-pointed into its new folder" "$(printf '7 repointed|%s' "$VIEWER")" \
    "$(report 'C:\r.json' | grep Brackenfold | cut -f4,5 | sed 's/\\[^\\]*$//' | sort | uniq -c | sed 's/^ *//; s/\t/|/')"
check "the registry as the window's repair leaves it, the notes' left ones kept" \
    "$(grep -vE '^    ([^(].*)?quillnotes\.(exe|hlp)' \
        <<<"${before//"$X86\\Brackenfold Photo Viewer"/"$VIEWER"}" | sort)" "$(state | sort)"
finish
