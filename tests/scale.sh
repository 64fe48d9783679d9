#!/usr/bin/env bash
# The game at a whole-pixel scale, end to end. First the command line: a scale that leaves too
# small a world is refused with the usage and status 2, before the game reads a file or opens a
# window (--help and the other options: the nodisplay test). Then the real twinrun on a private
# 1280×720 X server and on a large one, k times as wide and high (2560×1440 by default), each
# played the same way with xdotool: a keyboard join and a match, whose dinosaur is k times as
# tall on the large one: the game read the screen's size and chose k. (That images and texts
# are drawn k times as large, in their places, the unit tests check on frames.)
# --wine plays path/to/twinrun.exe under Wine set to 192 dots per inch, the scaling of 200%
# under which Windows tells a program unaware of it half the screen's size.
# Usage: tests/scale.sh path/to/twinrun [WxH of the large screen] [--wine], from the repository
# root.
# shellcheck source=tests/driver.sh
source "$(dirname "$0")/driver.sh"
large="${2:-2560x1440}"
mode="${3:-}"
k=$((${large%x*} / 1280))
[ "$large" = "$((1280 * k))x$((720 * k))" ] || fail "$large is not 1280×720 times a whole number"

startServer 1280x720
small="$display"
if [ "$mode" = --wine ]; then
  useWine
  DISPLAY="$display" wine reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD \
    /d 192 /f >/dev/null 2>&1
fi

# A scale that leaves too small a world (1280×720 at 3 leaves 426×240) is refused with status 2,
# a reason and the usage on standard error, before the game sets anything up: run from a folder
# without its files, it reports none.
code=0
(cd "$(mktemp -d -p "$tmp")" && DISPLAY="$display" exec "${game[@]}" --scale 3) 2>"$tmp/err" || code=$?
((code == 2)) && head -n 1 "$tmp/err" | grep -q '^twinrun: ' &&
  grep -q '^Usage: twinrun ' "$tmp/err" && ! grep -q Error "$tmp/err" ||
  fail "twinrun --scale 3: status $code, $(head -c 300 "$tmp/err")"

# Runs the check "$@" on shot.png, first shrunk k times when it is of the large screen: the
# helpers' checks read a picture of 1280×720. The screenshot as taken stays in full.png.
shrunk() {
  cp "$tmp/shot.png" "$tmp/full.png"
  [ "$display" = "$small" ] || convert "$tmp/full.png" -filter box -resize 1280x720\! "$tmp/shot.png"
  "$@"
}
matchShown() { shrunk inMatch; }

# Plays the session on the screen last started: a keyboard join and a match, whose dinosaur's
# height it prints: that of the black pixels of full.png's left quarter, where nothing else is
# black at the start of a match.
play() {
  local name="the screen $display"
  # The game's output goes to stderr: the height alone goes to the caller, which reads until the
  # last writer ends, and so must not wait for a game left running by a failure.
  launch >&2
  startMatch "j j j d d l l r r" matchShown || fail "no match on $name"
  convert "$tmp/full.png" -gravity West -crop 25%x100%+0+0 +repage -fill white +opaque black \
    -threshold 50% -negate -format '%@' info: | awk -F'[x+]' '{ print $2 }'
  quit shrunk lobbyShown
}

tall="$(play)"
# Wine keeps its windows on the display of its first program until its server ends.
[ "$mode" != --wine ] || wineserver -w
startServer "$large"
tallScaled="$(play)"
((tallScaled == k * tall && tall > 50)) ||
  fail "the dinosaur is $tall pixels tall at 1280x720 and $tallScaled at $large"
