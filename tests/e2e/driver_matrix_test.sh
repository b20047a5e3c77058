#!/usr/bin/env bash
# The same picture on every GL driver from 2.1 up. A whole run on the plain software renderer, with
# the GL's debug messages on, reports no GL error and gives the reference frames at 25 s and 98 s;
# each limited or other driver of Mesa then draws those two frames (started just before them: with
# a fixed step and seed every frame is the frame a run from 0 shows), loads every shader, leaves no
# effect off, and matches the reference closely.
. "$(dirname "$0")/common.sh"

cd "$work"
ln -s "$run_dir/data" data 2>/dev/null
cp "$run_dir"/*.cg . 2>/dev/null
play() {
  xvfb-run -a -s "-screen 0 1024x768x24" timeout 900 "$run_dir/orvo-gl" --windowed --unattended --seed 3 \
    --fixed-step 0.1 "$@"
}

# Frames of both scenes, the title part's feedback among them; the shader back end is checked at all.
shader_frames="3 25 56 86 98 112 140"
shots=()
for frame in $shader_frames; do
  shots+=(--screenshot "$frame:plain-$frame.png")
done
play --gl-debug "${shots[@]}" >stdout.txt 2>stderr.txt
status=$?
[ "$status" = 0 ] || fail "the plain run with --gl-debug ended with status $status: $(tail -3 stderr.txt)"
grep -q "^orvo-gl: gl-debug: 0 errors, [0-9]* other messages$" stderr.txt ||
  fail "the plain run reported GL errors: $(grep gl-debug stderr.txt)"
grep -q "^GL: version .*; volume lines on, per-pixel lighting on, render targets on" debug.txt ||
  fail "the log does not name the driver with every effect on: $(grep '^GL:' debug.txt)"

# check_driver NAME [VARIABLE=VALUE ...]: the variables go to the program's environment, and
# $program_options (set for the call) to its command line; $frames (set for the call) are the
# frames compared, 25 and 98 s unless set.
check_driver() {
  local name=$1
  shift
  local options=(${program_options:-})
  rm -f debug.txt
  for frame in ${frames:-25 98}; do
    env "$@" xvfb-run -a -s "-screen 0 1024x768x24" timeout 900 "$run_dir/orvo-gl" --windowed --unattended \
      --seed 3 --fixed-step 0.1 --start-at $((frame - 1)) --end-at $frame.1 --screenshot "$frame:$name-$frame.png" "${options[@]}" \
      >/dev/null 2>"$name-$frame.err"
    grep -q " off: " "$name-$frame.err" && fail "$name: an effect is off: $(grep ' off: ' "$name-$frame.err")"
    [ -f "$name-$frame.png" ] || { fail "$name: no frame at $frame s"; continue; }
    local psnr differing
    psnr=$(compare -metric PSNR "plain-$frame.png" "$name-$frame.png" null: 2>&1)
    differing=$(compare -fuzz 5% -metric AE "plain-$frame.png" "$name-$frame.png" null: 2>&1)
    echo "$name at $frame s: PSNR $psnr dB, $differing pixels differ by more than 5 %"
    [ "$psnr" = inf ] || awk -v p="$psnr" 'BEGIN { exit !(p >= 38) }' || fail "$name at $frame s: PSNR $psnr below 38"
    [ "${differing%.*}" -lt 2000 ] 2>/dev/null || fail "$name at $frame s: $differing pixels differ"
  done
  grep -q "Failed to load" debug.txt && fail "$name: $(grep 'Failed to load' debug.txt | head -1)"
}

check_driver gl21 MESA_GL_VERSION_OVERRIDE=2.1 MESA_GLSL_VERSION_OVERRIDE=120
check_driver gl21-without-separable-programs MESA_GL_VERSION_OVERRIDE=2.1 MESA_GLSL_VERSION_OVERRIDE=120 \
  MESA_EXTENSION_OVERRIDE=-GL_ARB_separate_shader_objects
check_driver gl33 MESA_GL_VERSION_OVERRIDE=3.3COMPAT MESA_GLSL_VERSION_OVERRIDE=330
check_driver softpipe GALLIUM_DRIVER=softpipe

# The shader back end on a 3.3 core context and on OpenGL ES held to 3.0 (what WebGL 2 is): the same
# frames as the plain run, with no GL error, and the log names the back end and the context it got.
# check_shader_context KIND VERSION [VARIABLE=VALUE ...]
check_shader_context() {
  local kind=$1 version=$2
  shift 2
  frames=$shader_frames program_options="--gl $kind --gl-debug" check_driver "gl-$kind" "$@"
  grep -q "^Drawing: the shader back end, $kind context (.*$version" debug.txt ||
    fail "gl-$kind: the log does not name the shader back end on $version: $(grep '^Drawing' debug.txt)"
  for frame in $shader_frames; do
    grep -q "^orvo-gl: gl-debug: 0 errors" "gl-$kind-$frame.err" ||
      fail "gl-$kind at $frame s: $(grep gl-debug "gl-$kind-$frame.err")"
  done
}
check_shader_context core "Core Profile"
check_shader_context es "OpenGL ES 3.0" MESA_GLES_VERSION_OVERRIDE=3.0

# Drivers that lack parts the presentation uses: a debug run where the driver names GL 4.3 but
# hides the debug extension's entry points, GL 2.1 without textures of any size (every surface,
# the bubbles' one included, gets sides that are powers of two) and GL 1.4 and 2.0, which refuse
# a context of version 2.1 and get the one they offer. Each plays to its end with no GL error and
# says on stderr what is off.
check_limited_driver() {
  local name=$1 frame=$2
  shift 2
  rm -f debug.txt
  env "$@" xvfb-run -a -s "-screen 0 1024x768x24" timeout 900 "$run_dir/orvo-gl" --windowed --unattended --gl-debug \
    --seed 3 --fixed-step 0.1 --start-at $((frame - 1)) --end-at $frame.1 --screenshot "$frame:$name.png" \
    >/dev/null 2>"$name.err"
  local status=$?
  [ "$status" = 0 ] || fail "$name: status $status: $(tail -3 "$name.err")"
  grep -q "^orvo-gl: gl-debug: 0 errors" "$name.err" || fail "$name: $(grep gl-debug "$name.err")"
  [ -f "$name.png" ] || fail "$name: no frame at $frame s"
}
check_limited_driver debug-without-entry-points 25 MESA_EXTENSION_OVERRIDE=-GL_KHR_debug
grep -q "GL debug: the driver gives no messages" debug.txt ||
  fail "debug-without-entry-points: $(grep 'GL debug' debug.txt)"
check_limited_driver gl21-without-npot 98 MESA_GL_VERSION_OVERRIDE=2.1 MESA_GLSL_VERSION_OVERRIDE=120 \
  MESA_EXTENSION_OVERRIDE=-GL_ARB_texture_non_power_of_two
grep -q "render targets on" debug.txt || fail "gl21-without-npot: $(grep '^GL:' debug.txt)"
grep -q " off: " gl21-without-npot.err && fail "gl21-without-npot: $(grep ' off: ' gl21-without-npot.err)"
# Without framebuffer objects every output reads the frame from the drawable's own buffer: a
# screenshot, a capture and a video all work, and a video's frame is the screenshot drawn
# off-screen at the same time.
no_fbo=(MESA_EXTENSION_OVERRIDE="-GL_ARB_framebuffer_object -GL_EXT_framebuffer_object")
check_limited_driver without-framebuffer-objects 25 "${no_fbo[@]}"
grep -q "^orvo-gl: render targets off: the driver has no framebuffer objects" without-framebuffer-objects.err ||
  fail "without-framebuffer-objects: the render targets were not off: $(cat without-framebuffer-objects.err)"
env "${no_fbo[@]}" xvfb-run -a -s "-screen 0 1024x768x24" timeout 900 "$run_dir/orvo-gl" --windowed --unattended --seed 3 \
  --fixed-step 0.1 --start-at 24.5 --end-at 25.05 --capture no-fbo.rgb >/dev/null 2>no-fbo-capture.err
status=$?
[ "$status" = 0 ] && [ -s no-fbo.rgb ] || fail "without-framebuffer-objects: a capture: status $status: $(tail -2 no-fbo-capture.err)"
env "${no_fbo[@]}" timeout 900 "$run_dir/orvo-gl" --seed 3 --video no-fbo.mkv --rate 10 --size 800x600 --start-at 25 \
  --end-at 25.1 >/dev/null 2>no-fbo-video.err
status=$?
[ "$status" = 0 ] || fail "without-framebuffer-objects: a video: status $status: $(tail -2 no-fbo-video.err)"
env -u DISPLAY "${no_fbo[@]}" timeout 900 "$run_dir/orvo-gl" --seed 3 --fixed-step 0.1 --size 800x600 --start-at 25 \
  --end-at 25.05 --screenshot 25:no-fbo-off-screen.png >/dev/null 2>&1
ffmpeg -v error -i no-fbo.mkv -frames:v 1 -pix_fmt rgb24 -y no-fbo-video.png
differing=$(compare -metric AE no-fbo-off-screen.png no-fbo-video.png null: 2>&1)
[ "$differing" = 0 ] || fail "without-framebuffer-objects: the video's frame at 25 s differs from the screenshot by $differing pixels"

# A driver that answers the context with an X error (zink without a Vulkan device): the error is a
# line of ours and a refusal like any other; every kind is tried and the run ends with its own line.
MESA_LOADER_DRIVER_OVERRIDE=zink xvfb-run -a -s "-screen 0 1024x768x24" timeout 120 "$run_dir/orvo-gl" --windowed \
  --unattended --end-at 1 >/dev/null 2>zink.err
status=$?
[ "$status" = 1 ] || fail "zink without Vulkan: status $status: $(tail -2 zink.err)"
grep -q "^orvo-gl: X error: " zink.err || fail "zink without Vulkan: the X error is not a line of ours: $(cat zink.err)"
grep -q "^orvo-gl: could not create the window: .*core: .*es: " zink.err ||
  fail "zink without Vulkan: not every context kind was tried: $(tail -1 zink.err)"

for version in 1.4 2.0; do
  check_limited_driver "gl${version/./}" 25 MESA_GL_VERSION_OVERRIDE=$version
  grep -q "refused a GL 2.1 compatibility context" debug.txt || fail "gl$version: the log does not say which context it took"
done
grep -q "^orvo-gl: per-pixel lighting off: " gl14.err || fail "gl14: the missing lighting program went unsaid: $(cat gl14.err)"

finish "driver matrix"
