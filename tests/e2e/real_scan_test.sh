#!/usr/bin/env bash
# Runs real_scan_tests.exe under Wine after making what Wine cannot make itself: symbolic
# links out of the temporary folder and back into it, relative and absolute.
# Usage: real_scan_test.sh real_scan_tests.exe
set -euo pipefail
# Host file names reach Wine as Unicode only in a UTF-8 locale: the test makes names that the
# ANSI code page cannot hold.
export LC_ALL=C.UTF-8
here="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
source "$here/../../scripts/wine-env.sh"
ensure_wine_prefix
root="$WINEPREFIX/drive_c/PurgelintScanTest"
rm -rf "$root"
mkdir -p "$root/Temp/Sub" "$root/Outside"
touch -d '2020-01-01 12:00' "$root/Outside/far.tmp"
ln -s ../Outside "$root/Temp/escape"
ln -s .. "$root/Temp/Sub/again"
ln -s "$root/Outside" "$root/Temp/far"
ln -s "$root/Temp" "$root/Temp/Sub/loop"
status=0
wine "$1" || status=$?
rm -rf "$root"
exit $status
