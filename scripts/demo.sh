#!/usr/bin/env bash
# Sets everything up, builds purgelint.exe and runs it under Wine on a demo machine of its
# own (a prefix in demo/), then shows what it wrote beside itself.
set -euo pipefail
cd "$(dirname "${BASH_SOURCE[0]}")/.."
scripts/setup.sh
cmake --preset windows >/dev/null
cmake --build --preset windows
export WINEPREFIX="$PWD/demo/wineprefix"
source scripts/wine-env.sh
ensure_wine_prefix
app="$WINEPREFIX/drive_c/Purgelint"
mkdir -p "$app"
cp -r build/windows/dist/. "$app/"
run=(wine); [ -n "${DISPLAY:-}" ] || run=(xvfb-run -a wine)
(cd "$app" && "${run[@]}" purgelint.exe "$@") || true
echo "== $app/app.log"; cat "$app/app.log"
echo "== $app/setup.ini"; cat "$app/setup.ini"
