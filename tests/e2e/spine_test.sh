#!/usr/bin/env bash
# Drives the real program on private X servers: the windowed run, the full-screen paths, and the
# ways it refuses to start. $1 is the runnable folder.
. "$(dirname "$0")/common.sh"

# Runs the program in $work on its own X server of the given screen size, waits for a window
# titled "Game", presses Escape and records the exit status, the window count and stderr.
play_and_escape() {
  local screen=$1
  shift
  xvfb-run -a -s "-screen 0 ${screen}x24" bash -c '
    cd "$0"
    "$@" --fps >stdout.txt 2>stderr.txt &
    pid=$!
    windows=0
    for attempt in $(seq 1 100); do
      windows=$(xdotool search --name "^Game$" 2>/dev/null | wc -l)
      [ "$windows" -gt 0 ] && break
      kill -0 $pid 2>/dev/null || break
      sleep 0.1
    done
    echo "$windows" > windows.txt
    sleep 1
    xdotool key Escape
    for attempt in $(seq 1 100); do
      kill -0 $pid 2>/dev/null || break
      sleep 0.1
    done
    kill -9 $pid 2>/dev/null
    wait $pid
    echo $? > status.txt
  ' "$work" "$@"
}

# The windowed run: a window titled "Game", frames drawn, Escape ends it with status 0, and the
# log gains its lines after what was already there.
printf 'earlier run\r\n' > "$work/debug.txt"
# The working folder holds no data: the program reads the runnable folder's beside it.
ORVO_GL_BOX_ANSWERS= play_and_escape 1024x768 "$run_dir/orvo-gl" --windowed
[ "$(cat "$work/status.txt")" = 0 ] || fail "windowed run ended with status $(cat "$work/status.txt")"
[ "$(cat "$work/windows.txt")" -ge 1 ] || fail "no window titled Game"
grep -q -E '^orvo-gl: [1-9][0-9]* frames' "$work/stdout.txt" || fail "no frames drawn: $(cat "$work/stdout.txt")"
expected_start=$(printf 'earlier run\r\n-- Starting -- \r\nStatus: Using GLEW ')
case "$(cat "$work/debug.txt")" in
  "$expected_start"*) ;;
  *) fail "log does not start as expected: $(od -c "$work/debug.txt" | head -5)" ;;
esac
grep -q -E 'Status: Using GLEW [0-9.]+$' "$work/debug.txt" || fail "no GLEW status line"

# Full screen on a display without an 800 x 600 mode, answered Yes: it runs in a window.
rm -f "$work/debug.txt"
ORVO_GL_BOX_ANSWERS=yes play_and_escape 1024x768 "$run_dir/orvo-gl"
[ "$(cat "$work/status.txt")" = 0 ] || fail "answer Yes: status $(cat "$work/status.txt")"
[ "$(cat "$work/windows.txt")" -ge 1 ] || fail "answer Yes: no window"
grep -q 'Use Windowed Mode Instead?' "$work/stderr.txt" || fail "answer Yes: the question was not asked"

# Answered No: "Program Will Now Close.", no window, a non-zero status and the log line.
rm -f "$work/debug.txt"
ORVO_GL_BOX_ANSWERS=no play_and_escape 1024x768 "$run_dir/orvo-gl"
[ "$(cat "$work/status.txt")" != 0 ] || fail "answer No: status 0"
[ "$(cat "$work/windows.txt")" = 0 ] || fail "answer No: a window opened"
grep -q 'ERROR: Program Will Now Close\.' "$work/stderr.txt" || fail "answer No: no closing box"
grep -q 'Could not create window' "$work/debug.txt" || fail "answer No: no log line"

