#!/usr/bin/env bash
# What a hostile user tries: data files that are folders, FIFOs, devices or huge; a log that
# cannot be written; stop signals while a box waits; unattended runs. Nothing may hang, abort or
# lose its message. $1 is the runnable folder.
. "$(dirname "$0")/common.sh"

cd "$work"
mkdir data
for file in "$run_dir"/data/*; do ln -s "$file" data/; done
cp "$run_dir"/*.cg .
tool="$run_dir/orvo-gl-tool"

# Plays half a second; status, stdout and stderr go to files.
play() {
  xvfb-run -a -s "-screen 0 1024x768x24" timeout 120 "$run_dir/orvo-gl" --windowed --fixed-step 0.1 --end-at 0.5 \
    "$@" >stdout.txt 2>stderr.txt
  echo $? > status.txt
}

# The inspectors refuse what is not a regular file, or is too large, at once.
mkfifo pipe.jpg
truncate -s 2G huge.jpg
mkdir folder.jpg folder.3ds
for input in /dev/zero pipe.jpg huge.jpg folder.jpg; do
  timeout 10 "$tool" inspect-image "$input" >out.txt 2>&1
  status=$?
  [ "$status" = 1 ] || fail "inspect-image $input: status $status"
  grep -q -E "(device|FIFO|limit|folder)" out.txt || fail "inspect-image $input: $(cat out.txt)"
done
for input in folder.3ds pipe.jpg; do
  timeout 10 "$tool" inspect-model "$input" >out.txt 2>&1
  status=$?
  [ "$status" = 1 ] || fail "inspect-model $input: status $status"
done

# A model that is a folder: the run goes on without it, and the log says why.
rm data/sky.3ds && mkdir data/sky.3ds
play --unattended
[ "$(cat status.txt)" = 0 ] || fail "a folder as a model: status $(cat status.txt)"
grep -q 'Unable to read the file: data/sky.3ds (is a folder, not a file)' debug.txt ||
  fail "a folder as a model: not logged"
rmdir data/sky.3ds && ln -s "$run_dir/data/sky.3ds" data/

# A missing texture is searched for and logged once, however often it is asked for.
rm -f debug.txt data/terraintexture.jpg
play
[ "$(grep -c 'TextureManager: image terraintexture.jpg' debug.txt)" = 1 ] ||
  fail "a missing texture was searched for $(grep -c 'TextureManager: image terraintexture.jpg' debug.txt) times"
ln -s "$run_dir/data/terraintexture.jpg" data/

# A model cut in half: the log names the byte where the damage starts.
rm data/palm02.3ds
head -c "$(( $(stat -L -c %s "$run_dir/data/palm02.3ds") / 2 ))" "$run_dir/data/palm02.3ds" > data/palm02.3ds
rm -f debug.txt
play
grep -q '3DS reader: data/palm02.3ds is damaged at byte [1-9][0-9]*;' debug.txt || fail "a cut model: no damage offset in the log"
rm data/palm02.3ds && ln -s "$run_dir/data/palm02.3ds" data/

# A log that cannot be written: one warning, and the run goes on.
rm -f debug.txt && mkdir debug.txt
play
[ "$(cat status.txt)" = 0 ] || fail "unwritable log: status $(cat status.txt)"
[ "$(grep -c 'cannot write the log' stderr.txt)" = 1 ] || fail "unwritable log: not exactly one warning"
rmdir debug.txt

# A missing model, unattended: the box is answered at once, its text reaches stderr and the log.
rm data/sky.3ds
play --unattended
[ "$(cat status.txt)" = 0 ] || fail "unattended: status $(cat status.txt)"
grep -q 'Unable to find the file: data/sky.3ds' stderr.txt || fail "unattended: box text not on stderr"
grep -q 'Unable to find the file: data/sky.3ds' debug.txt || fail "unattended: box text not in the log"
ORVO_GL_UNATTENDED=1 play
[ "$(cat status.txt)" = 0 ] || fail "ORVO_GL_UNATTENDED: status $(cat status.txt)"

# A stop signal while a real box waits for an answer ends the program at once, with 128 + the
# signal; full screen on a display without 800 x 600 asks first.
stop_during_box() {
  local signal=$1 expected=$2
  xvfb-run -a -s "-screen 0 1024x768x24" bash -c '
    "$0" >/dev/null 2>&1 &
    pid=$!
    sleep 3
    kill -'"$signal"' $pid
    for attempt in $(seq 1 50); do kill -0 $pid 2>/dev/null || break; sleep 0.1; done
    kill -9 $pid 2>/dev/null
    wait $pid
    echo $? > status.txt
  ' "$run_dir/orvo-gl"
  [ "$(cat status.txt)" = "$expected" ] || fail "$signal during a box: status $(cat status.txt)"
}
stop_during_box TERM 143
stop_during_box INT 130

# The same signal while frames are drawn.
xvfb-run -a -s "-screen 0 1024x768x24" bash -c '
  "$0" --windowed >/dev/null 2>&1 &
  pid=$!
  sleep 4
  kill -TERM $pid
  for attempt in $(seq 1 50); do kill -0 $pid 2>/dev/null || break; sleep 0.1; done
  kill -9 $pid 2>/dev/null
  wait $pid
  echo $? > status.txt
' "$run_dir/orvo-gl"
[ "$(cat status.txt)" = 143 ] || fail "TERM while playing: status $(cat status.txt)"

finish "hostile input"
