#!/usr/bin/env bash
# The whole presentation played with a fixed frame step and seed: it ends by itself after 154 s
# with status 0, and the frames of the title part show a bright title over moving red lines.
. "$(dirname "$0")/common.sh"

cd "$work"
ln -s "$run_dir/data" data 2>/dev/null
cp "$run_dir"/*.cg . 2>/dev/null
xvfb-run -a -s "-screen 0 1024x768x24" timeout 900 "$run_dir/orvo-gl" --windowed --seed 3 --fixed-step 0.1 --fps \
  --screenshot 98:at98.png --screenshot 98.5:at98h.png --screenshot 112:at112.png --screenshot 150:at150.png \
  >stdout.txt 2>stderr.txt
status=$?
[ "$status" = 0 ] || fail "status $status: $(cat stderr.txt)"
# The presentation ran its full length: the frame count is about 154 s / 0.1 s.
grep -Eq "orvo-gl: 15[45][0-9] frames, 154\.[0-9]+ s of presentation" stdout.txt ||
  fail "the run did not play to 154 s: $(cat stdout.txt)"

# "R G B": the mean colour in 0..255, of the whole frame or of a region given as WxH+X+Y.
mean_of() {
  convert "$1" ${2:+-crop "$2" +repage} -format '%[fx:int(255*mean.r)] %[fx:int(255*mean.g)] %[fx:int(255*mean.b)]' info: 2>/dev/null
}
# Pixels of the middle band whose every channel is above 80 %: white title letters, not red lines.
white_in_centre() {
  convert "$1" -crop 600x150+100+225 +repage -channel RGB -threshold 80% -separate -evaluate-sequence min \
    -format '%[fx:int(mean*w*h)]' info: 2>/dev/null
}

for shot in at98 at98h at112 at150; do
  [ -f "$shot.png" ] || { fail "no screenshot $shot.png"; continue; }
  read -r r g b <<<"$(mean_of "$shot.png")"
  [ "${r:-0}" -gt $((2 * ${g:-0} + 10)) ] && [ "${r:-0}" -gt $((2 * ${b:-0} + 10)) ] ||
    fail "$shot.png is not red-dominant: ($r, $g, $b)"
done
# At 98 s and 112 s a title is held in the middle of the picture; by 150 s the last one has left.
for shot in at98 at112; do
  [ -f "$shot.png" ] || continue
  white=$(white_in_centre "$shot.png")
  [ "${white:-0}" -gt 2000 ] || fail "$shot.png has no bright title in the middle: ${white:-none} white pixels"
done
if [ -f at150.png ]; then
  white=$(white_in_centre at150.png)
  [ "${white:-0}" -lt 2000 ] || fail "at150.png still shows a title: $white white pixels"
fi
# The lines move: half a second apart, the frames differ in many pixels.
if [ -f at98.png ] && [ -f at98h.png ]; then
  differing=$(compare -metric AE -fuzz 15% at98.png at98h.png null: 2>&1 | cut -d' ' -f1)
  [ "${differing%.*}" -gt 5000 ] 2>/dev/null || fail "the frames at 98 s and 98.5 s hardly differ: $differing pixels"
fi

grep -q "TitleScene: .* could not be loaded" debug.txt && fail "a title was not loaded: $(grep TitleScene debug.txt)"
grep -q "Shader volumeLines_vs.cg loaded successfully" debug.txt || fail "the volume-line programs were not loaded"

finish "title scene"
