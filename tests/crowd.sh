#!/usr/bin/env bash
# A crowd: 60 keyboard players, one key each, join, get ready, play a match and leave.
# Each player starts its join with a key nobody uses yet and teaches that same key for all four
# controls, so the key marks the player ready and makes its dinosaur jump. The lobby then shows
# 15 rows of 4 figures; checks read the colours of the last row, which lies on top.
# Usage: tests/crowd.sh path/to/twinrun, from the repository root.
set -euo pipefail
game="$1"
# shellcheck source=scripts/xserver.sh
source "$(dirname "${BASH_SOURCE[0]}")/../scripts/xserver.sh"
width=1280
height=720

# 60 keys that the library tells apart on X: each has a code of its own (a key it does not know
# would be one and the same unknown key for the game). Escape is left out: it quits.
players=(a b c d e f g h i j k l m n o p q r s t u v w x y z 0 1 2 3 4 5 6 7 8 9
  F1 F2 F3 F4 F5 F6 F7 F8 F9 F10 F11 F12 comma period slash semicolon apostrophe
  bracketleft bracketright backslash grave minus equal space)

# The last row of the lobby: players 56 to 59 in cyan, grey, orange and violet. Its height
# follows from the number of players: 15 rows below a step of 720 / (60 / 4 + 2) pixels.
lastRow() {
  local y=$((height * 15 / 17 - 50)) x=$((width / 5 - 50)) step=$((width / 5))
  # shellcheck disable=SC2046 # one count a line
  set -- $(pixels "$tmp/shot.png" "100x100+$x+$y" 00FFFF "100x100+$((x + step))+$y" 808080 \
    "100x100+$((x + 2 * step))+$y" FF8000 "100x100+$((x + 3 * step))+$y" 8000FF)
  [ "${1:-}" -gt 1000 ] && [ "${2:-}" -gt 1000 ] && [ "${3:-}" -gt 1000 ] && [ "${4:-}" -gt 1000 ]
}

# A dinosaur of colour $1 in the air above the others, who stand at the left on the ground.
inAir() { [ "$(pixels "$tmp/shot.png" "200x240+0+$((height - 40 - 118 - 250))" "$1")" -gt 300 ]; }

startServer "${width}x$height"
DISPLAY="$display" "$game" 2>"$tmp/err" &
pid=$!
waitFor windowUp || fail "no lobby"

# Every player presses its key nine times: a join.
all=()
for key in "${players[@]}"; do
  all+=("$key $key $key $key $key $key $key $key $key")
done
keyDelay=10 joins "${all[@]}"
waitFor lastRow || fail "the lobby doesn't show 60 players"

keyDelay=10 keys "${players[@]}"
waitFor inMatch || fail "no match"
# Players 1, 58 and 59 jump in turn: red, orange and violet above the pack.
for jumper in 1:FF0000 58:FF8000 59:8000FF; do
  keys "${players[${jumper%:*}]}"
  waitFor inAir "${jumper#*:}" || fail "player ${jumper%:*} did not jump"
done

leaveMatch lastRow || fail "Escape did not end the match"
keys Escape
ended "$pid" || fail "Escape ended with $?"
! grep -q Error "$tmp/err" || fail "$(sort "$tmp/err" | uniq -c)"
[ -z "$(sanitizerReports "$tmp/err")" ] || fail "$(cat "$tmp/err")"
echo "crowd: 60 players joined, played and left"
