#!/usr/bin/env bash
# Broken assets: the real game plays on with any one of its 13 files missing, empty, random or cut.
# In each case the game runs on a private Xvfb from a folder whose src/ links to the real files
# but the broken one: its lobby shows, a keyboard player joins blind and marks ready, a match
# runs, Escape ends the match and then the game with status 0, and stderr reports that file and
# no other.
# Usage: tests/brokenassets.sh path/to/twinrun
set -euo pipefail
game="$(realpath "$1")"
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
# shellcheck source=scripts/xserver.sh
source "$(dirname "${BASH_SOURCE[0]}")/../scripts/xserver.sh"
width=1024
height=768
keyDelay=40

mapfile -t files <"$root/scripts/assets.list"
breakages=(missing empty random half)
# The one file that still loads when cut in half, with no error line: the GIF decoder keeps
# the rows it could read. Every other half file, the font's too, fails to load.
loadsCut=idle.gif

# The random bytes: one stream from a fixed seed (Park and Miller's generator), of which each
# file takes as many bytes as it has, so that every run breaks the files the same way.
pool="$tmp/random"
largest="$(stat -c %s "${files[@]/#/$root/src/}" | sort -n | tail -n 1)"
LC_ALL=C awk -v n="$largest" 'BEGIN {
  x = 20240601
  for (i = 0; i < n; i++) { x = (x * 16807) % 2147483647; printf "%c", int(x / 8388608) }
}' >"$pool"

# A match: the ground and the score, each unless its own file is the broken one.
matchShown() {
  { [ "$file" = ground.png ] || groundShown; } && { [ "$file" = Pixellari.ttf ] || scoreShown; }
}

# The lobby: a white bottom edge with no ground, no score, and player 0's black figure in the
# middle unless its image is the broken one.
lobbyShown() {
  # shellcheck disable=SC2046 # one count a line
  set -- $(pixels "$tmp/shot.png" "${width}x40+0+$((height - 40))" FFFFFF \
    "100x100+$((width - 100))+0" FFFFFF "100x100+$((width / 2 - 50))+$((height / 2 - 50))" 000000)
  [ "${1:-}" -eq $((width * 40)) ] && [ "${2:-}" -eq 10000 ] &&
    { [ "$file" = idle.gif ] || [ "${3:-}" -gt 1000 ]; }
}

# Puts the broken file in the game folder $1, beside links to the intact ones.
setUp() {
  local real="$root/src/$file" broken="$1/src/$file"
  rm -rf "$1"
  mkdir -p "$1/src"
  ln -s "$root"/src/* "$1/src/"
  rm "$broken"
  case "$breakage" in
  empty) : >"$broken" ;;
  random) head -c "$(stat -c %s "$real")" "$pool" >"$broken" ;;
  half) head -c "$(($(stat -c %s "$real") / 2))" "$real" >"$broken" ;;
  esac
}

# Whether stderr reports the broken file as it should, and nothing else went wrong. A match
# image is read once, at the match's start; the font at start-up and at every tick, and a lobby
# image at every lobby frame: several lines.
reportsRight() {
  local kind=texture least=1 most=1 others lines
  [ "$file" = Pixellari.ttf ] && kind=police
  case "$file" in Pixellari.ttf | idle.gif | mark.png) most=1000000 ;; esac
  [ "$breakage" = half ] && [ "$file" = "$loadsCut" ] && least=0 most=0
  local expected="Error  : load $kind src/$file"
  others="$(grep Error "$tmp/err" | grep -c -v -x -F "$expected" || true)"
  lines="$(grep -c -x -F "$expected" "$tmp/err" || true)"
  [ "$others" -eq 0 ] && [ "$lines" -ge "$least" ] && [ "$lines" -le "$most" ] &&
    [ -z "$(sanitizerReports "$tmp/err")" ]
}

problem() {
  echo "FAIL $file $breakage: $*"
  faults=$((faults + 1))
}

# One case: $file broken in the way $breakage, played on $display; adds a line to passed
# when it passes.
playCase() {
  local pid faults=0
  setUp "$tmp/game"
  (cd "$tmp/game" && DISPLAY="$display" exec "$game") 2>"$tmp/err" &
  pid=$!
  if ! waitFor windowUp; then
    problem "no lobby"
  else
    # A blind join, since the prompts may have no font. The first J starts it; J marks ready,
    # again if no match comes, in case a slow frame let the join take the press.
    joins "j j j d d l l r r"
    for _ in 1 2 3; do
      keys j
      within=2 waitFor matchShown && break
    done
    if ! matchShown; then
      problem "no match"
    else
      if ! matchCheck=matchShown leaveMatch lobbyShown; then
        problem "Escape did not end the match"
      else
        keys Escape
      fi
    fi
  fi
  ended "$pid" || problem "ended with status $?"
  reportsRight || problem "stderr: $(sort "$tmp/err" | uniq -c | head -n 5 | paste -sd ';')"
  if [ "$faults" -eq 0 ]; then echo "$file $breakage" >>"$tmp/passed"; fi
}

# Two lanes play every other case each, on an X server of their own.
lanes=()
for lane in 0 1; do
  startServer "${width}x$height"
  mkdir "$tmp/lane$lane"
  (
    tmp="$tmp/lane$lane"
    n=0
    for file in "${files[@]}"; do
      for breakage in "${breakages[@]}"; do
        if [ $((n++ % 2)) -eq "$lane" ]; then playCase; fi
      done
    done
  ) &
  lanes+=($!)
done
for lane in 0 1; do
  wait "${lanes[$lane]}" || echo "FAIL: lane $lane stopped early"
done
passed="$(cat "$tmp"/lane*/passed 2>/dev/null | wc -l || true)"
failed=$((${#files[@]} * ${#breakages[@]} - passed))
echo "brokenassets: $passed passed, $failed failed"
[ "$failed" -eq 0 ]
