#!/usr/bin/env bash
# Runs the scan window over a slow made-up scan on a virtual display and takes a
# screenshot halfway: build/windows/progress.png.
set -euo pipefail
cd "$(dirname "${BASH_SOURCE[0]}")/.."
source scripts/wine-env.sh
ensure_wine_prefix
shot="$PWD/build/windows/progress.png"
xvfb-run -a -s "-screen 0 1024x768x24" bash -c "
    wine build/windows/tools/progress_demo.exe & sleep \${1:-6}
    import -window root '$shot'
    wait" _ "${1:-6}" || true
echo "$shot"
