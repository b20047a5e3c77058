#!/usr/bin/env bash
# `cmake --install` lays the presentation out as a program of the platform: the two programs under
# the product's name, the shader files and the data folder in the share folder, a desktop entry
# that validates, the icon, and a manual page that renders and names every option the program
# takes; nothing else. $1 is the runnable folder; the build folder is its parent.
. "$(dirname "$0")/common.sh"

build_dir=$(dirname "$run_dir")
prefix="$work/prefix"
cmake --install "$build_dir" --prefix "$prefix" >"$work/install.txt" 2>&1 ||
  fail "cmake --install: $(tail -3 "$work/install.txt")"

# Exactly these files: the tests, the benchmarks and the build's own files stay out.
{
  echo bin/orvo-gl
  echo bin/orvo-gl-tool
  for file in "$run_dir"/*.cg; do echo "share/orvo-gl/$(basename "$file")"; done
  for file in "$run_dir"/data/*; do echo "share/orvo-gl/data/$(basename "$file")"; done
  echo share/applications/orvo-gl.desktop
  echo share/icons/hicolor/256x256/apps/orvo-gl.png
  echo share/man/man6/orvo-gl.6
} | sort >"$work/expected.txt"
(cd "$prefix" && find . -type f -printf '%P\n' | sort) >"$work/installed.txt"
diff "$work/expected.txt" "$work/installed.txt" >"$work/difference.txt" ||
  fail "the installed files differ from the expected ones: $(cat "$work/difference.txt")"
diff -r "$run_dir/data" "$prefix/share/orvo-gl/data" >/dev/null || fail "the installed data differ from the baked data"

[ -x "$prefix/bin/orvo-gl" ] && [ -x "$prefix/bin/orvo-gl-tool" ] || fail "the programs are not executable"
grep -q -E '^orvo-gl [0-9]+\.[0-9]+\.[0-9]+$' <(cd "$work" && "$prefix/bin/orvo-gl" --version) ||
  fail "orvo-gl --version: $("$prefix/bin/orvo-gl" --version 2>&1)"
"$prefix/bin/orvo-gl-tool" --help | grep -q '^  icon ' || fail "orvo-gl-tool --help does not list its commands"

entry="$prefix/share/applications/orvo-gl.desktop"
desktop-file-validate "$entry" >"$work/validate.txt" 2>&1 || fail "desktop-file-validate: $(cat "$work/validate.txt")"
grep -qx 'Exec=orvo-gl --desktop' "$entry" || fail "the desktop entry does not start orvo-gl --desktop"
grep -qx 'Icon=orvo-gl' "$entry" || fail "the desktop entry does not name the icon"

[ "$(identify -format '%m %w %h' "$prefix/share/icons/hicolor/256x256/apps/orvo-gl.png" 2>/dev/null)" = "PNG 256 256" ] ||
  fail "the icon is not a 256 x 256 PNG"

# The manual page renders without a warning, in both the terminal's form and plain text.
page="$prefix/share/man/man6/orvo-gl.6"
groff -man -Tutf8 -ww "$page" >/dev/null 2>"$work/groff.txt" || fail "groff -Tutf8 failed"
[ -s "$work/groff.txt" ] && fail "groff warns: $(head -3 "$work/groff.txt")"
groff -man -Tascii -P-cbou "$page" >"$work/page.txt" 2>/dev/null
for section in NAME SYNOPSIS DESCRIPTION OPTIONS KEYS FILES ENVIRONMENT 'EXIT STATUS'; do
  grep -q "^$section\$" "$work/page.txt" || fail "the manual page has no $section section"
done
# Every option the usage lists, and no option the program does not take.
"$prefix/bin/orvo-gl" --help | grep -o -E '^  --[a-z-]+' | tr -d ' ' | sort -u >"$work/options.txt"
[ "$(wc -l <"$work/options.txt")" -ge 10 ] || fail "the usage lists too few options"
while read -r option; do
  grep -q -- "$option" "$work/page.txt" || fail "the manual page does not describe $option"
done <"$work/options.txt"
grep -o -E -- '--[a-z][a-z-]+' "$work/page.txt" | sort -u | while read -r option; do
  grep -qx -- "$option" "$work/options.txt" || echo "$option"
done >"$work/unknown.txt"
[ -s "$work/unknown.txt" ] && fail "the manual page names options the program does not take: $(cat "$work/unknown.txt")"

finish install
