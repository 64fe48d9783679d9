#!/usr/bin/env bash
# End to end: the real twinrun on private X servers, played with xdotool and checked on
# screenshots, its exit status and stderr. Without a display it says so in one line. With one,
# a player joins (the widest prompt, too wide for this 1024-pixel screen at full size, is shrunk
# to fit inside its margins and centred), gets ready, plays a match that Escape ends, and Escape
# ends the game with status 0 (that the match ticks, the other runs show); then the game plays
# the same way with its font missing, its ground image missing or an image cut in half, and
# reports that file and no other.
# --every-breakage plays each of the 13 files missing, empty, random and cut.
# --wine plays path/to/twinrun.exe under Wine: a session, and one with its ground image missing.
# --elsewhere plays a session started from an empty folder: the game reads the src/ beside it.
# Usage: tests/e2e.sh path/to/twinrun [--every-breakage | --wine | --elsewhere], from the
# repository root.
# shellcheck source=tests/driver.sh
source "$(dirname "$0")/driver.sh"
mode="${2:-}"
# A screen narrower than the widest prompt at full size.
width=1024
height=768

# The dark pixels' box: as wide as the prompt asking to confirm (the widest of a keyboard
# join, shrunk to the screen), wholly inside the screen's 16-pixel margins and centred within
# 3 pixels.
promptFits() {
  darkBox | awk -F'[x+]' -v W="$width" -v H="$height" '{ exit !($1 > W * 3 / 4 && $3 >= 16 &&
    $1 + $3 <= W - 16 && (2 * $3 + $1 - W) ^ 2 <= 36 && (2 * $4 + $2 - H) ^ 2 <= 36) }'
}

# A match: the ground and the score, each unless its own file is broken.
matchShown() {
  { [ "$file" = ground.png ] || groundShown; } && { [ "$file" = Pixellari.ttf ] || scoreShown; }
}

# Whether stderr holds the broken file's error line and no other: a match image is read once
# at the match's start; the font at start-up and every tick, a lobby image every lobby frame.
# The GIF and the font cut in half load: the GIF's decoder keeps the rows it could read, and
# FreeType reads a glyph only when it is drawn (those past the cut come out as dots).
# shellcheck disable=SC2154 # file and how: set for each session
reportsRight() {
  local line lines
  line="Error  : load $([ "$file" = Pixellari.ttf ] && echo police || echo texture) src/$file"
  lines="$(grep -cxF "$line" "$tmp/err" || true)"
  case "$file $how" in
  " " | "idle.gif half" | "Pixellari.ttf half") ((lines == 0)) ;;
  Pixellari.ttf* | idle.gif* | mark.png*) ((lines >= 1)) ;;
  *) ((lines == 1)) ;;
  esac && ! grep Error "$tmp/err" | grep -qvxF "$line"
}

# Plays one session with $file (none when empty) broken as $how: missing, empty, random or half.
# The game runs from a folder whose src/ links to the real files but the broken one; with
# --elsewhere, from an empty folder.
play() {
  local name="${file:-intact} $how" from="$tmp/game"
  rm -rf "$from" && mkdir -p "$from"
  [ "$mode" = --elsewhere ] || { mkdir "$from/src" && ln -s "$root"/src/* "$from/src/"; }
  [ -z "$file" ] || rm "$from/src/$file"
  case "$how" in
  empty) : >"$from/src/$file" ;;
  random) head -c "$(stat -c %s "$root/src/$file")" "$tmp/random" >"$from/src/$file" ;;
  half) head -c $(($(stat -c %s "$root/src/$file") / 2)) "$root/src/$file" >"$from/src/$file" ;;
  esac
  launch
  # J starts the join, J asks to confirm: the widest prompt, checked in the intact game. The rest
  # goes blind, since the prompts may have no font.
  keys j j
  [ -n "$file" ] || waitFor promptFits || fail "the prompt to confirm runs past the margins"
  startMatch "j d d l l r r" matchShown || fail "$name: no match"
  matchCheck=matchShown quit
  reportsRight || fail "$name: stderr: $(sort "$tmp/err" | uniq -c | head -n 5)"
}

# Without a usable display: one line and status 1.
oneLine() { # words, command...
  local words="$1" code=0 && shift
  "$@" 2>"$tmp/err" || code=$?
  ((code == 1)) && [ "$(wc -l <"$tmp/err")" -eq 1 ] && grep -q "$words" "$tmp/err" ||
    fail "$* ended with $code: $(cat "$tmp/err")"
}
if [ "$mode" != --wine ]; then
  oneLine "DISPLAY is not set" env -u DISPLAY "${game[@]}"
  oneLine 'cannot open the X display ":4321"' env DISPLAY=:4321 "${game[@]}"
  startServer 640x480 -extension GLX
  oneLine "no OpenGL (GLX)" env DISPLAY="$display" "${game[@]}"
fi

startServer "${width}x$height"
# The sessions, each a broken file and how (none for the intact game).
case "$mode" in
--wine) useWine && sessions=(: ground.png:missing) ;;
--elsewhere) sessions=(:) ;;
--every-breakage)
  # Random bytes for the broken files, the same in every run.
  LC_ALL=C awk 'BEGIN { srand(7); while (i++ < 1e5) printf "%c", rand() * 256 }' >"$tmp/random"
  mapfile -t sessions < <(sed -E 's/.*/&:missing\n&:empty\n&:random\n&:half/' "$root/scripts/assets.list")
  ;;
*) sessions=(: Pixellari.ttf:missing ground.png:missing cactus0.png:half) ;;
esac
for session in "${sessions[@]}"; do
  file="${session%:*}" how="${session#*:}" play
done
