#!/usr/bin/env bash
# Draws the program's icons with ImageMagick and writes them as .ico files (16x16 and 32x32
# images each) to src/app/resources/. The .ico files are kept in the tree: run this only to
# change a picture.
set -euo pipefail
cd "$(dirname "${BASH_SOURCE[0]}")/.."
out=src/app/resources
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# Each picture is drawn on a 32x32 grid; the 16x16 image is the same drawing at half scale,
# with wider lines so that they survive the scaling.
draw() {  # name, ImageMagick draw primitives on the 32x32 grid
    local name=$1 primitives=$2
    convert -size 32x32 xc:none -stroke '#202830' -strokewidth 1.5 \
        -draw "$primitives" "$work/$name-32.png"
    convert -size 16x16 xc:none -stroke '#202830' -strokewidth 2 \
        -draw "affine 0.5,0,0,0.5,0,0 $primitives" "$work/$name-16.png"
    convert "$work/$name-16.png" "$work/$name-32.png" "$out/$name.ico"
}

# The program: a window with a sparkle over its corner.
draw program "
    fill white rectangle 2,8 25,29
    fill '#2f6fc0' rectangle 2,8 25,13
    fill '#f5c400' polygon 24,1 26.5,6 31,8.5 26.5,11 24,16 21.5,11 17,8.5 21.5,6"

# Registry: a cube of three shaded faces.
draw registry "
    fill '#8fc3ff' polygon 16,3 28,9 16,15 4,9
    fill '#3d86e0' polygon 4,9 16,15 16,29 4,23
    fill '#1f4f99' polygon 16,15 28,9 28,23 16,29"

# Shortcut: a bent arrow on a white tile.
draw shortcut "
    fill white rectangle 3,3 28,28
    stroke '#1f4f99' stroke-width 4 line 9,23 18,14
    stroke none fill '#1f4f99' polygon 13,9 23,9 23,19"

# File: a page with a folded corner and lines of text.
draw file "
    fill white polygon 7,2 20,2 26,8 26,30 7,30
    fill '#c8ccd0' polygon 20,2 20,8 26,8
    stroke '#8a9096' stroke-width 2 line 10,12 22,12 line 10,16 22,16 line 10,20 22,20 line 10,24 18,24"
