#!/usr/bin/env bash
# purgelint.exe's start-up under Wine: the first-run note, the start line and the weekly
# scheduled start. 2026-12-07 is a Monday, 2026-12-08 a Tuesday.
source "$(dirname "${BASH_SOURCE[0]}")/e2e-lib.sh" "$1"
RUNONCE='HKLM\Software\Microsoft\Windows\CurrentVersion\RunOnce'
NL=$'\n'

fresh_machine
run_at "2026-12-08 10:00:00"
check_match "first start writes one start line" \
    '^Program started [^ ]*8[^ ]* with params: <CR>$' "$(app_file app.log)"
check "first start leaves the updater's note" '"C:\Purgelint\Novaroll.exe" /FIRSTRUN' \
    "$(reg_value "$RUNONCE" update_purgelint2)"
check "first start marks the first run done" "[Main]<CR>${NL}wasfirstrun=1<CR>" "$(app_file setup.ini)"

wine reg delete "$RUNONCE" /v update_purgelint2 /f >/dev/null 2>&1
before="$(app_file app.log)"
run_at "2026-12-08 11:00:00" /SCHEDULED
check_match "a Tuesday's scheduled start appends exactly two lines" \
    "^${before//\[/\\[}${NL}Program started [^ ]+ with params: /SCHEDULED<CR>${NL}\.\. scheduled run, skipped, ending<CR>\$" \
    "$(app_file app.log)"
check "a later start leaves no note" "<absent>" "$(reg_value "$RUNONCE" update_purgelint2)"

run_at "2026-12-07 08:30:00" /scheduled
check "Monday's first scheduled start is due" ".. performing scheduled run<CR>" \
    "$(app_file app.log | tail -n 1)"
check "and stores that day" "[Main]<CR>${NL}wasfirstrun=1<CR>${NL}last_scheduled_run=07122026<CR>" \
    "$(app_file setup.ini)"

run_at "2026-12-07 17:00:00" "x/Scheduled"
check "a second scheduled start that Monday is skipped" ".. scheduled run, skipped, ending<CR>" \
    "$(app_file app.log | tail -n 1)"
check "the log holds the four starts" "4" "$(grep -c '^Program started' "$APP/app.log")"

finish
