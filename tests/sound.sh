#!/usr/bin/env bash
# The game's sound, recorded: the real twinrun on a private X server, played with xdotool, its
# mix written to a WAV file by OpenAL Soft's wave writer and measured with sox. With --no-music
# the idle lobby is silent, a ready press is heard within 150 ms and a jump in a match is heard,
# as long and at the pitch as it was made. With the music, the lobby is quiet but not silent,
# the effects stand out over the music, its loop comes round without a gap, and after a match
# that the second player outlasts, the lobby shows its crown and its one win. With --mute
# nothing is played and no device opened; with a device that won't open the game plays on,
# silent, after one line on standard error. Each game ends with Escape and status 0.
# --wine plays path/to/twinrun.exe under Wine; --elsewhere starts the game from an empty folder
# (it reads the src/ beside it).
# Usage: tests/sound.sh path/to/twinrun [--wine | --elsewhere], from the repository root.
# shellcheck source=tests/driver.sh
source "$(dirname "$0")/driver.sh"
mode="${2:-}"
# The figures' places that outlast reads are those of a 1024×768 screen.
width=1024
height=768
startServer "${width}x$height"
[ "$mode" != --wine ] || useWine
[ "$mode" != --elsewhere ] || { from="$tmp/elsewhere" && mkdir "$from"; }

# Starts the game with the arguments given (launch); sets started to the moment its recording
# began: when the WAV file appeared, unless the run is $recordless.
startGame() { rm -f "$tmp/mix.wav" && whileStarting=recordingStarted launch "$@"; }
recordingStarted() {
  while [ ! -e "$tmp/mix.wav" ] && [ -z "${recordless:-}" ] && timeLeft; do sleep 0.005; done
  started="$(now)"
}

# Seconds since the game's recording began; the sum of two numbers of seconds.
elapsed() { plus "$(now)" "-$started"; }
plus() { awk -v a="$1" -v b="$2" 'BEGIN { printf "%.3f\n", a + b }'; }

# Plays one session: two keyboard joins, an idle lobby ($idle seconds, 1.2 by default), the first
# player's ready press, the second's, which starts the match, a jump in it, and its end by
# $ending (Escape by default); sets idleFrom, readyAt and jumpAt to their moments in the
# recording.
playSession() {
  joins "j j j d d l l r r" "q w w s s a a e e"
  # The joins' sounds fade within half a second; then the lobby stays idle.
  sleep 0.6
  idleFrom="$(elapsed)"
  sleep "${idle:-1.2}"
  readyAt="$(elapsed)"
  keyDelay=500 keys j w
  waitFor inMatch || fail "no match"
  # The match's first sound fades before the jump, long before the first cactus arrives.
  sleep 1.5
  jumpAt="$(elapsed)"
  keys j
  sleep 0.5
  "${ending:-leaveMatch}" lobbyShown || fail "the match did not end"
  keys Escape
  ended "$pid" || fail "Escape ended the game with status $?"
  # Windows ends its lines with a carriage return too; "test" is the game's trace of each bird
  # or saw, which a match may bring.
  sed -i -e 's/\r$//' -e '/^test$/d' "$tmp/err"
}

# Whether the first sound from $2 seconds on (more than -46 dBFS) starts between $3 - 0.05 and
# $3 + 0.15 seconds, in the recording: before that window it was silent. The script's clock and
# the recording's agree within a few tens of milliseconds: the file is seen within 5 ms of its
# making, and the writer mixes a period ahead.
heardAt() { # what, from, moment
  onset="$(onsetAfter "$tmp/mix.wav" "$2")"
  awk -v o="$onset" -v t="$3" 'BEGIN { exit !(o >= t - 0.05 && o <= t + 0.15) }' ||
    fail "$1 at $3 s: the first sound from $2 s is at $onset s"
}

# Whether the first sound in the recording from $1 seconds on is the jump as it was made: its
# samples, as sox measures them, sound 0.121 s from their first to their last above -46 dBFS,
# at a rough frequency of 464 Hz (a glide from 330 to 740 Hz, its start the loudest). In the mix,
# one channel of two and 3 dB quieter, it may sound up to 25 ms shorter; played at another rate
# than its own it would last twice as long and sound an octave lower, or the other way round.
jumpAsMade() {
  sox "$tmp/mix.wav" -b 16 "$tmp/one.wav" trim "$1" 0.5 remix - \
    silence 1 0.001 0.5% reverse silence 1 0.001 0.5% reverse 2>/dev/null
  length="$(soxi -D "$tmp/one.wav" 2>/dev/null || echo 0)"
  frequency="$(sox "$tmp/one.wav" -n stat 2>&1 | awk '/^Rough/ { print $3 }')"
  awk -v l="$length" -v f="${frequency:-0}" \
    'BEGIN { exit !(l > 0.096 && l < 0.131 && f > 420 && f < 510) }' ||
    fail "the jump lasts $length s at $frequency Hz, made to last 0.121 s at 464 Hz"
}

