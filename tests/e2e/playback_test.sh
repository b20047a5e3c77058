#!/usr/bin/env bash
# Starting anywhere, pausing and jumping, with a fixed frame step and seed: every frame shown is
# the frame a run from 0 shows at that time, to the pixel. Keys are played from ORVO_GL_KEYS (frame
# numbers, so the runs repeat); a last run presses real keys in a real window with xdotool.
. "$(dirname "$0")/common.sh"

cd "$work"
ln -s "$run_dir/data" data 2>/dev/null
cp "$run_dir"/*.cg . 2>/dev/null
play() {
  xvfb-run -a -s "-screen 0 1024x768x24" timeout 600 "$run_dir/orvo-gl" --windowed --seed 3 --fixed-step 0.1 "$@" \
    >>stdout.txt 2>>stderr.txt
}
same() {  # same PICTURE REFERENCE WHAT
  if [ ! -f "$1" ] || [ ! -f "$2" ]; then
    fail "$3: a picture is missing ($1, $2)"
    return
  fi
  differing=$(compare -metric AE "$1" "$2" null: 2>&1)
  [ "$differing" = 0 ] || fail "$3: $differing pixels differ from the run from 0"
}

# The run from 0, through the jump cuts, the fade, both scenes at 90 s and into the titles.
play --end-at 103.2 --screenshot 49.5:ref49.5.png --screenshot 80.5:ref80.5.png --screenshot 90.05:ref90.05.png \
  --screenshot 101:ref101.png --screenshot 103:ref103.png || fail "the run from 0 failed"

for run in 49:49.5 80:80.5 89.9:90.05 100:101; do
  start=${run%:*}
  at=${run#*:}
  play --start-at "$start" --end-at 103.2 --screenshot "$at:s$at.png" --screenshot "103:s103-$start.png" ||
    fail "--start-at $start failed"
  same "s$at.png" "ref$at.png" "--start-at $start, at $at s"
  same "s103-$start.png" ref103.png "--start-at $start, at 103 s"
done

# Jumps: from 101 s back 5 s, then from 97 s ahead 5 s, land on the frames of a run without jumps.
ORVO_GL_KEYS="10:Left,20:Right" play --start-at 100 --end-at 103.2 --screenshot 103:jumped.png || fail "the jumping run failed"
same jumped.png ref103.png "after a jump back and a jump ahead, at 103 s"

# Pause: the frames while paused are all the same picture, and after resuming the run goes on as if
# it had never stopped.
ORVO_GL_KEYS="10:P,40:P" play --start-at 100 --end-at 103.2 --screenshot 103:resumed.png --capture paused.rgb ||
  fail "the pausing run failed"
same resumed.png ref103.png "after a pause, at 103 s"
frame_bytes=$((800 * 600 * 3))
for frame in 12 25 39; do
  dd if=paused.rgb of="frame$frame.rgb" bs="$frame_bytes" skip="$frame" count=1 2>/dev/null
done
cmp -s frame12.rgb frame25.rgb && cmp -s frame12.rgb frame39.rgb || fail "the picture changes while paused"
[ -s frame39.rgb ] || fail "the capture of the pausing run is short"
rm -f paused.rgb frame*.rgb

# A start at the very end shows its last frame and ends at once.
started=$(date +%s)
play --start-at 154 --fps || fail "--start-at 154 ended with status $?"
[ $(( $(date +%s) - started )) -lt 60 ] || fail "--start-at 154 did not end at once"
tail -1 stdout.txt | grep -Eq "orvo-gl: [1-3] frames" || fail "--start-at 154 drew more than its last frames: $(tail -1 stdout.txt)"
play --start-at 155 2>/dev/null && fail "--start-at 155 was accepted"
grep -q -- "--start-at needs seconds from 0 to 154" stderr.txt || fail "--start-at 155 gave no reason"

# A jump ahead to the end ends the run at once, and so does every later one: one Right a frame
# for 32 frames of a run to 20 s reaches the end at the fourth and never replays from 0 (a replay
# would log a jump to 0).
rm -f debug.txt
ORVO_GL_KEYS="$(seq -s, 0 31 | sed 's/[0-9][0-9]*/&:Right/g')" play --end-at 20 --fps || fail "32 jumps ahead ended with status $?"
grep -q "Playback: to 0.00 s" debug.txt && fail "jumps past the end played the presentation again from 0"
tail -1 stdout.txt | grep -Eq "orvo-gl: [1-4] frames" || fail "jumps to the end did not end the run at once: $(tail -1 stdout.txt)"

# --loop goes round from the end to the start; Escape still ends it.
ORVO_GL_KEYS="30:Escape" play --loop --start-at 153.5 --fps || fail "the looping run ended with status $?"
grep -q "Playback: to 0.00 s" debug.txt || fail "--loop did not go back to the start"
tail -1 stdout.txt | grep -Eq "orvo-gl: 3[01] frames" || fail "--loop did not play on until Escape: $(tail -1 stdout.txt)"

# --desktop covers the whole display at its own size (the private display is 1024 x 768); a window
# manager carries out the request, as on a desktop.
cat >desktop.sh <<DESKTOP
#!/bin/bash
openbox >/dev/null 2>&1 &
sleep 1
ORVO_GL_KEYS="15:Escape" "$run_dir/orvo-gl" --desktop --start-at 100 --fixed-step 0.1 --screenshot 100.5:desktop.png
DESKTOP
chmod +x desktop.sh
xvfb-run -a -s "-screen 0 1024x768x24" timeout 120 ./desktop.sh >>stdout.txt 2>>stderr.txt || fail "the --desktop run failed"
[ "$(identify -format '%wx%h' desktop.png 2>/dev/null)" = 1024x768 ] ||
  fail "--desktop did not take the display's size: $(identify -format '%wx%h' desktop.png 2>&1)"
# The picture reaches the far corner: the top right is not left black.
corner=$(convert desktop.png -crop 100x100+924+0 +repage -format '%[fx:int(255*mean)]' info: 2>/dev/null)
[ "${corner:-0}" -gt 5 ] || fail "--desktop left the top right corner black"

# Real keys in a real window: F1 shows the overlay, P holds the picture, Escape ends the run.
cat >keys.sh <<KEYS
#!/bin/bash
"$run_dir/orvo-gl" --windowed --start-at 100 >keys_out.txt 2>&1 &
pid=\$!
window=\$(xdotool search --sync --name '^Game\$' | head -1)
sleep 3
xdotool windowfocus --sync "\$window" 2>/dev/null
xdotool key F1
sleep 2
import -window "\$window" overlay.png
xdotool key F1 key p
sleep 2
import -window "\$window" paused1.png
sleep 1
import -window "\$window" paused2.png
xdotool key Escape
wait \$pid
echo \$? >keys_status.txt
KEYS
chmod +x keys.sh
xvfb-run -a -s "-screen 0 1024x768x24" timeout 120 ./keys.sh
[ "$(cat keys_status.txt 2>/dev/null)" = 0 ] || fail "the window run did not end with status 0 on Escape"
# The overlay's pale yellow text in the top left corner.
yellow=$(convert overlay.png -crop 300x40+0+0 +repage -fx 'r>0.8 && g>0.8 && b<0.75 && b>0.4 ? 1 : 0' \
  -format '%[fx:int(mean*w*h)]' info: 2>/dev/null)
[ "${yellow:-0}" -gt 30 ] || fail "F1 showed no overlay: ${yellow:-no} yellow pixels"
same paused1.png paused2.png "the paused window one second apart"

finish "playback"
