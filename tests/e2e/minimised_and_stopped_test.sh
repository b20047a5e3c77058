#!/usr/bin/env bash
# The main loop when the window is minimised, when a stop signal comes during a long jump, and
# when there is nothing new to draw. $1 is the runnable folder.
. "$(dirname "$0")/common.sh"

cd "$work"
ln -s "$run_dir/data" data
cp "$run_dir"/*.cg .

# Runs the presentation with the arguments under a window manager; $script runs beside it with the
# process id in $presentation. Status, stdout, stderr, the seconds the run took and the seconds
# from the last "signalled" mark to the end go to files.
with_window_manager() {
  rm -f signalled.txt
  script="$script" xvfb-run -a -s "-screen 0 1024x768x24" bash -c '
    openbox >/dev/null 2>&1 &
    sleep 1
    began=$(date +%s.%N)
    "$@" >stdout.txt 2>stderr.txt &
    presentation=$!
    eval "$script"
    wait $presentation
    echo $? > status.txt
    ended=$(date +%s.%N)
    awk -v a="$began" -v b="$ended" "BEGIN { print b - a }" > seconds.txt
    [ -f signalled.txt ] && awk -v a="$(cat signalled.txt)" -v b="$ended" "BEGIN { print b - a }" > stopping.txt
    true' with "$@"
}

# Whether the number in file $1 is below $2.
below() { awk -v value="$(cat "$1")" -v limit="$2" 'BEGIN { exit !(value < limit) }'; }

# A fixed-step capture minimised for two seconds: the presentation waits meanwhile, so the capture
# holds every frame, the screenshot is taken at its time and the run ends at its end.
script='sleep 4; timeout 20 xdotool search --sync --name "^Game\$" windowminimize; sleep 2; xdotool search --name "^Game\$" windowmap windowactivate'
with_window_manager timeout 300 "$run_dir/orvo-gl" --windowed --fixed-step 0.04 --end-at 30 --capture frames.rgb \
  --screenshot 20:shot.png --fps
[ "$(cat status.txt)" = 0 ] || fail "minimised capture: status $(cat status.txt): $(cat stderr.txt)"
# Time 0, 0.04, ... 30.0 and the first frame past 30 s.
grep -q '^orvo-gl: 752 frames, 30.0[0-9] s of presentation' stdout.txt || fail "minimised capture: $(cat stdout.txt)"
[ "$(stat -c %s frames.rgb)" = $((752 * 800 * 600 * 3)) ] || fail "minimised capture holds $(stat -c %s frames.rgb) bytes"
grep -q 'Screenshot shot.png at 20.000 s' debug.txt || fail "minimised capture: $(grep Screenshot debug.txt)"
# No music-gap line: with a fixed step the music is not the clock.
grep -q 'largest gap' stdout.txt && fail "a fixed-step run reports a gap to the music"

# Following the clock, a run minimised for good still ends at its end.
script='sleep 3; timeout 20 xdotool search --sync --name "^Game\$" windowminimize'
with_window_manager timeout 60 "$run_dir/orvo-gl" --windowed --end-at 8
[ "$(cat status.txt)" = 0 ] || fail "minimised to the end: status $(cat status.txt)"
below seconds.txt 20 || fail "minimised to the end: the run took $(cat seconds.txt) s"

# A stop signal during a long jump ends the run at once with 128 + the signal; meanwhile the
# window's title shows how far the jump has come.
# (Half a second is the aim; the check leaves room for a busy machine.)
script='sleep 4; xdotool search --name "jumping" > found.txt; date +%s.%N > signalled.txt; kill -TERM $presentation'
with_window_manager timeout 120 "$run_dir/orvo-gl" --windowed --start-at 150 --fixed-step 0.01
[ "$(cat status.txt)" = 143 ] || fail "SIGTERM during a jump: status $(cat status.txt)"
[ -s found.txt ] || fail "no window title told of the jump"
below stopping.txt 2 || fail "SIGTERM during a jump: $(cat stopping.txt) s to stop"
echo "SIGTERM during a jump: stopped in $(cat stopping.txt) s"
script='sleep 4; date +%s.%N > signalled.txt; kill -INT $presentation'
with_window_manager timeout 120 "$run_dir/orvo-gl" --windowed --start-at 140 --fixed-step 0.005
[ "$(cat status.txt)" = 130 ] || fail "SIGINT during a jump: status $(cat status.txt)"
below stopping.txt 2 || fail "SIGINT during a jump: $(cat stopping.txt) s to stop"
echo "SIGINT during a jump: stopped in $(cat stopping.txt) s"

# Past the presentation's end the picture stands still; the loop still shows no more frames than
# a display would.
script=''
with_window_manager timeout 60 "$run_dir/orvo-gl" --windowed --start-at 153 --end-at 157 --fps
rate=$(sed -n 's/.*(\([0-9.]*\) frames per second).*/\1/p' stdout.txt)
echo "${rate:-none}" > rate.txt
[ -n "$rate" ] && below rate.txt 80 || fail "past the end: $(cat stdout.txt)"

finish minimised_and_stopped
