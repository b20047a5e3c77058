#!/bin/sh
# Installs what the tests need, builds everything and runs every test on a private X server
# (Mesa's software renderer draws, so no GPU is needed); then the web edition's tests in headless
# Chromium (scripts/test-web.sh) and the sanitizer job (scripts/test-sanitized.sh). Extra
# arguments go to ctest and skip the web tests and the sanitizer job.
set -e
cd "$(dirname "$0")/.."
./scripts/install-deps.sh
./scripts/build.sh
cd build
# One test at a time: several tests read the one log file of the working folder.
xvfb-run -a -s "-screen 0 1024x768x24" ctest --output-on-failure "$@"
cd ..
if [ "$#" -eq 0 ]; then
  ./scripts/test-web.sh
  ./scripts/test-sanitized.sh
fi