# --unattended typed goes before an empty ORVO_GL_BOX_ANSWERS: the question takes its default, Yes.
rm -f "$work/debug.txt"
ORVO_GL_BOX_ANSWERS= play_and_escape 1024x768 "$run_dir/orvo-gl" --unattended
[ "$(cat "$work/status.txt")" = 0 ] || fail "--unattended with ORVO_GL_BOX_ANSWERS=: status $(cat "$work/status.txt")"
[ "$(cat "$work/windows.txt")" -ge 1 ] || fail "--unattended with ORVO_GL_BOX_ANSWERS=: no window"
grep -q '^orvo-gl: \[exclamation box, unattended\] Orvo GL: The Requested Fullscreen Mode' "$work/stderr.txt" ||
  fail "--unattended with ORVO_GL_BOX_ANSWERS=: the question was not answered unattended"

# ORVO_GL_UNATTENDED=1 is the option: it goes before ORVO_GL_BOX_ANSWERS=no as --unattended does.
rm -f "$work/debug.txt"
ORVO_GL_UNATTENDED=1 ORVO_GL_BOX_ANSWERS=no play_and_escape 1024x768 "$run_dir/orvo-gl"
[ "$(cat "$work/status.txt")" = 0 ] || fail "ORVO_GL_UNATTENDED=1 with ORVO_GL_BOX_ANSWERS=no: status $(cat "$work/status.txt")"
grep -q '^orvo-gl: \[exclamation box, unattended\] ' "$work/stderr.txt" ||
  fail "ORVO_GL_UNATTENDED=1 with ORVO_GL_BOX_ANSWERS=no: the question was not answered unattended"
# A false-like value leaves it off, so the scripted No ends the run; an answer that is neither yes
# nor no, and a value that is neither on nor off, are each named on stderr.
for value in false no off 0; do
  ORVO_GL_UNATTENDED=$value ORVO_GL_BOX_ANSWERS=no,maybe play_and_escape 1024x768 "$run_dir/orvo-gl"
  [ "$(cat "$work/status.txt")" != 0 ] && [ "$(cat "$work/windows.txt")" = 0 ] ||
    fail "ORVO_GL_UNATTENDED=$value switched unattended mode on"
  grep -q '^orvo-gl: ORVO_GL_BOX_ANSWERS: "maybe" is not an answer (yes or no); left out$' "$work/stderr.txt" ||
    fail "ORVO_GL_UNATTENDED=$value: the unknown answer went unsaid: $(head -3 "$work/stderr.txt")"
done
ORVO_GL_UNATTENDED=sometimes ORVO_GL_BOX_ANSWERS=no play_and_escape 1024x768 "$run_dir/orvo-gl"
grep -q '^orvo-gl: ORVO_GL_UNATTENDED=sometimes is neither on (1, true, yes, on) nor off (0, false, no, off); taken as off$' \
  "$work/stderr.txt" || fail "an unknown ORVO_GL_UNATTENDED went unsaid: $(head -3 "$work/stderr.txt")"

# A display that has the mode: full screen without a question.
ORVO_GL_BOX_ANSWERS= play_and_escape 800x600 "$run_dir/orvo-gl"
[ "$(cat "$work/status.txt")" = 0 ] || fail "full screen: status $(cat "$work/status.txt")"
[ "$(cat "$work/windows.txt")" -ge 1 ] || fail "full screen: no window"
grep -q 'Use Windowed Mode' "$work/stderr.txt" && fail "full screen: asked about windowed mode"

# No X server at all: the reason on stderr and a non-zero status, without waiting on a box.
(cd "$work" && env -u DISPLAY -u WAYLAND_DISPLAY timeout 20 "$run_dir/orvo-gl" --windowed >/dev/null 2>stderr.txt)
status=$?
[ "$status" != 0 ] && [ "$status" != 124 ] || fail "no display: status $status"
grep -q 'could not create the window' "$work/stderr.txt" || fail "no display: no reason on stderr"

# An unknown option prints the usage and ends with status 2.
"$run_dir/orvo-gl" --bogus >/dev/null 2>"$work/stderr.txt"
[ $? = 2 ] || fail "unknown option: wrong status"
grep -q 'usage: orvo-gl' "$work/stderr.txt" || fail "unknown option: no usage"

finish spine
