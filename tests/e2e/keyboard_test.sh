#!/usr/bin/env bash
# purgelint.exe driven from the keyboard alone, the keys typed as a user types them: the
# main window's tab order, Enter on the focused button, the options dialog (Tab, Space on
# its check box, Enter, Esc, accelerators), the repair options (arrow keys between the two
# methods, Tab into their group, Esc) and Esc on the scan's progress window. Runs on a
# display (xvfb-run).
# Usage: keyboard_test.sh DIST demo_installer.exe ui_driver.exe
source "$(dirname "${BASH_SOURCE[0]}")/driven-lib.sh" keyboard "$@"
RUN='HKLM\Software\Microsoft\Windows\CurrentVersion\Run'

# Types the keys into the window, then checks which control has the focus there.
expect_focus() {
    local what="$1" window="$2" expected="$3"
    shift 3
    [ $# -gt 0 ] && step keys "$window" "$@"
    step focus "$window"
    check "$what" "$expected" "$out"
}

# The focus after each Tab, one line each.
tab_walk() {
    local window="$1" count="$2" walk="" _
    for _ in $(seq "$count"); do
        step keys "$window" Tab
        step focus "$window"
        walk+="$out"$'\n'
    done
    printf '%s' "$walk"
}

# Opens the options dialog from "Options..." with its accelerator, types the keys, and checks
# that they closed it.
options_with() {
    step keys "$MAIN" Alt+O
    step wait Options
    step keys Options "$@"
    step gone Options 10
}

fresh_machine
seed_machine
# The captions that carry an accelerator: only the shipped languages' wording decides which
# do, so this machine's English gets two.
sed -i -e 's/^frmmain_button_options=/&\&/' -e 's/^frmoptions_cancel=/&\&/' \
    "$APP/languages/eng.txt"
# Wine's desktop started before its settings were made: a new server shows the windows.
wineserver -k 2>/dev/null
wineserver -w 2>/dev/null
ensure_wine_prefix
start_program

# --- The main window: the designed tab order, Enter on the focused button ---
expect_focus "the first button has the focus at start" "$MAIN" $'Button\tFind problems'
check "Tab walks the main window in its tab order" \
    "$(printf 'Button\t%s\n' 'Repair selected' 'Options...')
$(printf 'SysListView32\t\n')
$(printf 'Button\t%s\n' 'Select all' 'Select none' 'Invert selection' 'Find problems')" \
    "$(tab_walk "$MAIN" 7)"
expect_focus "Shift+Tab goes back" "$MAIN" $'Button\tInvert selection' Shift+Tab
expect_focus "and forward again" "$MAIN" $'Button\tFind problems' Tab
step keys "$MAIN" Enter
step answer No 300
check_match "Enter on the focused button finds the problems" "^Scan results" "$out"
expect_focus "the list has the focus after the scan" "$MAIN" $'SysListView32\t'

# --- The options dialog ---
check "no weekly scan is registered at first" "<absent>" "$(reg_value "$RUN" ro_zuvaviv)"
expect_focus "Shift+Tab from the list reaches Options..." "$MAIN" $'Button\tOptions...' Shift+Tab
step keys "$MAIN" Enter
step wait Options
screenshot keyboard-options
expect_focus "OK has the focus in the options" Options $'Button\tOK'
check "Tab walks the options in their tab order" \
    "$(printf 'Button\tCancel\nButton\tPerform automatic scan once a week\ton\nButton\tOK')" \
    "$(tab_walk Options 3)"
expect_focus "Space clears the check box" Options \
    $'Button\tPerform automatic scan once a week\toff' Shift+Tab Space
expect_focus "Space checks it again" Options $'Button\tPerform automatic scan once a week\ton' \
    Space
step keys Options Enter
step gone Options 10
check "Enter takes the options: the weekly scan is registered" \
    '"C:\Purgelint\purgelint.exe" /SCHEDULED' "$(reg_value "$RUN" ro_zuvaviv)"
expect_focus "the focus is back on Options..." "$MAIN" $'Button\tOptions...'

options_with Tab Tab Space Esc
check "Esc cancels the options" '"C:\Purgelint\purgelint.exe" /SCHEDULED' \
    "$(reg_value "$RUN" ro_zuvaviv)"
options_with Tab Tab Space Alt+C
check "Alt+C presses Cancel" '"C:\Purgelint\purgelint.exe" /SCHEDULED' \
    "$(reg_value "$RUN" ro_zuvaviv)"
options_with Shift+Tab Space Tab Tab Enter
check "Enter presses the focused Cancel, not the default OK" \
    '"C:\Purgelint\purgelint.exe" /SCHEDULED' "$(reg_value "$RUN" ro_zuvaviv)"
options_with Shift+Tab Space Enter
check "the options remove the weekly scan" "<absent>" "$(reg_value "$RUN" ro_zuvaviv)"

# --- The repair options: the two methods are one group of option buttons ---
OPTIONS="$(caption frmrepopt_caption)"
BACKUP="$(caption frmrepopt_ch_backup)"
CONSERVATIVE="$(caption frmrepopt_opt_method0)"
AGGRESSIVE="$(caption frmrepopt_opt_method1)"
expect_focus "Shift+Tab from Options... reaches the repair button" "$MAIN" \
    $'Button\t'"$(caption frmmain_button_repair)" Shift+Tab
step keys "$MAIN" Space
step wait "$OPTIONS"
expect_focus "the conservative method has the focus, selected" "$OPTIONS" \
    $'Button\t'"$CONSERVATIVE"$'\ton'
expect_focus "Down selects the aggressive method" "$OPTIONS" $'Button\t'"$AGGRESSIVE"$'\ton' Down
expect_focus "Down again comes round to the conservative one" "$OPTIONS" \
    $'Button\t'"$CONSERVATIVE"$'\ton' Down
expect_focus "Up selects the aggressive method" "$OPTIONS" $'Button\t'"$AGGRESSIVE"$'\ton' Up
check "Tab walks the repair options in their tab order, into the group at the selected method" \
    "$(printf 'Button\t%s\ton\nButton\t%s\nButton\t%s\nButton\t%s\ton' "$BACKUP" \
        "$(caption frmrepopt_button_ok)" "$(caption frmrepopt_button_cancel)" "$AGGRESSIVE")" \
    "$(tab_walk "$OPTIONS" 4)"
expect_focus "Space clears the backup" "$OPTIONS" $'Button\t'"$BACKUP"$'\toff' Tab Space
screenshot keyboard-repair-options
step keys "$OPTIONS" Esc
step gone "$OPTIONS" 10
step rows "$MAIN"
check "Esc cancels the repair: every problem is still listed" 23 "$(wc -l <<<"$out")"
check "nothing was backed up" "" "$(ls "$APP/backup" 2>/dev/null)"
expect_focus "the focus is back on the repair button" "$MAIN" \
    $'Button\t'"$(caption frmmain_button_repair)"

# --- The scan's progress window: Esc cancels the scan. A large temporary folder of files in
# use keeps it going a while without adding problems. ---
for d in $(seq 600); do
    mkdir -p "$TEMP_DIR/busy/$d" && (cd "$TEMP_DIR/busy/$d" && touch $(seq -f 'f%g.tmp' 200))
done
expect_focus "Shift+Tab from the repair button reaches Find problems" "$MAIN" \
    $'Button\tFind problems' Shift+Tab
step keys "$MAIN" Enter
step wait Progress 60
step keys Progress Esc
step gone Progress 10
step answer No 60
step rows "$MAIN"
check_match "Esc cancels the scan before it has found every problem" "^([0-9]|1[0-9]|2[0-2])$" \
    "$(wc -l <<<"$out")"
rm -rf "$TEMP_DIR/busy"

step close "$MAIN"
wait_program_end
finish
