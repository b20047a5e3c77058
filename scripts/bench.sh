#!/bin/sh
# Builds and runs the benchmarks (after scripts/test.sh or scripts/build.sh has set things up).
set -e
cd "$(dirname "$0")/.."
./scripts/build.sh
cd build
xvfb-run -a -s "-screen 0 1024x768x24" ./benchmarks "$@"
