#!/usr/bin/env bash
# Sharp and true at any size, on a 1920 x 1080 screen with a window manager: full screen at the
# display's own size draws 1920 x 1080 frames whose central 4:3 part is the 800 x 600 window's
# picture (the view widens, nothing is stretched) and whose detail is that of drawing surfaces made
# for the screen, not scaled up; F11 takes a window to full screen during a run.
. "$(dirname "$0")/common.sh"

cd "$work"
ln -s "$run_dir/data" data 2>/dev/null
cp "$run_dir"/*.cg . 2>/dev/null
on_wide_screen() {
  xvfb-run -a -s "-screen 0 1920x1080x24" bash -c 'openbox >/dev/null 2>&1 & sleep 1; exec "$@"' screen \
    timeout 900 "$run_dir/orvo-gl" --unattended --seed 3 --fixed-step 0.1 "$@"
}
# The standard deviation of the 8-neighbour Laplacian of the grey picture: how much fine detail.
detail() {
  convert "$1" -colorspace gray -define convolve:bias=50% -morphology Convolve Laplacian:0 \
    -format '%[fx:standard_deviation]' info: 2>/dev/null
}

on_wide_screen --windowed --end-at 112.5 --screenshot 25:window-25.png --screenshot 112:window-112.png \
  >/dev/null 2>window.err || fail "the windowed run failed: $(tail -2 window.err)"
on_wide_screen --desktop --end-at 112.5 --screenshot 25:full-25.png --screenshot 112:full-112.png \
  >/dev/null 2>full.err || fail "the full-screen run failed: $(tail -2 full.err)"

for frame in 25 112; do
  [ -f "window-$frame.png" ] && [ -f "full-$frame.png" ] || { fail "no frames at $frame s"; continue; }
  size=$(identify -format '%wx%h' "full-$frame.png")
  [ "$size" = 1920x1080 ] || fail "the full-screen frame at $frame s is $size"
  convert "full-$frame.png" -crop 1440x1080+240+0 +repage -resize '800x600!' "centre-$frame.png"
  psnr=$(compare -metric PSNR "window-$frame.png" "centre-$frame.png" null: 2>&1)
  sharpness=$(detail "full-$frame.png")
  echo "at $frame s: central 4:3 part against the window's frame $psnr dB, detail $sharpness"
  awk -v p="$psnr" 'BEGIN { exit !(p == "inf" || p >= 22) }' || fail "at $frame s the centre differs: $psnr dB"
  awk -v d="$sharpness" 'BEGIN { exit !(d >= 0.065) }' || fail "at $frame s the frame is soft: detail $sharpness"
done

ORVO_GL_KEYS="3:F11" on_wide_screen --windowed --start-at 24.5 --end-at 25.5 --screenshot 25:toggled.png \
  >/dev/null 2>toggled.err || fail "the F11 run failed: $(tail -2 toggled.err)"
size=$(identify -format '%wx%h' toggled.png 2>/dev/null)
[ "$size" = 1920x1080 ] || fail "after F11 the frame is ${size:-missing}, not the screen's 1920x1080"

finish "screen sizes"
