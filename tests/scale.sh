#!/usr/bin/env bash
# The game at a whole-pixel scale, end to end. First the command line: an unknown option and a
# scale that leaves too small a world are refused with the usage and status 2, before the game
# reads a file or opens a window; --help prints the usage. Then the real twinrun on a private
# 1280×720 X server and on a large one, k times as wide and high (2560×1440 by default), each
# played the same way with xdotool: the invitation, a keyboard join's widest prompt, the lobby
# with the joined player and a match. Each screen of the large one, shrunk k times, shows what
# the small one shows, and the dinosaur in the match is k times as tall.
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

# Runs the game with the arguments from a folder without its files, which it would report had
# it set anything up, and checks that it ends with status $1, its usage on standard output (0)
# or a reason and the usage on standard error (2), and nothing else.
commandLine() { # status, arguments...
  local want="$1" code=0
  shift
  mkdir -p "$tmp/nofiles"
  (cd "$tmp/nofiles" && DISPLAY="$display" exec "${game[@]}" "$@") >"$tmp/out" 2>"$tmp/err" || code=$?
  # Windows ends its lines with a carriage return too.
  sed -i 's/\r$//' "$tmp/out" "$tmp/err"
  if ((want == 0)); then
    ((code == 0)) && head -n 1 "$tmp/out" | grep -q '^Usage: twinrun .*--scale N' &&
      [ ! -s "$tmp/err" ] || fail "twinrun $*: status $code, $(head -c 300 "$tmp/out" "$tmp/err")"
  else
    ((code == want)) && [ ! -s "$tmp/out" ] && head -n 1 "$tmp/err" | grep -q '^twinrun: ' &&
      sed -n 2p "$tmp/err" | grep -q '^Usage: twinrun ' && ! grep -q Error "$tmp/err" ||
      fail "twinrun $*: status $code, stderr $(head -c 300 "$tmp/err")"
  fi
}
commandLine 0 --help
commandLine 2 --bogus
# 1280×720 at 3 leaves 426×240.
commandLine 2 --scale 3

startServer "$large"
big="$display"

# Makes the screen $1 (small or big) the one that the helpers look at and type into. Their checks
# read a picture of 1280×720 (width × height): a screenshot of the large screen goes through
# shrunk.
on() { display="${!1}"; }
width=1280
height=720

# Runs the check "$@" on shot.png, first shrunk k times when it is of the large screen; the
# screenshot as taken stays in full.png.
shrunk() {
  cp "$tmp/shot.png" "$tmp/full.png"
  [ "$display" = "$small" ] || convert "$tmp/full.png" -filter box -resize 1280x720\! "$tmp/shot.png"
  "$@"
}

# What each screen shows, on a screenshot of the small screen or of the large one shrunk: the
# invitation, wide and in the middle; the prompt to confirm, wider; the lobby's one figure.
invitation() { darkBox | awk -Fx '{ exit !($1 > 400 && $1 < 900) }'; }
prompt() { darkBox | awk -Fx '{ exit !($1 > 900) }'; }
lobby() { darkBox | awk -Fx '{ exit !($1 > 50 && $1 < 200) }'; }

# Whether shot.png, of the large screen, shrunk k times, shows the screen $1 (and its check) as
# the small one showed it: the edges of their dark pixels' boxes lie within 4 pixels, and the pictures,
# blurred by 2 pixels, differ by an RMS of at most 5% (3.7% at most seen, for the widest prompt;
# a prompt 4 pixels off lies 7% away).
sameAsSmall() { # screen
  shrunk "$1" || return 1
  difference="$(convert "$tmp/shot.png" "$tmp/small-$1.png" -colorspace Gray -blur 0x2 \
    -metric RMSE -compare -format '%[distortion]' info: 2>&1)"
  awk -v a="$(darkBox)" -v b="$(darkBox "$tmp/small-$1.png")" -v d="$difference" 'BEGIN {
    split(a, p, /[x+]/); split(b, q, /[x+]/)
    edges = (p[3] - q[3]) ^ 2 > 16 || (p[4] - q[4]) ^ 2 > 16 ||
            (p[1] + p[3] - q[1] - q[3]) ^ 2 > 16 || (p[2] + p[4] - q[2] - q[4]) ^ 2 > 16
    if (edges) exit 1
    exit !(d <= 0.05) }'
}

# Types the keys $2 and waits for the screen $1: on the small screen it is kept, on the large
# one it must show the same.
stage() { # screen, keys
  # shellcheck disable=SC2086 # the keys, one word each
  [ -z "$2" ] || keyDelay=40 joins "$2"
  if [ "$display" = "$small" ]; then
    within=20 waitFor "$1" || fail "no $1 at 1280x720"
    cp "$tmp/shot.png" "$tmp/small-$1.png"
  else
    within=20 waitFor sameAsSmall "$1" || fail "the $1 at $large, shrunk, is not the $1 at" \
      "1280x720: boxes $(darkBox) and $(darkBox "$tmp/small-$1.png"), difference $difference"
  fi
}

# The dinosaur's height in full.png: the black pixels of the left quarter, where nothing else
# is black at the start of a match.
dinosaurHeight() {
  convert "$tmp/full.png" -gravity West -crop 25%x100%+0+0 +repage -fill white +opaque black \
    -threshold 50% -negate -format '%@' info: | awk -F'[x+]' '{ print $2 }'
}

# Plays the session on the screen $1 and prints the dinosaur's height in its match.
play() {
  local started="" name="the $1 screen"
  on "$1"
  launch
  stage invitation ""
  stage prompt "j j"
  stage lobby "j d d l l r r"
  # The jump key marks ready, which starts the match; a slow frame may let the join take the
  # first press.
  for _ in 1 2 3; do
    keys j
    within=5 waitFor shrunk inMatch && started=1 && break
  done
  [ -n "$started" ] || fail "no match on the $1 screen"
  dinosaurHeight
  quit shrunk lobbyShown
}

difference="none measured"
tall="$(play small)"
# Wine keeps its windows on the display of its first program until its server ends.
[ "$mode" != --wine ] || wineserver -w
tallScaled="$(play big)"
((tallScaled == k * tall && tall > 50)) ||
  fail "the dinosaur is $tall pixels tall at 1280x720 and $tallScaled at $large"
echo "scale: the command line, and the game at 1280x720 and at $large (k = $k) passed"
