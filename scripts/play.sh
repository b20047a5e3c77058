#!/bin/sh
# Installs what the presentation needs, builds it and plays it. Options go to the program (see --help).
set -e
cd "$(dirname "$0")/.."
./scripts/install-deps.sh
./scripts/build.sh
cd build/run
exec ./orvo-gl "$@"
