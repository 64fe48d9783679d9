# Private X servers and the helpers that drive the real game on them: screenshots, pixel
# counts, keys. Sourced by scripts that run with set -euo pipefail; the screen checks read
# width and height, which the script sets.
# shellcheck shell=bash

# Screenshots, logs and game folders go in tmp; the X servers started are stopped at exit.
tmp="$(mktemp -d)"
servers=()
trap 'kill "${servers[@]}" 2>/dev/null || true; rm -rf "$tmp"' EXIT

# The game's sound goes through OpenAL Soft, which reads the file that ALSOFT_CONF names. Every
# game started from these scripts plays into its null driver, silent and without messages
# about missing sound cards, unless a run records it (recordSound).
printf 'drivers = null\n' >"$tmp/silent.conf"
export ALSOFT_CONF="$tmp/silent.conf"

fail() {
  echo "FAIL: $*" >&2
  exit 1
}

# The moment, in microseconds since the epoch, until which a wait for the game's start may last:
# the end of CTest's timeout for the running test (TWINRUN_TEST_TIMEOUT, which tests/CMakeLists.txt
# hands to every run on an X server), counted from now, when the test's script starts, less 10 s
# for the rest of its report; 60 s from now in a script run by hand.
testEnd=$((${EPOCHREALTIME/[.,]/} + (${TWINRUN_TEST_TIMEOUT:-70} - 10) * 1000000))

# Whether the test's time for waits is not yet over.
timeLeft() { [ "${EPOCHREALTIME/[.,]/}" -lt "$testEnd" ]; }

# Starts an Xvfb of the given size (extra arguments go to Xvfb); sets display. A busy machine
# may take its time to start it: the wait lasts as long as the test may.
startServer() {
  local size="$1"
  shift
  rm -f "$tmp/number"
  Xvfb -displayfd 3 -screen 0 "${size}x24" -nolisten tcp -noreset "$@" 3>"$tmp/number" 2>/dev/null &
  servers+=($!)
  while [ ! -s "$tmp/number" ] && timeLeft; do sleep 0.05; done
  [ -s "$tmp/number" ] || fail "Xvfb did not start"
  display=":$(head -n 1 "$tmp/number")"
}

# Gives the rest of the script a display: a private X server of the given size when none
# is set.
ensureDisplay() {
  if [ -z "${DISPLAY:-}" ]; then
    startServer "$1"
    export DISPLAY="$display"
  fi
}

# Number of pixels of colour $3 (e.g. 000000) in the region $2 (WxH+X+Y) of the picture $1;
# further pairs of region and colour each add a line with their count, from one decoding.
# The count is the same however the picture is stored: ImageMagick 7 keeps a grayscale PNG
# (as it saves a screenshot of only black and white) in one channel, where a fill with a colour
# turns into a grey, so each region is first made opaque three-channel sRGB.
pixels() {
  local picture="$1" regions=()
  shift
  while [ "$#" -gt 0 ]; do
    # Pixels exactly of the colour turn transparent; the mean of the alpha mask is the share of
    # the others.
    regions+=('(' mpr:shot -crop "$1" +repage -alpha off -colorspace sRGB -type TrueColor
      -transparent "#$2" -alpha extract ')')
    shift 2
  done
  convert "$picture" -write mpr:shot +delete "${regions[@]}" \
    -format '%[fx:round((1 - mean) * w * h)]\n' info:
}

# Number of pixels of colour $4 in the 100 × 100 square around ($2, $3).
count() { pixels "$1" "100x100+$(($2 - 50))+$(($3 - 50))" "$4"; }

# The game's window, mapped on the display.
windowMapped() { DISPLAY="$display" xdotool search --onlyvisible --name '^Twinrun$' >/dev/null 2>&1; }

# Takes screenshots until "$@" holds for shot.png, for up to $within (default 10) seconds. The
# game's first frame (windowUp) may come late when a busy machine starts it cold: that wait lasts
# as long as the test may, whatever $within says, and takes no screenshot (which would take the
# machine's time from the game) before the game's window is mapped; when the game (process $pid,
# if set) ends before its first frame, the wait fails at once.
waitFor() {
  local deadline=$((${EPOCHREALTIME/[.,]/} + ${within:-10} * 1000000))
  local first=false
  [ "$1" != windowUp ] || { first=true && deadline="$testEnd"; }
  alive() { ! $first || [ -z "${pid:-}" ] || kill -0 "$pid" 2>/dev/null; }
  while $first && ! windowMapped; do
    if ! { timeLeft && alive; }; then
      whyNoFrame
      return 1
    fi
    sleep 0.1
  done
  while :; do
    DISPLAY="$display" import -window root "$tmp/shot.png"
    if "$@"; then return 0; fi
    if ! { [ "${EPOCHREALTIME/[.,]/}" -lt "$deadline" ] && alive; }; then
      ! $first || whyNoFrame
      return 1
    fi
    sleep 0.1
  done
}

# Says on stderr why the game's first frame did not come: it ended, or its window was never
# mapped, or the window shows something else.
whyNoFrame() {
  if [ -n "${pid:-}" ] && ! kill -0 "$pid" 2>/dev/null; then
    echo "the game (process $pid) ended before its first frame" >&2
  elif ! windowMapped; then
    echo "the game's window was not mapped within the test's time" >&2
  else
    echo "the game's window is mapped ($(DISPLAY="$display" xdotool search --onlyvisible \
      --name '^Twinrun$' getwindowgeometry 2>&1 | tr -s '\n ' ' ')), but its first frame" \
      "did not show: $(count "$tmp/shot.png" 50 50 FFFFFF) of the top left's 10000 pixels white" >&2
  fi
}

