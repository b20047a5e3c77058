#!/usr/bin/env bash
# The drawing surfaces at 1920 x 1080 on a renderer too slow for them (llvmpipe on one thread):
# following the clock, the program makes them smaller, logs each size it chose and keeps showing
# whole frames; a fixed-step run draws at the full size however long its frames take.
. "$(dirname "$0")/common.sh"

cd "$work"
ln -s "$run_dir/data" data 2>/dev/null
cp "$run_dir"/*.cg . 2>/dev/null
# Runs the program on a 1920 x 1080 screen with a window manager; with GRAB_AFTER=S the screen is
# also saved as screen.png S seconds after the program started.
on_slow_wide_screen() {
  GALLIUM_DRIVER=llvmpipe LP_NUM_THREADS=1 SDL_AUDIODRIVER=dummy \
    xvfb-run -a -s "-screen 0 1920x1080x24" bash -c '
      openbox >/dev/null 2>&1 & sleep 1
      "$@" & program=$!
      if [ -n "${GRAB_AFTER:-}" ]; then sleep "$GRAB_AFTER"; import -window root screen.png; fi
      wait $program' screen timeout 600 "$run_dir/orvo-gl" --unattended --seed 3 "$@"
}
# The "Surfaces: W x H at T s" lines of the log: the sizes chosen while playing, one "W H" a line.
chosen_sizes() {
  sed -n 's/.*Surfaces: \([0-9]*\) x \([0-9]*\) at [0-9.]* s, frames took.*/\1 \2/p' debug.txt | tr -d '\r'
}

on_slow_wide_screen --windowed --size 1920x1080 --fixed-step 0.1 --start-at 24 --end-at 26 \
  >/dev/null 2>fixed.err || fail "the fixed-step run failed: $(tail -2 fixed.err)"
grep -q "Surfaces: 1229 x 922 for the 1920 x 1080 drawable, kept at that size" debug.txt ||
  fail "the fixed-step run did not keep the full size: $(grep Surfaces: debug.txt | head -3)"
[ -z "$(chosen_sizes)" ] || fail "the fixed-step run changed its surfaces: $(chosen_sizes | tr '\n' ' ')"
grep -q "FBO: depth component 1229,922" debug.txt || fail "the landscape's surface was not made at 1229 x 922"
rm -f debug.txt

# A drawable whose full surfaces are below the 800 x 600 frame's on one side shrinks no further on
# that side, and the log gives that real floor.
on_slow_wide_screen --windowed --size 1600x300 --end-at 1 >/dev/null 2>flat.err || fail "the flat run failed: $(tail -2 flat.err)"
grep -q "Surfaces: 1024 x 256 for the 1600 x 300 drawable, smaller down to 512 x 256 " debug.txt ||
  fail "the flat run's log gives another floor: $(grep Surfaces: debug.txt | head -1)"
rm -f debug.txt

GRAB_AFTER=14 on_slow_wide_screen --windowed --size 1920x1080 --fps --start-at 20 --end-at 34 \
  >live.out 2>live.err || fail "the live run failed: $(tail -2 live.err)"
grep -q "Surfaces: 1229 x 922 for the 1920 x 1080 drawable, smaller down to 512 x 512" debug.txt ||
  fail "the live run did not let its surfaces shrink: $(grep Surfaces: debug.txt | head -3)"
sizes=$(chosen_sizes)
[ -n "$sizes" ] || fail "the live run chose no smaller surfaces: $(cat live.out)"
echo "$sizes" | grep . | while read -r width height; do
  [ "$width" -ge 512 ] && [ "$height" -ge 512 ] && [ "$width" -le 1229 ] && [ "$height" -le 922 ] ||
    echo "outside 512 x 512 to 1229 x 922: $width x $height"
done >bounds.txt
[ -s bounds.txt ] && fail "a chosen size is $(head -1 bounds.txt)"
smallest=$(echo "$sizes" | sort -n | head -1)
[ -n "$smallest" ] && { grep -q "FBO: depth component ${smallest% *},${smallest#* }" debug.txt ||
  fail "the landscape's surface was not made again at $smallest"; }
echo "live run: $(grep -o '[0-9.]* frames per second' live.out); sizes chosen: $(echo "$sizes" | tr '\n' ',')"
# A whole frame: the picture on the screen has the landscape's sky and ground in every part, not
# black holes where a surface was missing.
if [ -f screen.png ]; then
  dark=0
  for row in 0 1 2 3; do
    for column in 0 1 2 3; do
      mean=$(convert screen.png -crop 480x270+$((column * 480))+$((row * 270)) +repage -colorspace gray \
        -format '%[fx:mean]' info:)
      awk -v m="$mean" 'BEGIN { exit !(m < 0.03) }' && dark=$((dark + 1))
    done
  done
  [ "$dark" -eq 0 ] || fail "$dark of 16 parts of the live frame are black"
else
  fail "the live run's screen could not be saved"
fi

finish "dynamic size"
