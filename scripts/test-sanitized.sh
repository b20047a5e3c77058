#!/bin/sh
# The sanitizer job: builds everything with AddressSanitizer and UndefinedBehaviorSanitizer into
# build-asan/, then runs the unit tests (the fuzz corpus replay among them) and one fixed-step run
# of the whole presentation on a private X server. Any report fails the job: the sanitizers stop
# the process at the first one. Leaks of system libraries at exit are suppressed by
# scripts/lsan-suppressions.txt; leaks in our own code are not.
set -e
cd "$(dirname "$0")/.."
root=$(pwd)
# The build runs the sanitized tool too: it bakes the data folder.
export ASAN_OPTIONS=halt_on_error=1:detect_leaks=1:strict_init_order=1:detect_stack_use_after_return=1
export LSAN_OPTIONS=suppressions=$root/scripts/lsan-suppressions.txt:print_suppressions=0
export UBSAN_OPTIONS=halt_on_error=1:print_stacktrace=1
cmake -S . -B build-asan -DCMAKE_BUILD_TYPE=RelWithDebInfo -DDEMO_SANITIZE=address,undefined \
  -DDEMO_BUILD_BENCHMARKS=OFF >/dev/null
cmake --build build-asan -j"$(nproc)"

screen="-screen 0 1024x768x24"

# Every unit test in a process of its own, as in the plain build (the end-to-end scripts, which
# drive the programs with timings of their own, stay with the plain build).
# LeakSanitizer itself can crash at exit ("Tracer caught signal 11", "LeakSanitizer has
# encountered a fatal error"): its scan of thread-local storage trips over a slot it cannot read,
# and gives no verdict. When it is the only fault, the tests it hit run once more
# with every check but the leak check; any other fault fails the job at once.
cd "$root/build-asan"
rm -f Testing/Temporary/LastTestsFailed.log
xvfb-run -a -s "$screen" ctest --output-on-failure -E '^e2e[.]' 2>&1 | tee unit-tests.log
if [ -s Testing/Temporary/LastTestsFailed.log ]; then
  if ! grep -q 'LeakSanitizer has encountered a fatal error' unit-tests.log ||
    grep -q -E 'ERROR: LeakSanitizer: detected|ERROR: AddressSanitizer|runtime error|\[  FAILED  \]' unit-tests.log; then
    echo "sanitized unit tests failed"
    exit 1
  fi
  echo "sanitized unit tests: LeakSanitizer crashed in the tests above; they run again without the leak check"
  ASAN_OPTIONS="$ASAN_OPTIONS:detect_leaks=0" xvfb-run -a -s "$screen" ctest --output-on-failure --rerun-failed
fi


# The whole presentation at the largest fixed step; the dummy audio driver plays the music
# through the mixer without a sound device.
cd "$root/build-asan/run"
rm -f debug.txt
start=$(date +%s)
status=0
SDL_AUDIODRIVER=dummy xvfb-run -a -s "$screen" ./orvo-gl --windowed --seed 1 --fixed-step 0.1 --fps \
  >stdout.txt 2>stderr.txt || status=$?
# Any error report fails the run. A leak report fails it when a leaked block was allocated on a
# path through our code (our code keeps frame pointers, so its frames always show); blocks that
# system libraries built without frame pointers leave at exit show no frame of ours. Such a
# report is printed and passed over.
if grep -q -E 'ERROR: AddressSanitizer|runtime error' stderr.txt; then
  cat stderr.txt
  echo "sanitized presentation run: the sanitizers reported an error"
  exit 1
fi
# A frame "orvo-gl+0xOFFSET" is ours only when the offset lies inside the program's image: LeakSanitizer
# names the nearest module for code it cannot place, and the software renderer's compiled shaders
# and the driver modules unloaded at exit sit in memory just past the program.
image_end=$((0x$(nm orvo-gl | awk '$3 == "_end" { print $1 }')))
frames_of_ours() {
  sed -n '/ERROR: LeakSanitizer/,$p' stderr.txt | grep -E "$root/[a-z]+/[a-z0-9_/]+\.(cpp|h):" && return
  sed -n '/ERROR: LeakSanitizer/,$p' stderr.txt | grep -o -E '/orvo-gl\+0x[0-9a-f]+' | sed 's/.*+//' |
    while read -r offset; do
      [ $((offset)) -lt "$image_end" ] && echo "$offset"
    done
}
if grep -q 'ERROR: LeakSanitizer' stderr.txt; then
  if [ -n "$(frames_of_ours)" ]; then
    cat stderr.txt
    echo "sanitized presentation run: our code leaked"
    exit 1
  fi
  sed -n '/ERROR: LeakSanitizer/,$p' stderr.txt
  echo "sanitized presentation run: system libraries left the blocks above at exit (no frame of ours)"
elif [ "$status" != 0 ]; then
  cat stderr.txt
  echo "sanitized presentation run: status $status"
  exit 1
fi
grep -q '^orvo-gl: 154[0-9] frames' stdout.txt || { cat stdout.txt; echo "sanitized presentation run: did not play to its end"; exit 1; }
echo "sanitized presentation run: passed in $(($(date +%s) - start)) s"
