#!/usr/bin/env bash
# orvo-gl-tool bake with title lines in UTF-8: lengths count characters, not bytes; every character
# becomes one letter mesh of the baked title model, lower case in capitals; text that is not
# UTF-8, too long, or has a character the font lacks is refused with the usage status and a line
# naming the problem. $1 is the runnable folder.
. "$(dirname "$0")/common.sh"
tool="$run_dir/orvo-gl-tool"
cd "$work" || exit 1

# refused EXPECTED_TEXT ARGUMENT...: status 2, the usage line, the reason, and no folder made.
refused() {
  local expected="$1"
  shift
  "$tool" bake refused "$@" >out.txt 2>err.txt
  local status=$?
  [ "$status" = 2 ] || fail "$*: status $status"
  grep -qF -e "$expected" err.txt || fail "$*: stderr lacks '$expected': $(cat err.txt)"
  grep -q '^usage: orvo-gl-tool bake ' err.txt || fail "$*: no usage line"
  [ -e refused ] && fail "$*: a folder was made"
  rm -rf refused
}
refused "--title: the text is longer than 10 characters" --title "ÄÖÜÄÖÜÄÖÜÄÖ"
refused "--title: the text is not valid UTF-8" --title "$(printf 'caf\351')"
refused "--credit2: the font " --credit2 "CODE 漢"
refused "has no '漢' (U+6F22)" --credit2 "CODE 漢"
refused "has no U+0009" --farewell "$(printf 'A\tB')"

# Six two-byte characters fit; lower case is drawn as the same capitals.
"$tool" bake data --title "ÄÖÜÄÖÜ" --credit1 "äöü" --credit2 "ÄÖÜ" --farewell "ŁÓDŹ ЖΩ" >out.txt 2>err.txt ||
  fail "bake with non-ASCII titles: status $? $(cat err.txt)"
for i in 1 2 3 4; do
  "$tool" inspect-model "data/text$i.3ds" >"text$i.json" 2>/dev/null || fail "text$i.3ds does not read back"
done
# "NAME NAME ..." of the model's objects.
objects() {
  python3 -c 'import json, sys; print(" ".join(o["name"] for o in json.load(open(sys.argv[1]))["objects"]))' "$1" 2>/dev/null
}
[ "$(objects text1.json)" = "letter1 letter2 letter3 letter4 letter5 letter6" ] ||
  fail "the title has not six letters: $(objects text1.json)"
[ "$(objects text4.json)" = "letter1 letter2 letter3 letter4 letter5 letter6" ] ||
  fail "the farewell's six letters (its space none): $(objects text4.json)"
python3 -c '
import json, sys
lower, upper = (json.load(open(name))["objects"] for name in sys.argv[1:])
assert [o["vertices"] for o in lower] == [o["vertices"] for o in upper]
' text2.json text3.json || fail "äöü is not drawn as ÄÖÜ"

finish "bake titles"
