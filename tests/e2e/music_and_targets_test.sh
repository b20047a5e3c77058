#!/usr/bin/env bash
# Start-up makes the fonts and the global render target and starts the music: with the disk audio
# driver the track reaches the output, and one log line says it goes to a file; with the dummy
# driver one log line says nothing will be heard; without an audio device one log line says why
# and the run goes on; without the track, or with one that is not music, one log line names the
# file and the run goes on silent; a track cut short plays, and one log line names it.
# $1 is the runnable folder.
. "$(dirname "$0")/common.sh"

mkdir -p "$work/data"
cp "$run_dir"/*.cg "$work"/ 2>/dev/null
# One second of noise as the music track.
head -c 176400 /dev/urandom |
  lame --quiet -r -s 44.1 --bitwidth 16 --signed --little-endian -m m - "$work/data/Vallomere.mp3" ||
  fail "lame could not make the track"

# Plays two seconds of the presentation in $work on its own X server; the status goes to status.txt.
# The folder holds no models: the model reader's boxes about them are answered at once.
export ORVO_GL_BOX_ANSWERS=
play() {
  rm -f "$work/debug.txt"
  xvfb-run -a bash -c 'cd "$0" && "$1" --windowed --end-at 2 >/dev/null 2>&1; echo $? > status.txt' \
    "$work" "$run_dir/orvo-gl"
  [ "$(cat "$work/status.txt")" = 0 ] || fail "$1: status $(cat "$work/status.txt")"
}

SDL_AUDIODRIVER=disk SDL_DISKAUDIOFILE="$work/out.raw" play "disk output"
grep -q $'^FBO: depth component 512,512, [0-9]* bits\r$' "$work/debug.txt" || fail "no depth line"
grep -q $'^FBO creation status\\[Framebuffer complete\\] \r$' "$work/debug.txt" || fail "no status line"
[ "$(grep -c "SoundPlayer" "$work/debug.txt")" = 1 ] &&
  grep -q $'^SoundPlayer: the disk audio driver writes the sound to '"$work"$'/out.raw, nothing will be heard\r$' \
    "$work/debug.txt" || fail "disk output: not exactly one line, saying where the sound goes"
audible=$(tr -d '\0' <"$work/out.raw" | wc -c)
[ "$audible" -gt 10000 ] || fail "the track did not reach the output ($audible bytes)"

SDL_AUDIODRIVER=dummy play "dummy output"
[ "$(grep -c "SoundPlayer" "$work/debug.txt")" = 1 ] &&
  grep -q $'^SoundPlayer: the dummy audio driver discards the sound, nothing will be heard\r$' "$work/debug.txt" ||
  fail "dummy output: not exactly one line, saying nothing will be heard"

# The baked track whole, then cut to its first 100 KB: only the cut one is reported.
cp "$run_dir/data/Vallomere.mp3" "$work/data/Vallomere.mp3"
SDL_AUDIODRIVER=dummy play "whole baked track"
grep -q "its header promises" "$work/debug.txt" && fail "whole baked track: reported as cut short"
head -c 100000 "$run_dir/data/Vallomere.mp3" > "$work/data/Vallomere.mp3"
SDL_AUDIODRIVER=dummy play "cut track"
[ "$(grep -c "its header promises" "$work/debug.txt")" = 1 ] &&
  grep -Eq '^SoundPlayer: data/Vallomere.mp3 holds 4\.[0-9] s of the 15[0-9]\.[0-9] s its header promises \(the file is cut short\), playing what there is' \
    "$work/debug.txt" || fail "cut track: not exactly one line naming it: $(grep SoundPlayer "$work/debug.txt")"

SDL_AUDIODRIVER=nonexistent play "no device"
[ "$(grep -c '^SoundPlayer: no sound output (' "$work/debug.txt")" = 1 ] ||
  fail "no device: not exactly one line about it"

rm "$work/data/Vallomere.mp3"
SDL_AUDIODRIVER=dummy play "no track"
[ "$(grep -c '^SoundPlayer: cannot load data/Vallomere.mp3 (not found), running silent' "$work/debug.txt")" = 1 ] ||
  fail "no track: not exactly one line naming it"

: > "$work/data/Vallomere.mp3"
SDL_AUDIODRIVER=dummy play "empty track"
[ "$(grep -c '^SoundPlayer: cannot load data/Vallomere.mp3 (' "$work/debug.txt")" = 1 ] ||
  fail "empty track: not exactly one line naming it"

head -c 5000 /dev/urandom > "$work/data/Vallomere.mp3"
SDL_AUDIODRIVER=dummy play "random track"
[ "$(grep -c '^SoundPlayer: cannot load data/Vallomere.mp3 (' "$work/debug.txt")" = 1 ] ||
  fail "random track: not exactly one line naming it"

finish "music and render target"
