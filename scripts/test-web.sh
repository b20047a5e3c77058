#!/bin/bash
# Builds the web edition and runs its tests in headless Chromium: installs the test driver
# (puppeteer-core, pinned in tests/web; it drives Debian's /usr/bin/chromium and downloads no
# browser), builds the site (scripts/build-web.sh), serves it on 127.0.0.1 (scripts/serve-web.sh)
# and runs tests/web's tests against it. The native program (build/run/orvo-gl) gives the frames,
# messages and track the page is compared with. Arguments go to `node --test` in place of the
# test files (paths from the top folder, --test-name-pattern=...).
set -euo pipefail
cd "$(dirname "$0")/.."
# Debian's nodejs comes without npm (NodeSource's has it built in).
if ! command -v npm >/dev/null; then
  sudo=""
  if [ "$(id -u)" -ne 0 ]; then sudo="sudo"; fi
  DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends npm
fi
(cd tests/web && PUPPETEER_SKIP_DOWNLOAD=1 npm ci --ignore-scripts --no-audit --no-fund --loglevel=error)
./scripts/build-web.sh
if [ "$#" -eq 0 ]; then
  set -- tests/web/page_test.js tests/web/frames_test.js tests/web/audio_test.js tests/web/controls_test.js
fi
./scripts/serve-web.sh node --test --test-concurrency=1 "$@"
