#!/usr/bin/env bash
# End to end under a real window manager (openbox) on a private 1280 × 720 X server: the game's
# window covers the whole screen and carries its icon and class, keys reach it, and a player who
# holds right while another window takes the focus, lets go there and comes back stands still.
# Usage: tests/windowmanager.sh path/to/twinrun, from the repository root.
# shellcheck source=tests/driver.sh
source "$(dirname "$0")/driver.sh"

# The right edge of player 1's black dinosaur, left of where the world's objects come from.
dinoX() { dinosaurEdges 760 000000; }

# The server repeats no held key: a repeat's release that reaches the game while the focus moves
# would let the key go by chance.
startServer "${width}x$height" -ardelay 60000
export DISPLAY="$display"
openbox >/dev/null 2>&1 &
servers+=($!)
# Openbox takes over the screen (_NET_SUPPORTING_WM_CHECK) before it loads its theme and starts
# handling windows, which it does right after naming the theme (_OB_THEME): a window mapped
# before then waits for it, and on a busy machine that may take a while.
openboxReady() { xprop -root _NET_SUPPORTING_WM_CHECK _OB_THEME 2>/dev/null | grep -q '"'; }
within=60 waitFor openboxReady || fail "openbox did not start"

launch
win="$(xdotool search --class '^Twinrun$' | head -n 1)"
# The menu entry names the window's class, so that docks put the window under its entry.
xprop -id "$win" WM_CLASS | grep -qF '"twinrun", "Twinrun"' || fail "$(xprop -id "$win" WM_CLASS)"
grep -qx 'StartupWMClass=Twinrun' "$root/packaging/twinrun.desktop" || fail "menu entry's class"
# The window covers the screen and carries its icon, which comes right after the window, which
# may show before it.
geometry() { xwininfo -id "$win" | awk '/Absolute upper-left|Width:|Height:/ { printf "%s ", $NF }'; }
dressed() {
  [ "$(geometry)" = "0 0 $width $height " ] && xprop -id "$win" _NET_WM_ICON | grep -qF '128 x 128'
}
within=5 waitFor dressed || fail "the window's place and size: $(geometry), or it has no icon"

# One keyboard player (J D L R), ready, in a match.
startMatch "j j j d d l l r r" inMatch || fail "keys did not reach the game: no match"

# Right held moves the dinosaur; held while a window of another program takes the focus and let
# go there, it is let go in the game too.
start="$(dinoX)"
xdotool keydown r sleep 0.5
xmessage -geometry 200x60+0+0 elsewhere &
servers+=($!)
other_win="$(xdotool search --sync --class "^Xmessage$" | head -n 1)"
xdotool windowactivate --sync "$other_win" keyup r sleep 0.2 windowactivate --sync "$win" sleep 0.2
before="$(dinoX)"
sleep 1
after="$(dinoX)"
((before > start + 10 && after - before < 5)) || fail "holding right moved the dinosaur from" \
  "$start to $before, and after the focus came back to $after"

quit
