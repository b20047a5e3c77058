#!/bin/bash
# Start-up makes the fonts and the global render target and starts the music: with the disk audio
# driver the track reaches the output; without an audio device one log line says why and the run
# goes on; without the track the run is silent and says nothing about it.
# $1: the runnable folder.
set -u
run_dir="$1"
if [ -z "${DISPLAY:-}" ]; then
  echo "skipped: no display (run under xvfb-run)"
  exit 0
fi
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir -p "$work/data"
cd "$work" || exit 1

# One second of noise as the music track.
head -c 176400 /dev/urandom |
  lame --quiet -r -s 44.1 --bitwidth 16 --signed --little-endian -m m - data/Vallomere.mp3 || exit 1

fail() {
  echo "FAIL: $1"
  echo "--- debug.txt"
  cat debug.txt
  exit 1
}

# Runs the presentation for a few seconds and ends it the way a closed window would.
play() {
  rm -f debug.txt
  timeout --preserve-status -s TERM 4 "$run_dir/demo" --windowed >/dev/null 2>&1
  status=$?
  [ "$status" -eq 0 ] || fail "demo ended with status $status"
}

SDL_AUDIODRIVER=disk SDL_DISKAUDIOFILE="$work/out.raw" play
grep -q $'^FBO: depth component 512,512, [0-9]* bits\r$' debug.txt || fail "no depth line"
grep -q $'^FBO creation status\\[Framebuffer complete\\] \r$' debug.txt || fail "no status line"
grep -q "SoundPlayer" debug.txt && fail "a line about sound although the output works"
audible=$(tr -d '\0' <out.raw | wc -c)
[ "$audible" -gt 10000 ] || fail "the track did not reach the output ($audible bytes)"

SDL_AUDIODRIVER=nonexistent play
[ "$(grep -c '^SoundPlayer: no sound output (' debug.txt)" -eq 1 ] || fail "not exactly one line about the missing device"

rm data/Vallomere.mp3
SDL_AUDIODRIVER=dummy play
grep -q "SoundPlayer" debug.txt && fail "a line about sound although only the track is missing"
grep -q "Vallomere" debug.txt && fail "the missing track was logged"
echo "ok"
