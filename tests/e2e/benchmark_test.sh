#!/usr/bin/env bash
# The benchmark mode plays silent at 1/60 s steps and prints its figures as one JSON line.
. "$(dirname "$0")/common.sh"

cd "$work"
ln -s "$run_dir/data" data 2>/dev/null
cp "$run_dir"/*.cg . 2>/dev/null
xvfb-run -a -s "-screen 0 1024x768x24" timeout 300 "$run_dir/orvo-gl" --benchmark --end-at 1 >stdout.txt 2>stderr.txt ||
  fail "the benchmark run failed: $(cat stderr.txt)"
line=$(tail -1 stdout.txt)
for field in loadSeconds seekSeconds frames outdoor title p50ms p99ms maxms cpuMsPerFrame allocationsPerFrame drawCallsPerFrame \
  trianglesPerFrame stateChangesPerFrame bytesUploadedPerFrame queriesPerFrame programLinksPerFrame; do
  echo "$line" | grep -q "\"$field\": " || fail "no $field in: $line"
done
# One second at 60 steps a second, from frame 0: 61 frames, all of the outdoor scene.
echo "$line" | grep -q '"frames": 61, "outdoor": {"frames": 61' || fail "not 61 outdoor frames: $line"
if command -v python3 >/dev/null; then
  echo "$line" | python3 -c 'import json, sys; json.loads(sys.stdin.read())' || fail "not JSON: $line"
fi
grep -q "SoundPlayer" debug.txt && fail "the benchmark opened the sound output"

# With the frames on standard output, the figures go to stderr: the stream holds whole frames only.
xvfb-run -a -s "-screen 0 1024x768x24" timeout 300 "$run_dir/orvo-gl" --benchmark --end-at 0.1 --capture - \
  >frames.rgb 2>captured-stderr.txt || fail "the captured benchmark failed: $(cat captured-stderr.txt)"
size=$(stat -c %s frames.rgb)
[ $((size % (800 * 600 * 3))) -eq 0 ] && [ "$size" -gt 0 ] || fail "standard output holds $size bytes, not whole frames"
grep -q '"frames": 7,' captured-stderr.txt || fail "the figures are not on stderr: $(tail -2 captured-stderr.txt)"

# A run that starts later reports its jump apart from loading: a jump of 3,600 frames is counted
# there, not in loadSeconds, and a run from 0 jumps nowhere.
echo "$line" | grep -q '"seekSeconds": 0.000,' || fail "a run from 0 reports a jump: $line"
xvfb-run -a -s "-screen 0 1024x768x24" timeout 300 "$run_dir/orvo-gl" --benchmark --start-at 60 --end-at 60.5 \
  >later.txt 2>stderr.txt || fail "the later benchmark failed: $(cat stderr.txt)"
python3 - "$(tail -1 later.txt)" "$line" <<'PY' || fail "the jump is not reported apart: $(tail -1 later.txt)"
import json, sys
later, first = json.loads(sys.argv[1]), json.loads(sys.argv[2])
assert later["seekSeconds"] > 0.0
assert later["loadSeconds"] < first["loadSeconds"] * 2 + 1.0
PY

finish "benchmark"
