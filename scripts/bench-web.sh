#!/bin/bash
# The web edition's live frame rate in headless Chromium beside the native ES program's
# (bench/web_frame_rate.js), on the site built by scripts/build-web.sh and served on 127.0.0.1.
set -euo pipefail
cd "$(dirname "$0")/.."
(cd tests/web && PUPPETEER_SKIP_DOWNLOAD=1 npm ci --ignore-scripts --no-audit --no-fund --loglevel=error)
./scripts/build-web.sh
./scripts/serve-web.sh node bench/web_frame_rate.js
