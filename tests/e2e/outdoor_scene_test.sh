#!/usr/bin/env bash
# The outdoor scene played with a fixed frame step and seed: its frames show a picture through the
# first 90 seconds, in plain colour at first, green during the jump cuts and turning red at the end.
. "$(dirname "$0")/common.sh"

cd "$work"
ln -s "$run_dir/data" data 2>/dev/null
cp "$run_dir"/*.cg . 2>/dev/null
xvfb-run -a -s "-screen 0 1024x768x24" timeout 600 "$run_dir/orvo-gl" --windowed --seed 3 --fixed-step 0.1 \
  --end-at 88 --screenshot 5:at05.png --screenshot 30:at30.png --screenshot 60:at60.png \
  --screenshot 87:at87.png >stdout.txt 2>stderr.txt
status=$?
[ "$status" = 0 ] || fail "status $status: $(cat stderr.txt)"

# "R G B SPREAD": the mean colour in 0..255 and the spread of the grey levels, 0..1000.
colour_of() {
  convert "$1" -format '%[fx:int(255*mean.r)] %[fx:int(255*mean.g)] %[fx:int(255*mean.b)] %[fx:int(1000*standard_deviation)]' info: 2>/dev/null
}

for shot in at05 at30 at60 at87; do
  [ -f "$shot.png" ] || { fail "no screenshot $shot.png"; continue; }
  read -r r g b spread <<<"$(colour_of "$shot.png")"
  [ $((r + g + b)) -gt 20 ] || fail "$shot.png is dark: mean ($r, $g, $b)"
  [ "$spread" -gt 20 ] || fail "$shot.png is one flat colour: mean ($r, $g, $b), spread $spread"
  eval "${shot}_r=$r ${shot}_g=$g ${shot}_b=$b"
done

# Before 49 s the picture keeps its own colours: red and blue are there as well as green.
[ "${at05_r:-0}" -gt 5 ] && [ "${at05_b:-0}" -gt 5 ] || fail "at05.png lacks red or blue: (${at05_r:-}, ${at05_g:-}, ${at05_b:-})"
[ "${at30_r:-0}" -gt 5 ] && [ "${at30_b:-0}" -gt 5 ] || fail "at30.png lacks red or blue: (${at30_r:-}, ${at30_g:-}, ${at30_b:-})"
# From 49 s only green passes the tint.
[ "${at60_g:-0}" -gt $((3 * ${at60_r:-0} + 5)) ] && [ "${at60_g:-0}" -gt $((3 * ${at60_b:-0} + 5)) ] ||
  fail "at60.png is not green: (${at60_r:-}, ${at60_g:-}, ${at60_b:-})"
# At 87 s the tint is (0.6, 0.3, 0): red leads, no blue.
[ "${at87_r:-0}" -gt "${at87_g:-0}" ] && [ "${at87_b:-9}" -le 2 ] ||
  fail "at87.png is not red: (${at87_r:-}, ${at87_g:-}, ${at87_b:-})"

for model in sky.3ds missile.3ds palm02.3ds windmill_body.3ds windmill_wings.3ds rocketlauncher.3ds; do
  grep -q "OutdoorScene: $model could not be loaded" debug.txt && fail "$model was not loaded"
done

finish "outdoor scene"
