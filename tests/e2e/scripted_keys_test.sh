#!/usr/bin/env bash
# Keys held through ORVO_GL_KEYS act while held, as real ones do: Page Up held for ten frames moves
# the rig's eye away, and the lit ground shows it; a script that does not read is named on
# stderr. $1 is the runnable folder.
. "$(dirname "$0")/common.sh"

cd "$work"
ln -s "$run_dir/data" data
cp "$run_dir"/*.cg .
play() {
  xvfb-run -a -s "-screen 0 1024x768x24" timeout 120 "$run_dir/orvo-gl" --windowed --seed 3 --fixed-step 0.1 \
    --start-at 10 --end-at 11.6 "$@" >/dev/null 2>>stderr.txt || fail "the run $* ended with status $?"
}

play --screenshot 11.5:plain.png
ORVO_GL_KEYS="2:PageUp:10" play --screenshot 11.5:held.png
grep -q "ORVO_GL_KEYS" stderr.txt && fail "the held key was refused: $(grep ORVO_GL_KEYS stderr.txt)"
differing=$(compare -metric AE plain.png held.png null: 2>&1)
echo "Page Up held for 10 frames changed $differing pixels"
[ "${differing%%[^0-9]*}" -gt 1000 ] 2>/dev/null || fail "Page Up held for 10 frames changed ${differing:-no} pixels"

ORVO_GL_KEYS="2:PageUp:0" play
grep -q "orvo-gl: ORVO_GL_KEYS: '2:PageUp:0' is not FRAME:KEY or FRAME:KEY:FRAMES, no keys are played" stderr.txt ||
  fail "a hold of no frames went unreported: $(cat stderr.txt)"

finish "scripted keys"