# With the effects alone: silence while the lobby is idle, the ready mark heard within 150 ms,
# and the jump heard as made.
recordSound "$tmp/mix.wav"
startGame --no-music
playSession
[ ! -s "$tmp/err" ] || fail "stderr: $(head -n 3 "$tmp/err")"
heardAt "the ready press" "$idleFrom" "$readyAt"
heardAt "the jump" "$(plus "$jumpAt" -0.5)" "$jumpAt"
jumpAsMade "$(plus "$jumpAt" -0.05)"

# The RMS levels in dBFS of the recording's first channel from $1 seconds on for $2 seconds: of
# the whole, and of its loudest and its quietest $3 seconds.
levels() {
  sox "$tmp/mix.wav" -t dat - trim "$1" "$2" remix 1 2>/dev/null | awk -v w="$3" '
    !/^;/ { s += $2 * $2; all += $2 * $2; if (++n % int(w * 44100) == 0) { hi = s > hi ? s : hi; lo = lo == "" || s < lo ? s : lo; s = 0 } }
    END { db = 10 / log(10); w = int(w * 44100); print db * log(all / n), db * log(hi / w), db * log(lo / w + 1e-20) }'
}
# Ends the match: the first player runs out (left: L) before the second (left: A). Then the
# lobby ("$@") shows the crown's gold on the second player's head, none on the first's, and a
# digit, its one win, under the second only.
outlast() {
  DISPLAY="$display" xdotool keydown l sleep 3.5 keydown a
  within=15 waitFor "$@" && DISPLAY="$display" xdotool keyup l a || return 1
  # shellcheck disable=SC2046 # one count a line
  set -- $(pixels "$tmp/shot.png" 40x30+356+302 FFC400 40x30+697+302 FFC400 30x40+326+448 000000 30x40+668+448 000000)
  ((${1:-0} == 0 && ${2:-0} > 100 && ${3:-0} == 0 && ${4:-0} > 10)) ||
    fail "crown $1 and $2 pixels, wins $3 and $4 pixels over and under the two figures"
}
# With the music: the lobby's is quiet, and never silent for 10 ms across its loop's seam (23 s
# in); the ready mark and the jump, over their loudest 50 ms, stand 8 dB over it. The seam is
# the same code in every build: only the release suites wait for it; the Windows, tarball and
# sanitizer runs idle for 3 s.
musicIdle=21
[ -z "$mode" ] && [ -z "${ASAN_OPTIONS:-}" ] || musicIdle=3
startGame
idle=$musicIdle ending=outlast playSession
read -r lobby _ quietest <<<"$(levels "$idleFrom" "$(plus "$musicIdle" -0.5)" 0.01)"
read -r match _ _ <<<"$(levels "$(plus "$jumpAt" -0.9)" 0.8 0.05)"
read -r _ ready _ <<<"$(levels "$readyAt" 0.5 0.05)"
read -r _ jump _ <<<"$(levels "$jumpAt" 0.5 0.05)"
awk -v l="$lobby" -v q="$quietest" -v m="$match" -v r="$ready" -v j="$jump" \
  'BEGIN { exit !(l > -38 && l < -29 && q > -55 && m < -28 && r - l >= 8 && j - m >= 8) }' ||
  fail "music at $lobby dBFS (its quietest 10 ms $quietest), $match in a match; ready $ready, jump $jump"

# Muted: the same session opens no device, so nothing is recorded, and says nothing.
recordless=1 startGame --mute
playSession
[ ! -e "$tmp/mix.wav" ] || fail "--mute still recorded, peak $(peakOf "$tmp/mix.wav" 0 1000)"
[ ! -s "$tmp/err" ] || fail "stderr with --mute: $(head -n 3 "$tmp/err")"

# A device that won't open (the wave writer's folder is missing): the game plays on, silent,
# after one line.
recordSound "$tmp/missing/mix.wav"
recordless=1 startGame
playSession
[ "$(cat "$tmp/err")" = "twinrun: no audio device, playing without sound" ] ||
  fail "without a device, stderr: $(head -n 3 "$tmp/err")"
echo "sound: the effects, the music, --mute and a missing device passed"
