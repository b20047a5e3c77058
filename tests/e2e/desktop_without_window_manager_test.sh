#!/usr/bin/env bash
# --desktop on a display without a window manager: nobody carries out the full-screen request, so
# the window is laid over the display borderless. The frames saved are the display's size, the
# picture reaches the top and right edges, and it is the picture a desktop with a window manager
# shows; F11 goes to a window and back to full screen there too. $1 is the runnable folder.
. "$(dirname "$0")/common.sh"

cd "$work"
ln -s "$run_dir/data" data
cp "$run_dir"/*.cg .
# Plays from 100 s, 0.1 s a frame, on a bare 1024 x 768 display; "with_wm" starts openbox first.
desktop() {
  local manager=$1
  shift
  xvfb-run -a -s "-screen 0 1024x768x24" bash -c '
    [ "$0" = with_wm ] && { openbox >/dev/null 2>&1 & sleep 1; }
    exec "$@"' "$manager" \
    timeout 120 "$run_dir/orvo-gl" --desktop --unattended --seed 3 --start-at 100 --fixed-step 0.1 "$@" \
    >/dev/null 2>>stderr.txt || fail "the $manager run ended with status $?: $(tail -2 stderr.txt)"
}
# The mean brightness, 0 to 255, of a part of a picture given as WxH+X+Y.
brightness() {
  convert "$1" -crop "$2" +repage -format '%[fx:int(255*mean)]' info: 2>/dev/null
}

desktop bare --end-at 100.6 --screenshot 100.5:bare.png
desktop with_wm --end-at 100.6 --screenshot 100.5:managed.png
size=$(identify -format '%wx%h' bare.png 2>/dev/null)
[ "$size" = 1024x768 ] || fail "without a window manager the frame is ${size:-missing}, not 1024x768"
top=$(brightness bare.png 1024x40+0+0)
right=$(brightness bare.png 40x768+984+0)
echo "without a window manager: top rows $top, right columns $right"
[ "${top:-0}" -gt 5 ] || fail "the top rows are black (${top:-no picture})"
[ "${right:-0}" -gt 5 ] || fail "the right columns are black (${right:-no picture})"
differing=$(compare -metric AE bare.png managed.png null: 2>&1)
[ "$differing" = 0 ] || fail "$differing pixels differ from the frame under a window manager"
grep -q 'a borderless window covers the display instead' debug.txt || fail "the borderless window was not logged"

# F11 at frame 3 gives the 800 x 600 window back, F11 at frame 7 covers the display again.
ORVO_GL_KEYS="3:F11,7:F11" desktop bare --end-at 101 --screenshot 100.5:window.png --screenshot 100.9:again.png
size=$(identify -format '%wx%h' window.png 2>/dev/null)
[ "$size" = 800x600 ] || fail "after F11 the window is ${size:-missing}, not 800x600"
size=$(identify -format '%wx%h' again.png 2>/dev/null)
[ "$size" = 1024x768 ] || fail "after F11 twice the frame is ${size:-missing}, not 1024x768"
right=$(brightness again.png 40x768+984+0)
[ "${right:-0}" -gt 5 ] || fail "after F11 twice the right columns are black (${right:-no picture})"

finish "desktop without a window manager"