# Types the keys with $keyDelay (default 150) milliseconds between them.
keys() { DISPLAY="$display" xdotool key --delay "${keyDelay:-150}" "$@"; }

# Types joins, one argument each (its keys, separated by blanks), and pauses after each: a press
# that arrives in the frame that takes a join's last confirmation is taken by that join, so the
# next player's first press must come later.
joins() {
  local chain=() join
  for join in "$@"; do
    # shellcheck disable=SC2206 # the keys of one join
    chain+=(key --delay "${keyDelay:-150}" $join sleep 0.1)
  done
  DISPLAY="$display" xdotool "${chain[@]}"
}

# Joins with the keys of "$1" and presses J until a match starts (the check "$2" holds), three
# times at most: a slow frame may let the join take the first press.
startMatch() {
  keyDelay=40 joins "$1"
  for _ in 1 2 3; do
    keys j
    within=3 waitFor "$2" && return 0
  done
  return 1
}

# The game's first frame: the top left corner is cleared white, whatever else it shows.
windowUp() { [ "$(count "$tmp/shot.png" 50 50 FFFFFF)" -eq 10000 ]; }

# The ground, which has no white, along the bottom edge, with plain sky above it.
groundShown() {
  # shellcheck disable=SC2046 # one count a line
  set -- $(pixels "$tmp/shot.png" "${width}x40+0+$((height - 40))" FFFFFF \
    "${width}x1+0+$((height - 41))" FFFFFF)
  [ "${1:-}" -eq 0 ] && [ "${2:-}" -gt $((width - 120)) ]
}

# The score's black digits at the top right.
scoreShown() { [ "$(count "$tmp/shot.png" $((width - 50)) 50 000000)" -gt 10 ]; }

inMatch() { groundShown && scoreShown; }

# The lobby: neither the ground nor the score.
lobbyShown() { ! groundShown && ! scoreShown; }

# Ends the match with Escape and waits for the lobby check "$@". The game overrules an Escape
# that it takes in the same pass as a tick while someone is alive; on a loaded machine that
# happens now and then, so while the last screenshot still shows the match (the check
# $matchCheck, by default inMatch) Escape is pressed again, three times at most.
leaveMatch() {
  for _ in 1 2 3; do
    keys Escape
    within=5 waitFor "$@" && return 0
    "${matchCheck:-inMatch}" || return 1
  done
  return 1
}

# Waits up to ten seconds for the game $1 to end and returns its exit status; one still running
# then is killed.
ended() {
  for _ in $(seq 100); do kill -0 "$1" 2>/dev/null || break; sleep 0.1; done
  kill -9 "$1" 2>/dev/null || true
  wait "$1"
}

# The sanitizers' reports in the stderr file $1, if any.
sanitizerReports() { grep -E 'AddressSanitizer|LeakSanitizer|runtime error:' "$1" || true; }

# Makes "${game[@]}", a Windows executable, play under a Wine of its own, made now (the game's
# first start would wait for it) and stopped with the script; the game reads the silent sound
# configuration by its Windows path.
useWine() {
  export WINEPREFIX="$tmp/wine" WINEDEBUG=-all
  game=(wine "${game[0]}")
  DISPLAY="$display" wineboot --init >/dev/null 2>&1
  trap 'wineserver -k 2>/dev/null; kill "${servers[@]}" 2>/dev/null || true; rm -rf "$tmp"' EXIT
  ALSOFT_CONF="$(winepath -w "$tmp/silent.conf" 2>/dev/null)"
}

# Sends the sound of the games started after it to the WAV file $1 through OpenAL Soft's wave
# writer, which writes the mix at the pace of the clock from the moment the game opens its
# device. Under Wine (after useWine) the game reads both files by their Windows paths.
recordSound() {
  local file="$1" conf="$tmp/record.conf"
  [ -z "${WINEPREFIX:-}" ] || file="$(winepath -w "$file" 2>/dev/null)"
  printf 'drivers = wave\n[wave]\nfile = %s\n' "$file" >"$conf"
  [ -z "${WINEPREFIX:-}" ] || conf="$(winepath -w "$conf" 2>/dev/null)"
  export ALSOFT_CONF="$conf"
}

# The loudest sample of the WAV $1 from $2 seconds on for $3 seconds, from 0 to 1.
peakOf() { sox "$1" -n trim "$2" "$3" stat 2>&1 | awk '/^Maximum amplitude/ { print $3 }'; }

# The time in seconds at which the WAV $1 first sounds from $2 seconds on (at least 2 ms louder
# than -46 dBFS); the file's length when it stays silent.
onsetAfter() {
  local whole rest
  whole="$(soxi -D "$1" 2>/dev/null)"
  sox "$1" "$tmp/rest.wav" trim "$2" silence 1 0.002 0.5% 2>/dev/null
  rest="$(soxi -D "$tmp/rest.wav" 2>/dev/null || echo 0)"
  awk -v whole="$whole" -v rest="$rest" 'BEGIN { printf "%.3f\n", whole - rest }'
}

# Seconds since the epoch, to the microsecond.
now() { echo "${EPOCHREALTIME/,/.}"; }
