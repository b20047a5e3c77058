#!/usr/bin/env bash
# The programs find their files from any working folder: the build's program reads the runnable
# folder, the installed one its share folder, and both draw the same frame; without any folder
# holding the files the run ends at once with one line naming where it looked; a working folder
# that cannot be written (or was deleted) sends the log to the state folder, or to the one in the
# home folder when that fails. $1 is the runnable folder; the build
# folder is its parent.
. "$(dirname "$0")/common.sh"

build_dir=$(dirname "$run_dir")
prefix="$work/prefix"
cmake --install "$build_dir" --prefix "$prefix" >"$work/install.txt" 2>&1 ||
  fail "cmake --install: $(tail -3 "$work/install.txt")"
shared=$(realpath "$prefix/share/orvo-gl")

# Plays to 26 s at a fixed step from an empty folder of its own and saves the 25 s frame there.
play_from_empty_folder() {
  local folder="$work/$1"
  shift
  mkdir -p "$folder"
  (cd "$folder" && SDL_AUDIODRIVER=dummy xvfb-run -a -s "-screen 0 1024x768x24" timeout 600 "$@" --windowed \
    --seed 3 --fixed-step 0.1 --screenshot 25:frame.png --end-at 26 --unattended >stdout.txt 2>stderr.txt
  echo $? >status.txt)
}

# Every file found: no box about a missing one, every shader compiled, and the log names the
# folder they came from.
check_run() {
  local folder="$work/$1" resources=$2
  [ "$(cat "$folder/status.txt")" = 0 ] || fail "$1: status $(cat "$folder/status.txt"): $(tail -3 "$folder/stderr.txt")"
  [ -f "$folder/frame.png" ] || fail "$1: no frame saved"
  grep -q 'Unable to' "$folder/debug.txt" && fail "$1: $(grep -m1 'Unable to' "$folder/debug.txt")"
  grep -q 'Failed to load' "$folder/debug.txt" && fail "$1: $(grep -m1 'Failed to load' "$folder/debug.txt")"
  [ "$(grep -c '^Shader .* loaded successfully' "$folder/debug.txt")" = 4 ] || fail "$1: not every shader was loaded"
  grep -q "^Reading data/ and the shader files from $resources"$'\r$' "$folder/debug.txt" ||
    fail "$1: the log does not name $resources"
  grep -q 'SoundPlayer: cannot load' "$folder/debug.txt" && fail "$1: the music was not found"
}

play_from_empty_folder build-run "$run_dir/orvo-gl"
check_run build-run "$(realpath "$run_dir")/"
play_from_empty_folder installed-run "$prefix/bin/orvo-gl"
check_run installed-run "$shared/"
differing=$(compare -metric AE "$work/build-run/frame.png" "$work/installed-run/frame.png" null: 2>&1)
[ "$differing" = 0 ] || fail "the installed program's 25 s frame differs from the build's in $differing pixels"

# A program with no folder of files anywhere ends with status 1 and one line naming the folders,
# before it makes a window (without a display, getting that far would say so).
configured_share=$(sed -n 's/^CMAKE_INSTALL_PREFIX:PATH=//p' "$build_dir/CMakeCache.txt")/share/orvo-gl
if [ -d "$configured_share/data" ]; then
  echo "note: $configured_share holds an installed copy; the run without files is not checked"
else
  mkdir -p "$work/alone/bin" "$work/alone/run"
  cp "$prefix/bin/orvo-gl" "$work/alone/bin/"
  (cd "$work/alone/run" && env -u DISPLAY timeout 60 ../bin/orvo-gl --windowed >stdout.txt 2>stderr.txt
  echo $? >status.txt)
  [ "$(cat "$work/alone/run/status.txt")" = 1 ] || fail "no files: status $(cat "$work/alone/run/status.txt")"
  [ "$(wc -l <"$work/alone/run/stderr.txt")" = 1 ] || fail "no files: not one line: $(cat "$work/alone/run/stderr.txt")"
  for looked in "the working folder $(realpath "$work/alone/run")/" "$(realpath "$work/alone/bin")/" "$configured_share/"; do
    grep -q -F "$looked" "$work/alone/run/stderr.txt" || fail "no files: $looked is not named"
  done
fi

# A working folder that cannot be written: the log goes to $XDG_STATE_HOME/orvo-gl/debug.txt and
# one line says so. The superuser writes everywhere, so the run is made as another user then.
mkdir -p "$work/read-only" "$work/state"
chmod 555 "$work/read-only"
as_user=()
if [ "$(id -u)" = 0 ]; then
  chmod 755 "$work"
  chmod 777 "$work/state"
  as_user=(setpriv --reuid=65534 --regid=65534 --clear-groups)
fi
(cd "$work/read-only" && env -u DISPLAY XDG_STATE_HOME="$work/state" timeout 60 "${as_user[@]}" "$run_dir/orvo-gl" \
  --windowed >/dev/null 2>"$work/log-stderr.txt")
moved_log="$work/state/orvo-gl/debug.txt"
[ "$(grep -c "the log goes to $moved_log\$" "$work/log-stderr.txt")" = 1 ] ||
  fail "unwritable working folder: no line naming the log: $(cat "$work/log-stderr.txt")"
grep -q -- '-- Starting --' "$moved_log" 2>/dev/null || fail "unwritable working folder: the moved log was not written"
grep -q 'cannot write the log' "$work/log-stderr.txt" && fail "unwritable working folder: a log line was lost"
[ -e "$work/read-only/debug.txt" ] && fail "unwritable working folder: a log appeared there"

# $XDG_STATE_HOME names a plain file: the log falls back to ~/.local/state/orvo-gl/, and the line
# names the folder that failed, with its reason, and the file the log went to.
touch "$work/state-file"
mkdir -p "$work/home"
[ "$(id -u)" = 0 ] && chmod 777 "$work/home"
(cd "$work/read-only" && env -u DISPLAY HOME="$work/home" XDG_STATE_HOME="$work/state-file" timeout 60 "${as_user[@]}" \
  "$run_dir/orvo-gl" --windowed >/dev/null 2>"$work/fallback-stderr.txt")
fallback_log="$work/home/.local/state/orvo-gl/debug.txt"
grep -q -F "$work/state-file/orvo-gl/ (Not a directory); the log goes to $fallback_log" "$work/fallback-stderr.txt" ||
  fail "state folder that is a file: no line naming both folders: $(cat "$work/fallback-stderr.txt")"
grep -q -- '-- Starting --' "$fallback_log" 2>/dev/null || fail "state folder that is a file: the log was not written"
grep -q 'cannot write the log' "$work/fallback-stderr.txt" && fail "state folder that is a file: a log line was lost"

# A working folder deleted before the start keeps its permissions but takes no file: the log goes
# to the state folder as for one that cannot be written.
mkdir -p "$work/deleted"
(cd "$work/deleted" && rmdir "$work/deleted" && env -u DISPLAY XDG_STATE_HOME="$work/state-deleted" timeout 60 \
  "$run_dir/orvo-gl" --windowed >/dev/null 2>"$work/deleted-stderr.txt")
deleted_log="$work/state-deleted/orvo-gl/debug.txt"
[ "$(grep -c "the log goes to $deleted_log\$" "$work/deleted-stderr.txt")" = 1 ] ||
  fail "deleted working folder: no line naming the log: $(cat "$work/deleted-stderr.txt")"
grep -q -- '-- Starting --' "$deleted_log" 2>/dev/null || fail "deleted working folder: the moved log was not written"
grep -q 'cannot write the log' "$work/deleted-stderr.txt" && fail "deleted working folder: a log line was lost"

finish "installed run"
