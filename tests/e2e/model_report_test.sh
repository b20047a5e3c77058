#!/bin/bash
# orvo-gl-tool inspect-model on the model fixtures: the document's form, the damaged files and the
# failures. $1 is the runnable folder.
set -u
RUN_DIR="$1"
DATA="$(cd "$(dirname "$0")/../data/models" && pwd)"
TOOL="$RUN_DIR/orvo-gl-tool"
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
expect_contains "$(cat /tmp/inspect_model_err.$$)" "usage: orvo-gl-tool inspect-model FILE" "usage line"

# A model whose vertices are NaN and infinities: the document stays JSON, with null for them.
python3 - /tmp/inspect_model_nan.$$.3ds <<'PYTHON'
import struct, sys
def chunk(ident, body):
    return struct.pack("<HI", ident, 6 + len(body)) + body
# The reader turns the file's (x, y, z) into (x, z, -y).
vertices = struct.pack("<H9f", 3, float("nan"), -1.0, 0.0, 2.0, -3.0, float("inf"), 1.0, float("-inf"), 0.0)
faces = struct.pack("<H4H", 1, 0, 1, 2, 0)
mesh = chunk(0x4100, chunk(0x4110, vertices) + chunk(0x4120, faces))
mesh_version = chunk(0x3D3E, struct.pack("<I", 3))
model = chunk(0x4D4D, chunk(0x3D3D, mesh_version + chunk(0x4000, b"Bad\0" + mesh)))
open(sys.argv[1], "wb").write(model)
PYTHON
out="$("$TOOL" inspect-model /tmp/inspect_model_nan.$$.3ds 2>/dev/null)" || fail "non-finite model exit status $?"
# Python's json module (like jq) takes NaN and Infinity unless told not to: strict JSON refuses them.
printf '%s' "$out" | python3 -c '
import json, sys
def refuse(word):
    raise ValueError(word + " is not JSON")
document = json.load(sys.stdin, parse_constant=refuse)
assert document["objects"][0]["vertices"] == [[None, 0, 1], [2, None, 3], [1, 0, None]], document["objects"][0]
' 2>/dev/null || fail "non-finite model: not strict JSON with null for each non-finite number: $out"

rm -f /tmp/inspect_model_err.$$ /tmp/inspect_model_nan.$$.3ds
[ "$failures" -eq 0 ] && echo "inspect-model: all checks passed"
exit "$failures"
