#!/usr/bin/env bash
# Thirty loops of a short presentation (--loop, 6 s at a fixed step) keep the heap in use flat:
# from the 5th loop to the 30th it grows by less than 64 kB in all. The heap is read with glibc's
# malloc_stats at the same point of every loop, the seek back to 0, so each reading sees the same
# frame's objects alive. Mesa's rasteriser runs in the main thread (LP_NUM_THREADS=0): with its
# threads, a scene still in flight at that moment adds megabytes to one reading and not the next.
# The process's resident size is not the measure: glibc's main arena grows in 512 kB steps while
# what is in use stays put (see the README on long runs). $1 is the runnable folder.
. "$(dirname "$0")/common.sh"
cd "$work" || exit 1
cp "$run_dir"/*.cg .
ln -s "$run_dir/data" data

cat >loops.gdb <<'GDB'
set pagination off
set $loop = 0
break Presentation::seek
commands
  silent
  set $loop = $loop + 1
  if $loop == 5 || $loop == 30
    printf "loop %d\n", $loop
    call (void)malloc_stats()
  end
  if $loop == 30
    kill
    quit
  end
  continue
end
run
GDB
LP_NUM_THREADS=0 SDL_AUDIODRIVER=dummy timeout 600 xvfb-run -a -s "-screen 0 1024x768x24" \
  gdb -batch -x loops.gdb --args "$run_dir/orvo-gl" --windowed --loop --end-at 6 --fixed-step 0.1 --seed 1 \
  >gdb-out.txt 2>stats.txt
# malloc_stats ends each report with the whole heap's "in use bytes" after the line "Total".
in_use=$(awk '/^Total/{total=1} total && /in use bytes/{print $5; total=0}' stats.txt)
[ "$(grep -c '^loop ' gdb-out.txt)" = 2 ] || fail "the run did not reach the 30th loop: $(tail -3 gdb-out.txt stats.txt)"
if [ "$(echo "$in_use" | wc -l)" = 2 ]; then
  growth=$(( $(echo "$in_use" | tail -1) - $(echo "$in_use" | head -1) ))
  echo "heap in use from loop 5 to loop 30: $growth bytes"
  [ "$growth" -lt 65536 ] || fail "the heap in use grew by $growth bytes from loop 5 to loop 30"
else
  fail "no heap reports: $(tail -3 stats.txt)"
fi

finish "loop memory"
