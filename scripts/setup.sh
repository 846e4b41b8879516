#!/usr/bin/env bash
# Installs what the builds and tests need on a Debian machine, where it is missing.
set -euo pipefail
# fonts-wqy-microhei: glyphs for the Japanese names that the Wine tests show.
packages=(cmake ninja-build g++ googletest libgtest-dev libgmock-dev clang-format
          clang libclang-rt-14-dev
          g++-mingw-w64-x86-64-posix wine wine64 xvfb xauth faketime imagemagick
          fonts-wine fonts-wqy-microhei nsis zip nlohmann-json3-dev wixl)
missing=()
for p in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
    echo "Installing: ${missing[*]}"
    SUDO=""; [ "$(id -u)" -eq 0 ] || SUDO=sudo
    $SUDO apt-get update -q
    DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -q --no-install-recommends "${missing[@]}"
fi
