#!/bin/bash
# Builds the web edition and runs its tests in headless Chromium: installs the test driver
# (puppeteer-core, pinned in tests/web; it uses Debian's /usr/bin/chromium and downloads no
# browser), builds the site (scripts/build-web.sh), serves it on 127.0.0.1 at a free port, runs
# tests/web's tests against it and stops the server however they end. The native program
# (build/run/orvo-gl) gives the frames, messages and track the page is compared with.
# Arguments go to `node --test` (test files, --test-name-pattern=...).
set -euo pipefail
cd "$(dirname "$0")/.."

(cd tests/web && PUPPETEER_SKIP_DOWNLOAD=1 npm ci --ignore-scripts --no-audit --no-fund --loglevel=error)
./scripts/build-web.sh

log=$(mktemp)
server=""
stop_server() {
  if [ -n "$server" ]; then
    kill "$server" 2>/dev/null || true
    wait "$server" 2>/dev/null || true
  fi
  rm -f "$log"
}
trap stop_server EXIT
# Port 0: the system picks a free port, which the server prints.
(cd build-web/site && exec python3 -u -m http.server --bind 127.0.0.1 0) >"$log" 2>&1 &
server=$!
port=""
for _ in $(seq 100); do
  port=$(sed -n 's/.* port \([0-9][0-9]*\).*/\1/p' "$log" | head -n 1)
  if [ -n "$port" ]; then break; fi
  if ! kill -0 "$server" 2>/dev/null; then break; fi
  sleep 0.1
done
if [ -z "$port" ]; then
  echo "test-web: the web server did not start:" >&2
  cat "$log" >&2
  exit 1
fi

cd tests/web
if [ "$#" -eq 0 ]; then
  set -- page_test.js frames_test.js audio_test.js controls_test.js
fi
ORVO_WEB_URL="http://127.0.0.1:$port/" node --test --test-concurrency=1 "$@"
