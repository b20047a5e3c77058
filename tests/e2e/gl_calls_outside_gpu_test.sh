#!/usr/bin/env bash
# Scenes, effects, the world and the program draw only through the drawing layer: no GL or GLU
# call, and no name that reads like one, outside gpu/ and platform/. Each finding is named by file
# and line, so the one who added it sees where.
. "$(dirname "$0")/common.sh"

root=$(cd "$(dirname "$0")/../.." && pwd)
cd "$root"
for folder in sequence effects world app; do
  [ -d "$folder" ] || fail "$folder/ is missing under $root"
done
grep -rnE '\bglu?[A-Z]' sequence effects world app >"$work/calls.txt"
while IFS= read -r finding; do
  fail "GL outside gpu/ and platform/: $finding"
done <"$work/calls.txt"

finish "GL calls outside gpu"
