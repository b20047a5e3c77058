#!/usr/bin/env bash
# On the shader back end a frame asks the driver nothing and builds no program: the drawing layer
# knows what is bound and every program was made while loading, so between two buffer swaps a
# traced run (apitrace records every GL call) holds no glGet… call and no compile or link, from the
# landscape's first frame, among the explosions and across the cut to the titles, with a
# screenshot read back, on a core and an ES context.
. "$(dirname "$0")/common.sh"

cd "$work"
ln -s "$run_dir/data" data 2>/dev/null
cp "$run_dir"/*.cg . 2>/dev/null

# check_frames KIND FROM: traces FROM s to FROM + 1 s with a screenshot half way and checks the calls
# made after the first swap and before the last (loading and shutdown are outside).
check_frames() {
  local kind=$1 from=$2
  local name="$kind from $from s"
  xvfb-run -a -s "-screen 0 1024x768x24" timeout 600 apitrace trace -o "$kind-$from.trace" "$run_dir/orvo-gl" \
    --windowed --unattended --gl "$kind" --seed 3 --fixed-step 0.1 --start-at "$from" --end-at "$((from + 1))" \
    --screenshot "$from.5:$kind-$from.png" >/dev/null 2>"$kind-$from.err" || fail "$name: $(tail -2 "$kind-$from.err")"
  [ -f "$kind-$from.png" ] || fail "$name: no screenshot"
  apitrace dump --call-nos=no "$kind-$from.trace" >"$kind-$from.txt" 2>/dev/null || fail "$name: apitrace could not read the trace"
  local swaps queries
  swaps=$(grep -c 'SwapBuffers(' "$kind-$from.txt")
  queries=$(awk '/SwapBuffers\(/ { swaps++; found = found pending; pending = ""; next }
                 swaps >= 1 && /^(glGet|glCompileShader|glLinkProgram|glCreateShaderProgram)/ {
                   split($0, call, "("); pending = pending " " call[1] }
                 END { print found }' "$kind-$from.txt")
  echo "$name: $swaps swaps, GL queries, compiles and links between them:${queries:- none}"
  [ "$swaps" -ge 8 ] || fail "$name: only $swaps swaps traced"
  [ -z "$queries" ] || fail "$name asked the driver or built a program between swaps:$(printf '%s\n' $queries | sort | uniq -c | tr -s ' \n' ' ')"
}

for kind in core es; do
  for from in 0 24 89; do
    check_frames "$kind" "$from"
  done
done

finish "GL queries per frame"
