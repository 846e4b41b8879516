#!/usr/bin/env bash
# Packs purgelint.exe for users: BUILD/packages/purgelint-<version>-setup.exe (the installer,
# installer/purgelint.nsi), purgelint-<version>-x64.msi (the package for deployment tools,
# installer/purgelint.wxs) and purgelint-<version>-win64.zip (the portable folder). Builds
# the windows preset first, or brings the given build folder up to date.
# Usage: package.sh [BUILD]   (default: build/windows)
set -euo pipefail
cd "$(dirname "${BASH_SOURCE[0]}")/.."
build="${1:-build/windows}"
[ -f "$build/CMakeCache.txt" ] || cmake --preset windows -B "$build" >/dev/null
cmake --build "$build" --target purgelint -j2 >/dev/null

version="$(cat "$build/version.txt")"
dist="$build/dist"
packages="$build/packages"
# Only what is shipped: a dist folder that purgelint.exe ran in also holds its settings,
# logs, backups and the list of missing texts.
stage="$packages/stage"
rm -rf "$stage"
mkdir -p "$stage/languages" "$stage/backup"
cp "$dist/purgelint.exe" "$stage/"
find "$dist/languages" -maxdepth 1 -name '*.txt' ! -name '_*' -exec cp {} "$stage/languages/" \;

setup="$packages/purgelint-$version-setup.exe"
zip="$packages/purgelint-$version-win64.zip"
rm -f "$setup" "$zip" "$packages"/purgelint-*-x64.msi
makensis -V2 -WX -INPUTCHARSET UTF8 -DVERSION="$version" -DDIST="$(realpath "$stage")" \
    -DOUTFILE="$(realpath "$packages")/$(basename "$setup")" installer/purgelint.nsi
(cd "$stage" && zip -q -r -X "$(realpath ..)/$(basename "$zip")" purgelint.exe languages backup)
# wixl takes the sources' paths relative to where it runs: the stage.
msi="$packages/purgelint-$version-x64.msi"
wxs="$(realpath installer/purgelint.wxs)"
(cd "$stage" && wixl -a x64 -D Version="$version" -D Dist=. -o "../$(basename "$msi")" "$wxs")
rm -rf "$stage"
ls -l "$setup" "$zip" "$msi" | awk '{ print $5, $9 }'
