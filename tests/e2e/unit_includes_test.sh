#!/usr/bin/env bash
# No two units include each other: when a unit includes another unit's header, that unit does not
# include the first one's. A unit is a header and its .cpp; a file without a partner of its own name
# whose name extends a unit's (outdoor_scene_load.cpp, glsl_runtime_objects.h) belongs to that unit.
. "$(dirname "$0")/common.sh"

root=$(cd "$(dirname "$0")/../.." && pwd)
cd "$root"
unit_of() {
  local base=${1%.*} prefix
  if [ -f "$base.h" ] && [ -f "$base.cpp" ]; then
    echo "$base"
    return
  fi
  prefix=$base
  while [ "${prefix%_*}" != "$prefix" ]; do
    prefix=${prefix%_*}
    if [ -f "$prefix.h" ]; then
      echo "$prefix"
      return
    fi
  done
  echo "$base"
}
# "including included" pairs, one per line, units named by their path without extension.
for file in $(find app sequence effects world gpu audio image platform core tools -name '*.cpp' -o -name '*.h'); do
  unit=$(unit_of "$file")
  grep -o '^#include "[a-z0-9_/]*\.h"' "$file" | sed 's/^#include "\(.*\)\.h"$/\1/' | while read -r header; do
    included=$(unit_of "$header.h")
    [ "$included" = "$unit" ] || echo "$unit $included"
  done
done | sort -u >"$work/includes.txt"
while read -r unit included; do
  grep -qx "$included $unit" "$work/includes.txt" && fail "$unit and $included include each other"
done <"$work/includes.txt"
[ -s "$work/includes.txt" ] || fail "no includes found under $root"

finish "unit includes"
