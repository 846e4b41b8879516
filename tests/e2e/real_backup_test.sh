#!/usr/bin/env bash
# Runs real_backup_tests.exe under Wine from a folder whose name holds a blank, as an
# installation under "Program Files" would be: the backup goes below the program's folder.
# Usage: real_backup_test.sh real_backup_tests.exe
set -euo pipefail
here="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
source "$here/../../scripts/wine-env.sh"
ensure_wine_prefix
folder="$WINEPREFIX/drive_c/Purgelint Backup Test"
rm -rf "$folder"
mkdir -p "$folder"
cp "$1" "$folder/"
status=0
wine "$folder/$(basename "$1")" || status=$?
rm -rf "$folder"
exit $status
