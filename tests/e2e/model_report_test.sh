#!/bin/bash
# demotool inspect-model on the model fixtures: the document's form, the damaged files and the
# failures. $1 is the runnable folder.
set -u
RUN_DIR="$1"
DATA="$(cd "$(dirname "$0")/../data/models" && pwd)"
TOOL="$RUN_DIR/demotool"
failures=0

fail() {
  echo "FAIL: $*"
  failures=$((failures + 1))
}

expect_contains() {
  case "$1" in
    *"$2"*) ;;
    *) fail "$3: output lacks $2" ;;
  esac
}

out="$("$TOOL" inspect-model "$DATA/house.3ds")" || fail "house.3ds exit status $?"
expect_contains "$out" '{"ok": true, "materials": [{"name": "Stone", "textureFile": "stone.jpg", "colour": [255, 128, 64]}, {"name": "Tiles", "textureFile": "", "colour": [204, 26, 26]}], "objects": [{"name": "Quad", "vertexCount": 4, "faceCount": 2, "texCoordCount": 4, "materialIndex": 0, "vertices": [[-1, 0, 1], [1, 0, 1], [1, 0, -1], [-1, 0, -1]], "faces": [[0, 1, 2], [0, 2, 3]], "texCoords": [[0, 0], [1, 0], [1, 1], [0, 1]], "normals": [[-0, 1, -0],' house.3ds
expect_contains "$out" '{"name": "Roof", "vertexCount": 3, "faceCount": 1, "texCoordCount": 0, "materialIndex": 1,' house.3ds
expect_contains "$out" '"texCoords": [], "normals": [[-0, -0, 1], [-0, -0, 1], [-0, -0, 1]]}]}' house.3ds

for damaged in house_truncated.3ds house_lying.3ds; do
  out="$("$TOOL" inspect-model "$DATA/$damaged" 2>/tmp/inspect_model_err.$$)" || fail "$damaged exit status $?"
  expect_contains "$out" '{"ok": true, "materials": [{"name": "Stone"' "$damaged"
  expect_contains "$(cat /tmp/inspect_model_err.$$)" "is damaged at byte" "$damaged stderr"
done
out="$("$TOOL" inspect-model "$DATA/house_lying.3ds" 2>/dev/null)"
expect_contains "$out" '{"name": "Quad", "vertexCount": 0,' house_lying.3ds
expect_contains "$out" '{"name": "Roof", "vertexCount": 3,' house_lying.3ds

out="$("$TOOL" inspect-model "$DATA/no_such_model.3ds" 2>/tmp/inspect_model_err.$$)"
status=$?
[ "$status" -eq 1 ] || fail "missing file exit status $status"
[ "$out" = '{"ok": false}' ] || fail "missing file printed $out"
expect_contains "$(cat /tmp/inspect_model_err.$$)" "Unable to find the file: $DATA/no_such_model.3ds!" "missing file stderr"

out="$("$TOOL" inspect-model "$0" 2>/tmp/inspect_model_err.$$)"
[ $? -eq 1 ] || fail "script file accepted as a model"
expect_contains "$(cat /tmp/inspect_model_err.$$)" "Unable to load PRIMARY chuck from file: $0!" "foreign file stderr"

"$TOOL" inspect-model >/dev/null 2>/tmp/inspect_model_err.$$
[ $? -eq 2 ] || fail "no arguments not refused"
expect_contains "$(cat /tmp/inspect_model_err.$$)" "usage: demotool inspect-model FILE" "usage line"

rm -f /tmp/inspect_model_err.$$
[ "$failures" -eq 0 ] && echo "inspect-model: all checks passed"
exit "$failures"
