#!/usr/bin/env bash
# End to end: the real twinrun on private X servers, played with real key presses
# (xdotool) and checked on screenshots (ImageMagick), on its exit status and on stderr.
# Usage: tests/e2e.sh path/to/twinrun, from the repository root.
set -euo pipefail
game="$1"
# shellcheck source=scripts/xserver.sh
source "$(dirname "${BASH_SOURCE[0]}")/../scripts/xserver.sh"

# The dark pixels form one block centred on the screen: the game's text. A text wider
# than the screen runs past both edges, so only its height is centred.
textCentred() {
  local box w h x y
  box="$(convert "$tmp/shot.png" -threshold 50% -negate -format %@ info: 2>/dev/null)"
  IFS='x+' read -r w h x y <<<"$box"
  [ "$h" -gt 0 ] || return 1
  local dx=$(((2 * x + w) / 2 - width / 2)) dy=$(((2 * y + h) / 2 - height / 2))
  if [ "$x" -gt 0 ]; then
    [ "$dx" -ge -3 ] && [ "$dx" -le 3 ] || return 1
  fi
  [ "$dy" -ge -3 ] && [ "$dy" -le 3 ]
}

# Whether two screenshots have the same pixels.
samePicture() { [ "$(compare -metric AE "$1" "$2" null: 2>&1 || true)" = 0 ]; }

# A centred text that differs from the last one seen; its picture is kept in $tmp/$1.png.
newPrompt() {
  textCentred && ! samePicture "$tmp/shot.png" "$tmp/last.png" && cp "$tmp/shot.png" "$tmp/$1.png" &&
    cp "$tmp/shot.png" "$tmp/last.png"
}

# Player 0 black at a third, player 1 red at two thirds, and nothing in the middle.
twoFigures() {
  [ "$(count "$tmp/shot.png" $((width / 3)) $((height / 2)) 000000)" -gt 1000 ] &&
    [ "$(count "$tmp/shot.png" $((2 * width / 3)) $((height / 2)) FF0000)" -gt 1000 ] &&
    [ "$(count "$tmp/shot.png" $((width / 2)) $((height / 2)) FFFFFF)" -eq 10000 ]
}

marked() { [ "$(count "$tmp/shot.png" $((width / 3)) $((height / 2)) 2EB046)" -gt 30 ]; }

expectOneLine() { # status, words, command...
  local status="$1" words="$2"
  shift 2
  "$@" 2>"$tmp/err" && code=0 || code=$?
  [ "$code" -eq "$status" ] || fail "$* ended with $code"
  grep -q "$words" "$tmp/err" && [ "$(wc -l <"$tmp/err")" -eq 1 ] || fail "$(cat "$tmp/err")"
}

# Without a usable display: one line and status 1.
expectOneLine 1 "DISPLAY is not set" env -u DISPLAY "$game"
expectOneLine 1 'cannot open the X display ":4321"' env DISPLAY=:4321 "$game"
startServer 640x480 -extension GLX
expectOneLine 1 "no OpenGL (GLX)" env DISPLAY="$display" "$game"

for size in 1024x768 1280x720; do
  width="${size%x*}"
  height="${size#*x}"
  startServer "$size"
  DISPLAY="$display" "$game" 2>"$tmp/game-err" &
  pid=$!
  convert -size 1x1 xc:white "$tmp/last.png"
  waitFor newPrompt invitation || fail "$size: no invitation"

  # The first J only starts the join; each control is then taught by two presses.
  keys j
  waitFor newPrompt jump || fail "$size: no prompt for jump"
  step=0
  for press in j j d d l l r; do
    step=$((step + 1))
    keys "$press"
    waitFor newPrompt "step$step" || fail "$size: no new prompt after $press"
  done
  # Odd steps ask to confirm, always with the same picture; the others ask for the next
  # control, each with a picture of its own.
  for same in step3 step5 step7; do
    samePicture "$tmp/step1.png" "$tmp/$same.png" || fail "$size: confirmation prompts differ"
  done
  for prompt in step2 step4 step6; do
    samePicture "$tmp/jump.png" "$tmp/$prompt.png" && fail "$size: $prompt asks for jump again"
  done
  keys r
  # The second player joins, abandons with Escape, then joins again.
  keys Up Up Up Down Escape i i i k k u u o o

  waitFor twoFigures || fail "$size: no two figures"
  # Jump marks player 0 ready: the mark's green tick shows; down takes it back.
  keys j
  waitFor marked || fail "$size: no ready mark"
  keys d
  waitFor eval '! marked' || fail "$size: down left the mark"

  # Both ready: a match runs; Escape brings back the lobby with nobody marked.
  keys j i
  waitFor inMatch || fail "$size: no match"
  leaveMatch twoFigures || fail "$size: Escape did not end the match"
  marked && fail "$size: still marked after the match"
  # A second match: both run out on the left; the last death brings back the lobby.
  keys j i
  waitFor inMatch || fail "$size: no second match"
  DISPLAY="$display" xdotool keydown l u
  waitFor twoFigures || fail "$size: the match went on with both out"
  DISPLAY="$display" xdotool keyup l u
  marked && fail "$size: still marked after the second match"

  keys Escape
  ended "$pid" || fail "$size: Escape ended with $?"
  ! grep -q Error "$tmp/game-err" || fail "$size: $(cat "$tmp/game-err")"
done
echo "end to end: 2 screen sizes passed"
