#!/usr/bin/env bash
# Every GL object lives and dies with its context: a traced run (apitrace records every GL call)
# makes no GL call after the presentation's context is destroyed.
. "$(dirname "$0")/common.sh"

cd "$work"
ln -s "$run_dir/data" data 2>/dev/null
cp "$run_dir"/*.cg . 2>/dev/null
xvfb-run -a -s "-screen 0 1024x768x24" timeout 600 apitrace trace -o run.trace "$run_dir/orvo-gl" --windowed \
  --unattended --seed 3 --fixed-step 0.1 --end-at 1 >/dev/null 2>stderr.txt
status=$?
[ "$status" = 0 ] || fail "the traced run ended with status $status: $(tail -3 stderr.txt)"
apitrace dump run.trace >dump.txt 2>/dev/null || fail "apitrace could not read the trace"
grep -q "glXDestroyContext" dump.txt || fail "the trace holds no context destruction"
grep -q "glDeleteTextures" dump.txt || fail "the trace holds no texture deletion: the objects were never released"
# The calls after the last context is destroyed (SDL makes and destroys a probing context first).
late=$(awk '/glXDestroyContext/ { late = "" ; next } /^[0-9]+ gl[A-WYZ]/ { split($2, call, "("); late = late " " call[1] }
            END { print late }' dump.txt)
[ -z "$late" ] || fail "GL calls after the context was destroyed:$late"

finish "GL context lifetime"
