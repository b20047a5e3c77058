#!/usr/bin/env bash
# A repeatable run with a fixed frame step: the screenshot is a PNG of the window, the capture
# holds exactly one raw frame per frame drawn, and the run ends at the requested time.
. "$(dirname "$0")/common.sh"

cd "$work"
ln -s "$run_dir/data" data 2>/dev/null
cp "$run_dir"/*.cg . 2>/dev/null
xvfb-run -a -s "-screen 0 1024x768x24" timeout 300 "$run_dir/orvo-gl" --windowed --seed 7 --fixed-step 0.1 --end-at 3 \
  --screenshot 1.5:shot.png --capture frames.rgb --fps >stdout.txt 2>stderr.txt
status=$?
[ "$status" = 0 ] || fail "status $status: $(cat stderr.txt)"
# Time 0, 0.1, ... 3.0 and the first frame past 3 s: 32 frames.
grep -q '^orvo-gl: 32 frames,' stdout.txt || fail "frame count: $(cat stdout.txt)"
[ "$(identify -format '%m %w %h' shot.png 2>/dev/null)" = "PNG 800 600" ] || fail "screenshot is not an 800 x 600 PNG"
size=$(stat -c %s frames.rgb 2>/dev/null || echo 0)
[ "$size" = $((32 * 800 * 600 * 3)) ] || fail "capture holds $size bytes"
grep -q 'Screenshot shot.png at 1.500 s' debug.txt || fail "no screenshot line in the log"

# Requested output that is not produced ends the run with status 3 and a line saying which:
# a screenshot that cannot be written, one at a time the run never reaches, a capture that
# cannot be written (the disk is full).
# The status is the program's own, written from inside the X server's run: xvfb-run's own status
# can also tell of its clean-up.
run_short() {
  xvfb-run -a -s "-screen 0 1024x768x24" bash -c 'timeout 300 "$0" --windowed --fixed-step 0.1 --end-at 0.5 "$@" \
    >/dev/null 2>stderr.txt; echo $? >status.txt' "$run_dir/orvo-gl" "$@"
}
run_short --screenshot 0:no-such-folder/shot.png
[ "$(cat status.txt)" = 3 ] || fail "an unwritable screenshot ended with status $(cat status.txt): $(grep -v ALSA stderr.txt)"
grep -q 'screenshot not saved: cannot write no-such-folder/shot.png: No such file or directory' stderr.txt ||
  fail "an unwritable screenshot went unreported: $(cat stderr.txt)"
run_short --screenshot 0:/dev/full
grep -q 'screenshot not saved: cannot write /dev/full: No space left on device' stderr.txt ||
  fail "a screenshot onto a full disk went unreported: $(cat stderr.txt)"
run_short --screenshot 0.2:early.png --screenshot 60:late.png
[ "$(cat status.txt)" = 3 ] || fail "an unreached screenshot ended with status $(cat status.txt)"
grep -q 'orvo-gl: screenshot late.png not saved: the run ended at' stderr.txt || fail "an unreached screenshot went unreported"
[ -f early.png ] || fail "the reachable screenshot was not saved"
run_short --capture /dev/full
[ "$(cat status.txt)" = 3 ] || fail "a capture to a full disk ended with status $(cat status.txt)"
grep -q '^orvo-gl: cannot write the frame capture to /dev/full: No space left on device' stderr.txt ||
  fail "a failed capture went unreported: $(cat stderr.txt)"
# A capture that cannot even be opened is the same, said at once with the path and the reason.
mkdir frames-folder
for target in "no-such-folder/frames.rgb:No such file or directory" "frames-folder:Is a directory"; do
  run_short --capture "${target%%:*}"
  [ "$(cat status.txt)" = 3 ] || fail "a capture to ${target%%:*} ended with status $(cat status.txt)"
  grep -q "^orvo-gl: cannot write the frame capture to ${target%%:*}: ${target#*:}$" stderr.txt ||
    fail "a capture to ${target%%:*} went unreported: $(cat stderr.txt)"
done

# A reader that takes nothing: the capture's write waits on it, and SIGTERM still ends the run
# within half a second, with status 143.
cat >stalled.sh <<'STALLED'
#!/bin/bash
mkfifo frames.fifo
sleep 30 <frames.fifo &
reader=$!
"$1" --windowed --fixed-step 0.04 --capture - >frames.fifo 2>stalled.err &
pid=$!
# The first frame fills the pipe: once frames are drawn, the write waits.
for attempt in $(seq 1 100); do grep -q 'GL: version' debug.txt 2>/dev/null && break; sleep 0.1; done
sleep 2
started=$(date +%s%N)
kill -TERM $pid
for attempt in $(seq 1 250); do kill -0 $pid 2>/dev/null || break; sleep 0.02; done
echo $((($(date +%s%N) - started) / 1000000)) >stalled-ms.txt
kill -9 $pid 2>/dev/null
wait $pid
echo $? >status.txt
kill $reader
STALLED
rm -f debug.txt
xvfb-run -a -s "-screen 0 1024x768x24" bash stalled.sh "$run_dir/orvo-gl"
echo "a stalled capture ended $(cat stalled-ms.txt) ms after SIGTERM"
[ "$(cat status.txt)" = 143 ] || fail "SIGTERM during a stalled capture: status $(cat status.txt)"
[ "$(cat stalled-ms.txt)" -le 500 ] || fail "SIGTERM during a stalled capture took $(cat stalled-ms.txt) ms"

# A reader that goes away: the write fails like any other, with the reason, and the status is 3.
cat >vanished.sh <<'VANISHED'
#!/bin/bash
timeout 300 "$1" --windowed --fixed-step 0.1 --end-at 3 --capture - 2>stderr.txt | head -c 1000000 >/dev/null
echo "${PIPESTATUS[0]}" >status.txt
VANISHED
xvfb-run -a -s "-screen 0 1024x768x24" bash vanished.sh "$run_dir/orvo-gl"
[ "$(cat status.txt)" = 3 ] || fail "a capture whose reader went away ended with status $(cat status.txt)"
grep -q '^orvo-gl: cannot write the frame capture to -: Broken pipe' stderr.txt ||
  fail "a capture whose reader went away went unreported: $(cat stderr.txt)"

# A named pipe that nobody opens: the run waits for its reader before any window, and the first
# stop signal ends the wait with the signal's status and one line.
mkfifo unread.fifo
for signal in TERM:143 INT:130; do
  "$run_dir/orvo-gl" --windowed --fixed-step 0.1 --capture unread.fifo 2>unread.err &
  pid=$!
  sleep 1
  kill -"${signal%%:*}" $pid
  for attempt in $(seq 1 50); do kill -0 $pid 2>/dev/null || break; sleep 0.1; done
  kill -9 $pid 2>/dev/null && fail "SIG${signal%%:*} did not end the wait for the capture's reader"
  wait $pid
  status=$?
  [ "$status" = "${signal#*:}" ] || fail "SIG${signal%%:*} while waiting for the capture's reader: status $status"
  grep -q "^orvo-gl: the capture's reader never came" unread.err || fail "no line for the reader that never came: $(cat unread.err)"
done

# The window is resized while a capture runs: every frame keeps the size of the first, the log says
# once that the window no longer matches, and the frames are those of a run without the resize.
cat >resized.sh <<'RESIZED'
#!/bin/bash
"$1" --windowed --seed 1 --fixed-step 0.04 --end-at 6.1 --screenshot 6:plain.png 2>/dev/null
rm -f debug.txt
"$1" --windowed --seed 1 --fixed-step 0.04 --end-at 6.1 --capture resized.rgb --screenshot 6:resized.png \
  2>resized.err &
pid=$!
for attempt in $(seq 1 100); do grep -q 'GL: version' debug.txt 2>/dev/null && break; sleep 0.1; done
window=$(xdotool search --sync --onlyvisible --pid $pid --name '^Game$' | head -1)
xdotool windowsize "$window" 1000 700
sleep 0.5
xdotool windowsize "$window" 400 300
wait $pid
echo $? >status.txt
RESIZED
xvfb-run -a -s "-screen 0 1024x768x24" bash resized.sh "$run_dir/orvo-gl"
[ "$(cat status.txt)" = 0 ] || fail "a resized capture ended with status $(cat status.txt): $(cat resized.err)"
size=$(stat -c %s resized.rgb 2>/dev/null || echo 0)
[ $((size % (800 * 600 * 3))) = 0 ] && [ "$size" -gt 0 ] || fail "a resized capture holds $size bytes: not whole 800 x 600 frames"
[ "$(grep -c 'no longer matches the capture' debug.txt)" = 1 ] || fail "the log does not say once that the window changed"
[ "$(compare -metric AE plain.png resized.png null: 2>&1)" = 0 ] || fail "the frame after the resize differs from an unresized run"

finish capture
