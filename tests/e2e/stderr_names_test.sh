#!/usr/bin/env bash
# Every line the two programs write on stderr begins with the program's name ("orvo-gl: ",
# "orvo-gl-tool: "), whatever went wrong: option errors, no data folder, more samples than the
# driver draws, a driver without GLSL, no display, a video without ffmpeg, a bad key script, bad
# tool arguments, an unreadable model.
# The only other lines are a usage text after such a line. The key script is read from
# ORVO_GL_KEYS, else from its older name DEMO_KEYS, and the message names the one read.
# $1 is the runnable folder.
. "$(dirname "$0")/common.sh"

cd "$work"
cp "$run_dir"/*.cg .
ln -s "$run_dir/data" data

# Checks the stderr of one run: lines before a usage text start with "NAME: ", and at least one
# line does.
check_names() {
  local what=$1 name=$2 file=$3
  [ -s "$file" ] || { fail "$what: nothing on stderr"; return; }
  awk -v prefix="$name: " -v usage="usage: $name" '
    index($0, usage) == 1 { exit 0 }
    index($0, prefix) != 1 { print; exit 1 }' "$file" >stray.txt ||
    fail "$what: a stderr line without '$name: ': $(cat stray.txt)"
}

# The presentation for half a second at a fixed step, in a window, nobody answering boxes. The
# leading NAME=VALUE arguments go to its environment, the rest are its options.
play() {
  local settings=()
  while [ $# -gt 0 ] && [[ $1 == *=* ]]; do
    settings+=("$1")
    shift
  done
  env "${settings[@]}" SDL_AUDIODRIVER=dummy xvfb-run -a -s "-screen 0 1024x768x24" timeout 300 \
    "$run_dir/orvo-gl" --windowed --unattended --seed 3 --fixed-step 0.1 --end-at 0.5 "$@" >stdout.txt 2>stderr.txt
}

# Option errors: the problem first, then the usage.
for arguments in "--bogus" "--seed x" "--fixed-step 9" "--start-at 10 --end-at 5" "--msaa 3" "--screenshot 5"; do
  # shellcheck disable=SC2086
  "$run_dir/orvo-gl" $arguments >/dev/null 2>stderr.txt && fail "$arguments was accepted"
  check_names "orvo-gl $arguments" orvo-gl stderr.txt
  grep -q '^usage: orvo-gl ' stderr.txt || fail "orvo-gl $arguments: no usage"
done

# No folder holds data/ and the shader files: a copy of the program alone, run from an empty folder
# under a prefix that holds nothing.
mkdir -p lonely/bin empty
cp "$run_dir/orvo-gl" lonely/bin/
(cd empty && timeout 60 ../lonely/bin/orvo-gl --windowed >/dev/null 2>../stderr.txt)
[ $? = 1 ] || fail "no data folder: status not 1"
check_names "no data folder" orvo-gl stderr.txt
grep -q '^orvo-gl: no folder holds data/' stderr.txt || fail "no data folder: $(cat stderr.txt)"

# More samples than llvmpipe draws (4), and a GL 2.1 driver without multisampled framebuffers.
play_status=0
play MESA_GL_VERSION_OVERRIDE=2.1 MESA_GLSL_VERSION_OVERRIDE=120 \
  MESA_EXTENSION_OVERRIDE="-GL_ARB_framebuffer_object -GL_EXT_framebuffer_multisample" \
  --msaa 4 || play_status=$?
[ "$play_status" = 0 ] || fail "--msaa without multisampling: status $play_status: $(tail -3 stderr.txt)"
check_names "--msaa without multisampling" orvo-gl stderr.txt
grep -q '^orvo-gl: --msaa 4: the driver offers no multisampled drawing' stderr.txt ||
  fail "--msaa without multisampling: no line: $(cat stderr.txt)"
play --msaa 8
check_names "--msaa 8" orvo-gl stderr.txt
grep -q '^orvo-gl: --msaa 8: the driver draws at most' stderr.txt || fail "--msaa 8: no line: $(cat stderr.txt)"

# No GL context (no driver Mesa can load): the box, answered at once, and the reason.
play_status=0
play LIBGL_DRIVERS_PATH=/nonexistent || play_status=$?
[ "$play_status" = 1 ] || fail "no GL context: status $play_status"
check_names "no GL context" orvo-gl stderr.txt
grep -q '^orvo-gl: could not create the window: ' stderr.txt || fail "no GL context: $(cat stderr.txt)"

# A GL 1.5 driver: the effects that need GLSL are off, each with its line, and the lines' own
# message box goes to stderr as well.
play_status=0
play MESA_GL_VERSION_OVERRIDE=1.5 || play_status=$?
[ "$play_status" = 0 ] || fail "GL 1.5: status $play_status: $(tail -3 stderr.txt)"
check_names "GL 1.5" orvo-gl stderr.txt
grep -q '^orvo-gl: per-pixel lighting off: ' stderr.txt || fail "GL 1.5: no line about the lighting: $(cat stderr.txt)"
grep -q '^orvo-gl: volume lines off: ' stderr.txt || fail "GL 1.5: no line about the volume lines: $(cat stderr.txt)"

# No display for a plain run: no window, and the reason. (A runtime folder of its own keeps
# Wayland's client library from adding a line of its own about a missing one.)
mkdir -m 700 runtime
env -u DISPLAY -u WAYLAND_DISPLAY XDG_RUNTIME_DIR="$work/runtime" timeout 60 "$run_dir/orvo-gl" --windowed --unattended \
  >/dev/null 2>stderr.txt
[ $? = 1 ] || fail "no display: status not 1"
check_names "no display" orvo-gl stderr.txt
grep -q '^orvo-gl: could not create the window: ' stderr.txt || fail "no display: $(cat stderr.txt)"

# A video that cannot be made: no ffmpeg on PATH.
timeout 60 env PATH=/nonexistent "$run_dir/orvo-gl" --video none.mp4 >/dev/null 2>stderr.txt
[ $? = 3 ] || fail "a video without ffmpeg: status not 3"
check_names "a video without ffmpeg" orvo-gl stderr.txt

# A full disk (a file size limit, with the signal for it ignored as a shell's trap does): libpng's
# complaint comes as a line of ours, and the screenshot and icon already there stay as they were,
# with no part file beside them.
echo "an older picture" >shot.png
echo "an older icon" >icon.png
(trap '' XFSZ; ulimit -f 8; play --screenshot 0.3:shot.png)
check_names "a screenshot onto a full disk" orvo-gl stderr.txt
[ "$(cat shot.png)" = "an older picture" ] || fail "a screenshot onto a full disk changed the file already there"
(trap '' XFSZ; ulimit -f 8; "$run_dir/orvo-gl-tool" icon icon.png --size 512 >/dev/null 2>stderr.txt) && fail "an icon onto a full disk succeeded"
check_names "an icon onto a full disk" orvo-gl-tool stderr.txt
[ "$(cat icon.png)" = "an older icon" ] || fail "an icon onto a full disk changed the file already there"
ls ./*.part >/dev/null 2>&1 && fail "a write onto a full disk left $(ls ./*.part)"

# Key scripts: the current name, the older one, and both (the current one is read).
play ORVO_GL_KEYS=2:Nowhere
check_names "bad ORVO_GL_KEYS" orvo-gl stderr.txt
grep -q "^orvo-gl: ORVO_GL_KEYS: '2:Nowhere' is not FRAME:KEY" stderr.txt || fail "bad ORVO_GL_KEYS: $(cat stderr.txt)"
play DEMO_KEYS=3:Nowhere
grep -q "^orvo-gl: DEMO_KEYS: '3:Nowhere' is not FRAME:KEY" stderr.txt || fail "bad DEMO_KEYS: $(cat stderr.txt)"
play ORVO_GL_KEYS=4:Nowhere DEMO_KEYS=1:Escape
grep -q "^orvo-gl: ORVO_GL_KEYS: '4:Nowhere'" stderr.txt || fail "both set: ORVO_GL_KEYS was not the one read"
# The older name alone still plays its keys: Escape at frame 1 ends the run at once.
play DEMO_KEYS=1:Escape --fps
grep -q '^orvo-gl: [12] frames,' stdout.txt || fail "DEMO_KEYS did not play Escape: $(cat stdout.txt)"

# The tools program.
"$run_dir/orvo-gl-tool" >/dev/null 2>stderr.txt && fail "orvo-gl-tool without a command succeeded"
grep -q '^usage: orvo-gl-tool ' stderr.txt || fail "orvo-gl-tool without a command: no usage"
"$run_dir/orvo-gl-tool" bogus >/dev/null 2>stderr.txt && fail "orvo-gl-tool bogus succeeded"
check_names "orvo-gl-tool bogus" orvo-gl-tool stderr.txt
"$run_dir/orvo-gl-tool" bake out --title ABCDEFGHIJKLMNOP >/dev/null 2>stderr.txt && fail "a long title was accepted"
check_names "orvo-gl-tool bake with a long title" orvo-gl-tool stderr.txt
"$run_dir/orvo-gl-tool" icon no-such-folder/icon.png >/dev/null 2>stderr.txt && fail "an icon into no folder succeeded"
check_names "orvo-gl-tool icon into no folder" orvo-gl-tool stderr.txt
"$run_dir/orvo-gl-tool" inspect-model no-such-model.3ds >/dev/null 2>stderr.txt && fail "a missing model was read"
check_names "orvo-gl-tool inspect-model on a missing file" orvo-gl-tool stderr.txt
[ "$("$run_dir/orvo-gl-tool" --version)" = "$("$run_dir/orvo-gl" --version | sed 's/^orvo-gl /orvo-gl-tool /')" ] ||
  fail "orvo-gl-tool --version: $("$run_dir/orvo-gl-tool" --version)"

finish "stderr names"
