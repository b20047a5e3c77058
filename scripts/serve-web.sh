#!/bin/bash
# Serves the built site (build-web/site) on 127.0.0.1 at a free port while a command runs:
# `scripts/serve-web.sh COMMAND ARGS...` runs COMMAND with ORVO_WEB_URL set to the site's address
# and stops the server however the command ends, answering with the command's status.
set -euo pipefail
cd "$(dirname "$0")/.."
if [ "$#" -eq 0 ]; then
  echo "usage: scripts/serve-web.sh COMMAND [ARGS...]" >&2
  exit 2
fi
if [ ! -f build-web/site/index.html ]; then
  echo "serve-web: build-web/site/index.html is missing; run scripts/build-web.sh first" >&2
  exit 1
fi

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
  if [ -n "$port" ] || ! kill -0 "$server" 2>/dev/null; then
    break
  fi
  sleep 0.1
done
if [ -z "$port" ]; then
  echo "serve-web: the web server did not start:" >&2
  cat "$log" >&2
  exit 1
fi
ORVO_WEB_URL="http://127.0.0.1:$port/" "$@"
