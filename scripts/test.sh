#!/usr/bin/env bash
# Builds every target and the packages, and runs every test suite: native (sandbox),
# native-asan (the same suites under AddressSanitizer and UBSan), windows (under Wine), then
# each fuzz target for 30 seconds.
set -euo pipefail
cd "$(dirname "${BASH_SOURCE[0]}")/.."
scripts/setup.sh
# Two jobs: the machines this runs on have two cores, and the sanitizer builds need memory.
for preset in native native-asan windows; do
    cmake --preset "$preset" >/dev/null
    cmake --build --preset "$preset" -j2
done
# The installer and the portable zip; the windows suite installs the one it packs here.
scripts/package.sh
status=0
ctest --preset native -j2 || status=1
ctest --preset native-asan -j2 || status=1
ctest --preset windows || status=1
source scripts/wine-env.sh && wineserver -k 2>/dev/null || true
FUZZ_SEED=20261206 scripts/fuzz.sh 30 || status=1
exit $status
