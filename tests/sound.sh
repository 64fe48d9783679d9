#!/usr/bin/env bash
# The game's sound, recorded: the real twinrun on a private X server, played with xdotool, its
# mix written to a WAV file by OpenAL Soft's wave writer and measured with sox. The idle lobby
# is silent, a ready press is heard within 150 ms and a jump in a match is heard, as long and
# at the pitch as it was made; with --mute
# nothing is played and no device opened; with a device that won't open the game plays on,
# silent, after one line on standard error. Each game ends with Escape and status 0, and its
# recording is then a complete file.
# --wine plays path/to/twinrun.exe under Wine; --elsewhere starts the game from an empty folder
# (it reads the src/ beside it).
# Usage: tests/sound.sh path/to/twinrun [--wine | --elsewhere], from the repository root.
set -euo pipefail
# The path as given, a link not resolved, so that a link is what starts the game.
game=("$(realpath -s "$1")")
mode="${2:-}"
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
# shellcheck source=scripts/xserver.sh
source "$root/scripts/xserver.sh"
width=1024
height=768

startServer "${width}x$height"
[ "$mode" != --wine ] || useWine
from="$root"
[ "$mode" != --elsewhere ] || { from="$tmp/elsewhere" && mkdir "$from"; }

# Starts the game with the arguments given, from the repository root (or the empty folder); sets
# pid, and started to the moment its recording began: when the WAV file appeared, unless the run
# is $recordless.
startGame() {
  rm -f "$tmp/mix.wav"
  (cd "$from" && DISPLAY="$display" exec "${game[@]}" "$@") 2>"$tmp/err" &
  pid=$!
  while [ ! -e "$tmp/mix.wav" ] && [ -z "${recordless:-}" ] && timeLeft; do sleep 0.005; done
  started="$(now)"
  waitFor windowUp || fail "no lobby"
}

# Seconds since the game's recording began.
elapsed() { awk -v now="$(now)" -v started="$started" 'BEGIN { printf "%.3f\n", now - started }'; }

# Plays one session: two keyboard joins, an idle lobby, the first player's ready press, the
# second's, which starts the match, and a jump in it; sets idleFrom, readyAt, jumpAt and endAt
# to their moments in the recording.
playSession() {
  joins "j j j d d l l r r" "q w w s s a a e e"
  # The joins' sounds fade within half a second; then the lobby stays idle.
  sleep 0.6
  idleFrom="$(elapsed)"
  sleep 1.2
  readyAt="$(elapsed)"
  keys j
  sleep 0.5
  keys w
  waitFor inMatch || fail "no match"
  # The match's first sound fades before the jump, long before the first cactus arrives.
  sleep 1.5
  jumpAt="$(elapsed)"
  keys j
  sleep 0.5
  leaveMatch lobbyShown || fail "Escape did not end the match"
  keys Escape
  ended "$pid" || fail "Escape ended the game with status $?"
  endAt="$(elapsed)"
  # Windows ends its lines with a carriage return too; "test" is the game's trace of each bird
  # or saw, which a match may bring.
  sed -i -e 's/\r$//' -e '/^test$/d' "$tmp/err"
}

# Whether the first sound from $2 seconds on (more than -46 dBFS) starts between $3 - 0.05 and
# $3 + 0.15 seconds, in the recording: before that window it was silent. The script's clock and
# the recording's agree within a few tens of milliseconds: the file is seen within 5 ms of its
# making, and the writer mixes a period ahead.
heardAt() { # what, from, moment
  local onset
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
  local length frequency
  sox "$tmp/mix.wav" -b 16 "$tmp/one.wav" trim "$1" 0.5 remix - \
    silence 1 0.001 0.5% reverse silence 1 0.001 0.5% reverse 2>/dev/null
  length="$(soxi -D "$tmp/one.wav" 2>/dev/null || echo 0)"
  frequency="$(sox "$tmp/one.wav" -n stat 2>&1 | awk '/^Rough/ { print $3 }')"
  awk -v l="$length" -v f="${frequency:-0}" \
    'BEGIN { exit !(l > 0.096 && l < 0.131 && f > 420 && f < 510) }' ||
    fail "the jump lasts $length s at $frequency Hz, made to last 0.121 s at 464 Hz"
}

# With sound: silence while the lobby is idle, the ready mark heard within 150 ms, and the jump
# heard with a peak below -6 dBFS.
recordSound "$tmp/mix.wav"
startGame
playSession
# Complete: the length in its header is the session's, which the device sets as it closes.
length="$(soxi -D "$tmp/mix.wav" 2>/dev/null || echo 0)"
awk -v l="$length" -v a="$jumpAt" -v b="$endAt" 'BEGIN { exit !(l > a && l < b + 0.5) }' ||
  fail "the recording's length is $length s, the session's $endAt s"
[ ! -s "$tmp/err" ] || fail "stderr: $(head -n 3 "$tmp/err")"
heardAt "the ready press" "$idleFrom" "$readyAt"
heardAt "the jump" "$(awk -v t="$jumpAt" 'BEGIN { print t - 0.5 }')" "$jumpAt"
awk -v p="$(peakOf "$tmp/mix.wav" "$jumpAt" 0.3)" 'BEGIN { exit !(p > 0.05 && p < 0.5) }' ||
  fail "the jump's peak: $(peakOf "$tmp/mix.wav" "$jumpAt" 0.3)"
jumpAsMade "$(awk -v t="$jumpAt" 'BEGIN { print t - 0.05 }')"

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
echo "sound: the recording, --mute and a missing device passed"
