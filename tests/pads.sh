#!/usr/bin/env bash
# End to end with game controllers: the real twinrun on a private 1280 × 720 X server, whose
# Linux joysticks are two pads of tests/fakepads.cpp, preloaded, which SFML's own joystick code
# reads. Pad 0 joins with four buttons, pad 1 with two buttons and its X axis, and both start a
# match, in which they steer right; pulled out, back in the lobby both figures stand faded;
# pad 1 plugged in again shows in full colour and its jump starts a match alone. The game
# writes nothing of its own about pads coming and going. (Who sits out, who is ready, and that
# a pad pulled lets go of what it held, is the unit tests' to check.)
# Usage: tests/pads.sh path/to/twinrun path/to/libfakepads.so, from the repository root.
# shellcheck source=tests/driver.sh
source "$(dirname "$0")/driver.sh"

# The pads' commands (see tests/fakepads.cpp); both pads are plugged in from the start.
printf 'plug 0\nplug 1\n' >"$tmp/pads"
pad() { printf '%s\n' "$@" >>"$tmp/pads"; }
# Presses and lets go of button $2 of pad $1, $3 times.
click() { for _ in $(seq "${3:-1}"); do pad "press $1 $2" "release $1 $2"; done; }

# Pixels of colour $3 in the 100 × 100 square at the centre of the lobby's figure x = $1 of $2.
figure() { count "$tmp/shot.png" $(($1 * width / ($2 + 1))) $((height / 2)) "$3"; }
# Figure $1 of $2 in full colour $3, or faded (drawn, but none of it in full colour).
full() { [ "$(figure "$@")" -gt 1000 ]; }
faded() { [ "$(figure "$@")" -eq 0 ] && [ "$(figure "$1" "$2" FFFFFF)" -lt 9000 ]; }

# The right edges of the black and the red dinosaur, from a new screenshot: "black red".
edges() { dinosaurEdges $((width / 2 + 120)) 000000 FF0000; }
# Both ran right: black at full speed, red at half, and neither has reached the middle yet.
bothRan() {
  edges | awk -v middle=$((width / 2 + 100)) '{ exit !($1 > 200 && $2 > 160 && $1 < middle) }'
}

# The sanitizers would take the preloaded library for a runtime loaded too late.
export ASAN_OPTIONS="${ASAN_OPTIONS:+$ASAN_OPTIONS:}verify_asan_link_order=0"
startServer "${width}x$height"
game=(env LD_PRELOAD="$(realpath "$2")" TWINRUN_PADS="$tmp/pads" "${game[@]}")
launch
within=20

# Pad 0 joins: jump 0, down 1, left 2, right 3; then pad 1: jump 0, down 1 and its X axis.
click 0 0 && click 0 0 2 && click 0 1 2 && click 0 2 2 && click 0 3 2
waitFor full 1 1 000000 || fail "pad 0 did not join"
click 1 0 && click 1 0 2 && click 1 1 2
pad "axis 1 0 32767" "axis 1 0 0" "axis 1 0 32767" "axis 1 0 0"
waitFor full 2 2 FF0000 || fail "pad 1 did not join"
click 0 0 && click 1 0
waitFor inMatch || fail "two pads ready started no match"

# Right held on pad 0, pad 1's stick half-way right; both pulled out.
pad "press 0 3" "axis 1 0 16384"
waitFor bothRan || fail "the pads did not steer: $(edges)"
pad "unplug 0" "unplug 1"
bothFaded() { faded 1 2 000000 && faded 2 2 FF0000; }
leaveMatch bothFaded || fail "back in the lobby, the absent players' figures are not faded"

# Pad 1 back in full colour, pad 0 still faded; pad 1's jump starts a match.
pad "plug 1"
back1() { full 2 2 FF0000 && faded 1 2 000000; }
waitFor back1 || fail "pad 1 plugged in again does not show in full colour"
click 1 0
waitFor inMatch || fail "pad 1 alone started no match"
quit

# Standard error holds the axis traces and nothing else: no line for a pad going or coming.
! grep -vE '^(Checking axis for player [01]|Axis value: -?[0-9.e-]+)$' "$tmp/err" ||
  fail "stderr holds the lines above"
