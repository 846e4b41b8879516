#!/usr/bin/env bash
# Builds both targets and runs every test suite: native (sandbox) and windows (under Wine).
set -euo pipefail
cd "$(dirname "${BASH_SOURCE[0]}")/.."
scripts/setup.sh
for preset in native windows; do
    cmake --preset "$preset" >/dev/null
    cmake --build --preset "$preset"
done
status=0
ctest --preset native -j2 || status=1
ctest --preset windows || status=1
source scripts/wine-env.sh && wineserver -k 2>/dev/null || true
exit $status
