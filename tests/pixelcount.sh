#!/usr/bin/env bash
# The screen checks' pixel count gives the same counts however ImageMagick stored the picture:
# black and white as 1- or 8-bit grayscale, palette or colour PNG, and colours exactly.
set -euo pipefail
# shellcheck source=scripts/xserver.sh
source scripts/xserver.sh

# A black 30 × 30 square at (10, 10) on white 200 × 100; with "${green[@]}" a green one at (100, 10).
square=(-size 200x100 xc:white -fill black -draw 'rectangle 10,10,39,39')
green=(-fill '#2EB046' -draw 'rectangle 100,10,129,39')
# Black in a white region, in the square, across its corner and in all; white in the white region;
# the green, and a green one step off it, in all.
regions=(100x50+100+50 000000 30x30+10+10 000000 20x20+30+30 000000 200x100+0+0 000000
  100x50+100+50 FFFFFF 200x100+0+0 2EB046 200x100+0+0 2EB047)

# Draws with the options "$@" and checks the counts of the regions against $expected.
counts() {
  convert "${square[@]}" "$@" "$tmp/picture.png"
  found="$(pixels "$tmp/picture.png" "${regions[@]}" | paste -sd ' ')"
  [ "$found" = "$expected" ] || fail "$* counts $found, not $expected"
}

expected="0 900 100 900 5000 0 0"
counts -define png:color-type=0 -define png:bit-depth=1
counts -define png:color-type=0 -define png:bit-depth=8
counts -define png:color-type=3
counts -define png:color-type=2
expected="0 900 100 900 5000 900 0"
counts "${green[@]}" -define png:color-type=3
counts "${green[@]}" -define png:color-type=2
