#!/usr/bin/env bash
# `cmake --install` lays the presentation out as a program of the platform: the two programs under
# the product's name, the shader files and the data folder in the share folder, a desktop entry
# that validates and the AppStream metadata under the presentation's id, the icons, gzipped manual pages that render and name every option and command the
# programs take, a machine-readable copyright file and a gzipped changelog; nothing else. $1 is
# the runnable folder; the build folder is its parent.
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
  echo share/applications/io.github.orvo_gl.OrvoGL.desktop
  echo share/metainfo/io.github.orvo_gl.OrvoGL.metainfo.xml
  for size in 16 32 48 64 128 256 512; do echo "share/icons/hicolor/${size}x$size/apps/io.github.orvo_gl.OrvoGL.png"; done
  echo share/man/man6/orvo-gl.6.gz
  echo share/man/man1/orvo-gl-tool.1.gz
  echo share/doc/orvo-gl/copyright
  echo share/doc/orvo-gl/changelog.gz
} | sort >"$work/expected.txt"
(cd "$prefix" && find . -type f -printf '%P\n' | sort) >"$work/installed.txt"
diff "$work/expected.txt" "$work/installed.txt" >"$work/difference.txt" ||
  fail "the installed files differ from the expected ones: $(cat "$work/difference.txt")"
diff -r "$run_dir/data" "$prefix/share/orvo-gl/data" >/dev/null || fail "the installed data differ from the baked data"

[ -x "$prefix/bin/orvo-gl" ] && [ -x "$prefix/bin/orvo-gl-tool" ] || fail "the programs are not executable"
grep -q -E '^orvo-gl [0-9]+\.[0-9]+\.[0-9]+$' <(cd "$work" && "$prefix/bin/orvo-gl" --version) ||
  fail "orvo-gl --version: $("$prefix/bin/orvo-gl" --version 2>&1)"
"$prefix/bin/orvo-gl-tool" --help | grep -q '^  icon ' || fail "orvo-gl-tool --help does not list its commands"

# The desktop entry is named after the id the AppStream metadata launches, and names the icons'
# file name. (The package test validates the metadata and measures the icons.)
entry="$prefix/share/applications/io.github.orvo_gl.OrvoGL.desktop"
desktop-file-validate "$entry" >"$work/validate.txt" 2>&1 || fail "desktop-file-validate: $(cat "$work/validate.txt")"
grep -qx 'Exec=orvo-gl --desktop' "$entry" || fail "the desktop entry does not start orvo-gl --desktop"
grep -qx 'Icon=io.github.orvo_gl.OrvoGL' "$entry" || fail "the desktop entry does not name the icons"
grep -q '<launchable type="desktop-id">io.github.orvo_gl.OrvoGL.desktop</launchable>' \
  "$prefix/share/metainfo/io.github.orvo_gl.OrvoGL.metainfo.xml" || fail "the metadata does not launch the desktop entry"

# Gzipped files carry no name or time in their header (bytes 4 to 7 hold the time), so every build
# gives the same bytes.
for gzipped in share/man/man6/orvo-gl.6.gz share/man/man1/orvo-gl-tool.1.gz share/doc/orvo-gl/changelog.gz; do
  gzip -t "$prefix/$gzipped" 2>/dev/null || fail "$gzipped is not gzip"
  [ "$(od -An -tx1 -j3 -N5 "$prefix/$gzipped" | tr -d ' ')" = 0000000000 ] || fail "$gzipped keeps a name or a time"
done

# A manual page renders without a warning; its plain text goes to $2, and it has the sections named
# after that.
render_page() {
  local page=$1 text=$2
  shift 2
  zcat "$page" >"$work/page.man"
  groff -man -Tutf8 -ww "$work/page.man" >/dev/null 2>"$work/groff.txt" || fail "groff -Tutf8 failed on $page"
  [ -s "$work/groff.txt" ] && fail "groff warns on $page: $(head -3 "$work/groff.txt")"
  groff -man -Tascii -P-cbou "$work/page.man" >"$text" 2>/dev/null
  for section in "$@"; do
    grep -q "^$section\$" "$text" || fail "$page has no $section section"
  done
}
render_page "$prefix/share/man/man6/orvo-gl.6.gz" "$work/page.txt" NAME SYNOPSIS DESCRIPTION OPTIONS KEYS FILES \
  ENVIRONMENT 'EXIT STATUS'
render_page "$prefix/share/man/man1/orvo-gl-tool.1.gz" "$work/tool-page.txt" NAME SYNOPSIS DESCRIPTION COMMANDS \
  'EXIT STATUS'
# Every command the tools program lists has its entry in the page.
"$prefix/bin/orvo-gl-tool" --help | awk '/^  [a-z]/ { print $1 }' >"$work/commands.txt"
[ "$(wc -l <"$work/commands.txt")" -ge 5 ] || fail "orvo-gl-tool --help lists too few commands"
while read -r command; do
  grep -q -E "^ {7}$command( |,|\$)" "$work/tool-page.txt" || fail "the tool's manual page does not describe $command"
done <"$work/commands.txt"

# The copyright file is machine-readable and names the licence of the code and of the font whose
# outlines the title models carry; the changelog's newest entry is this version.
copyright="$prefix/share/doc/orvo-gl/copyright"
head -1 "$copyright" | grep -qx 'Format: https://www.debian.org/doc/packaging-manuals/copyright-format/1.0/' ||
  fail "the copyright file is not machine-readable"
grep -qx 'License: Expat' "$copyright" || fail "the copyright file does not name the project's licence"
grep -qx 'License: bitstream-vera' "$copyright" || fail "the copyright file does not name the title font's licence"
zcat "$prefix/share/doc/orvo-gl/changelog.gz" | head -1 |
  grep -q -E "^orvo-gl \($("$prefix/bin/orvo-gl" --version | cut -d' ' -f2)\) " ||
  fail "the changelog's first entry is not this version"
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
