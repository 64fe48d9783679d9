# The shared driver of the end-to-end runs, sourced by each (tests/e2e.sh, pads.sh, scale.sh,
# windowmanager.sh, tarball.sh) from the repository root with the game's path as its first
# argument: strict mode, the X server helpers of scripts/xserver.sh, and the steps that every
# run takes with the real game.
# shellcheck shell=bash
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
# shellcheck source=scripts/xserver.sh
source "$root/scripts/xserver.sh"
# The path as given, a link not resolved, so that a link is what starts the game.
game=("$(realpath -s "$1")")
width=1280
height=720

# Starts the game on the display from the folder $from (the repository root by default) with
# the arguments given, its stderr in err; sets pid, runs $whileStarting if set, and waits for
# its first frame.
launch() {
  (cd "${from:-$root}" && DISPLAY="$display" exec "${game[@]}" "$@") 2>"$tmp/err" &
  pid=$!
  "${whileStarting:-:}"
  waitFor windowUp || fail "${name:-}: no lobby"
}

# Ends the match with Escape, back in the lobby (the check "$@", lobbyShown by default), then the
# game, which must end with status 0 and, once Windows' carriage returns are taken off, no
# sanitizer's report on stderr.
quit() {
  leaveMatch "${@:-lobbyShown}" || fail "${name:-}: Escape did not end the match"
  keys Escape
  ended "$pid" || fail "${name:-}: Escape ended the game with status $?"
  sed -i 's/\r$//' "$tmp/err"
  [ -z "$(sanitizerReports "$tmp/err")" ] || fail "$(head -n 5 "$tmp/err")"
}

# The box of the dark pixels of the picture $1 (shot.png by default), as WxH+X+Y.
darkBox() { convert "${1:-$tmp/shot.png}" -threshold 50% -negate -format %@ info:; }

# The right edges, in one line, of the dinosaurs of the colours $2... left of x $1 in the band
# where they stand (118 pixels above the ground's 40), from a new screenshot.
dinosaurEdges() {
  local left="$1" colour
  shift
  DISPLAY="$display" import -window root "$tmp/shot.png"
  for colour in "$@"; do
    convert "$tmp/shot.png" -crop "${left}x118+0+$((height - 158))" +repage -fill white \
      +opaque "#$colour" -format '%@' info: 2>/dev/null | awk -F'[x+]' '{ printf "%d ", $1 + $3 }'
  done
}
