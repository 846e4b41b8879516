#!/usr/bin/env bash
# Every dialog of purgelint.exe from the keyboard alone, the keys typed as a user types them.
source "$(dirname "${BASH_SOURCE[0]}")/driven-lib.sh" keyboard "$@"
RUN='HKLM\Software\Microsoft\Windows\CurrentVersion\Run'
SCHEDULED='"C:\Purgelint\purgelint.exe" /SCHEDULED'

# Types the keys in turn ("-" types none), checking the window's focused control after each.
expect_focus() {
    local key focus=""
    for key in "${@:4}"; do
        [ "$key" = - ] || step keys "$2" "$key"
        step focus "$2"
        focus+="${focus:+$'\n'}$out"
    done
    check "$1" "$3" "$focus"
}

buttons() { printf 'Button\t%s\n' "$@"; }

# Alt+O opens the options; the keys must close them and leave the weekly scan as expected.
options_with() {
    keys_then "$MAIN" Alt+O wait Options
    step keys Options "${@:3}"
    step gone Options 10
    check "$1" "$2" "$(reg_value "$RUN" ro_zuvaviv)"
}

seed_machine
# Only the shipped languages' wording decides which captions carry an accelerator: this
# machine's English gets two.
sed -i 's/^\(frmmain_button_options\|frmoptions_cancel\)=/&\&/' "$APP/languages/eng.txt"
start_program

# --- The main window: the designed tab order, Enter on the focused button ---
expect_focus "the first button has the focus at start, Tab walks the tab order, Shift+Tab back" \
    "$MAIN" "$(buttons 'Find problems' 'Repair selected' 'Options...' 'Restore...'
        echo $'SysListView32\t'
        buttons 'Select all' 'Select none' 'Invert selection' 'Find problems' \
            'Invert selection' 'Find problems')" - Tab Tab Tab Tab Tab Tab Tab Tab Shift+Tab Tab
keys_then "$MAIN" Enter answer No 300
check_match "Enter on the focused button finds the problems" "^Scan results" "$out"

# --- The options dialog ---
check "no weekly scan is registered at first" "<absent>" "$(reg_value "$RUN" ro_zuvaviv)"
expect_focus "the list has the focus after the scan, Shift+Tab reaches Options..." "$MAIN" \
    $'SysListView32\t\nButton\tRestore...\nButton\tOptions...' - Shift+Tab Shift+Tab
keys_then "$MAIN" Enter wait Options
screenshot keyboard-options
WEEKLY=$'Button\tPerform automatic scan once a week'
expect_focus "OK has the focus in the options, Tab walks their tab order, Space flips the box" \
    Options "$(buttons OK Cancel; printf '%s\n' "$WEEKLY"$'\ton' $'Button\tOK' \
        "$WEEKLY"$'\ton' "$WEEKLY"$'\toff' "$WEEKLY"$'\ton')" - Tab Tab Tab Shift+Tab Space Space
keys_then Options Enter gone Options 10
TASK="$WINEPREFIX/drive_c/windows/system32/tasks/Tallowquince Purgelint weekly scan"
for _ in $(seq 100); do [ -f "$TASK" ] && break; sleep 0.1; done  # schtasks takes a moment
check "Enter takes the options: the weekly scan is registered, as a log-on task too" \
    "$SCHEDULED yes" "$(reg_value "$RUN" ro_zuvaviv) $([ -f "$TASK" ] && echo yes)"
expect_focus "the focus is back on Options..." "$MAIN" $'Button\tOptions...' -
options_with "Esc cancels the options" "$SCHEDULED" Tab Tab Space Esc
options_with "Alt+C presses Cancel" "$SCHEDULED" Tab Tab Space Alt+C
options_with "Enter presses the focused Cancel, not the default OK" "$SCHEDULED" \
    Shift+Tab Space Tab Tab Enter
options_with "the options remove the weekly scan" "<absent>" Shift+Tab Space Enter
for _ in $(seq 100); do [ -f "$TASK" ] || break; sleep 0.1; done
check "and its log-on task" "no task" "$([ -f "$TASK" ] || echo no task)"

# --- The repair options: the two methods are one group of option buttons ---
OPTIONS="$(caption frmrepopt_caption)"
REPAIR=$'Button\t'"$(caption frmmain_button_repair)"
BACKUP=$'Button\t'"$(caption frmrepopt_ch_backup)"
CONSERVATIVE=$'Button\t'"$(caption frmrepopt_opt_method0)"$'\ton'
AGGRESSIVE=$'Button\t'"$(caption frmrepopt_opt_method1)"$'\ton'
expect_focus "Shift+Tab from Options... reaches the repair button" "$MAIN" "$REPAIR" Shift+Tab
keys_then "$MAIN" Space wait "$OPTIONS"
expect_focus "the conservative method has the focus, Down and Up go round the methods, Tab walks \
the tab order into the group at the selected method, Space clears the backup" "$OPTIONS" \
    "$(printf '%s\n' "$CONSERVATIVE" "$AGGRESSIVE" "$CONSERVATIVE" "$AGGRESSIVE" \
        "$BACKUP"$'\ton' "$(buttons 'Start repair' Cancel)" \
        "$AGGRESSIVE" "$BACKUP"$'\ton' "$BACKUP"$'\toff')" - Down Down Up Tab Tab Tab Tab Tab Space
screenshot keyboard-repair-options
keys_then "$OPTIONS" Esc gone "$OPTIONS" 10
step rows "$MAIN"
check "Esc cancels the repair: every problem is still listed" 23 "$(wc -l <<<"$out")"
check "nothing was backed up" "" "$(ls "$APP/backup" 2>/dev/null)"

# --- Esc on the scan's progress window: a large temporary folder of files in use keeps the
# scan going a while without adding problems ---
for d in $(seq 600); do
    mkdir -p "$TEMP_DIR/busy/$d" && (cd "$TEMP_DIR/busy/$d" && touch $(seq -f 'f%g.tmp' 200))
done
expect_focus "the focus is back on the repair button, Shift+Tab reaches Find problems" "$MAIN" \
    "$REPAIR"$'\nButton\tFind problems' - Shift+Tab
keys_then "$MAIN" Enter wait Progress 60
keys_then Progress Esc gone Progress 10
step answer No 60
step rows "$MAIN"
check_match "Esc stops the scan before all 23 are found" '^(1?[0-9]|2[0-2])$' "$(wc -l <<<"$out")"
close_program
finish
