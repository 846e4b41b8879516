#!/usr/bin/env bash
# Builds every target and the packages, and runs every test suite: the layer check, the
# native suites under AddressSanitizer and UBSan (native-asan), the windows suites under Wine
# and, beside them, each fuzz target for 20 seconds. The plain native preset holds the same
# suites for quick runs while working: ctest --preset native.
set -euo pipefail
cd "$(dirname "${BASH_SOURCE[0]}")/.."
scripts/setup.sh
scripts/check-layers.sh
# Two jobs: the machines this runs on have two cores, and the sanitizer builds need memory.
for preset in native-asan windows; do
    cmake --preset "$preset" >/dev/null
    cmake --build --preset "$preset" -j2
done
# The installer and the portable zip; the windows suite installs the one it packs here.
scripts/package.sh
status=0
ctest --preset native-asan -j2 || status=1
# The Wine suites wait on windows most of the time: the fuzzers use the idle core meanwhile.
FUZZ_SEED=20261206 scripts/fuzz.sh 20 >build/fuzz.log 2>&1 &
fuzzing=$!
ctest --preset windows || status=1
source scripts/wine-env.sh && wineserver -k 2>/dev/null || true
wait "$fuzzing" || status=1
cat build/fuzz.log
exit $status
