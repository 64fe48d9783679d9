#!/usr/bin/env bash
# The screen checks' pixel count gives the same counts however ImageMagick stored the picture:
# black and white as 1- or 8-bit grayscale, palette or colour PNG, and colours exactly.
set -euo pipefail
# shellcheck source=scripts/xserver.sh
source scripts/xserver.sh

# Black in a white region, in a black 30 × 30 square at (10, 10) on white 200 × 100, across its
# corner and in all; white in the white region; a green square at (100, 10) when drawn, and a
# green one step off it, in all.
regions=(100x50+100+50 000000 30x30+10+10 000000 20x20+30+30 000000 200x100+0+0 000000
  100x50+100+50 FFFFFF 200x100+0+0 2EB046 200x100+0+0 2EB047)
for storage in "0 1" "0 8" "3 8" "2 8" "3 8 green" "2 8 green"; do
  read -r type depth green <<<"$storage"
  convert -size 200x100 xc:white -fill black -draw 'rectangle 10,10,39,39' \
    ${green:+-fill '#2EB046' -draw 'rectangle 100,10,129,39'} \
    -define png:color-type="$type" -define png:bit-depth="$depth" "$tmp/picture.png"
  found="$(pixels "$tmp/picture.png" "${regions[@]}" | paste -sd ' ')"
  [ "$found" = "0 900 100 900 5000 $([ -n "$green" ] && echo 900 || echo 0) 0" ] ||
    fail "$storage counts $found"
done
