#!/usr/bin/env bash
# Installs what is missing (Emscripten and Chromium among it), then builds the browser edition with
# Emscripten: build-web/bin/ (the page's module granvel_web.js + .wasm, and the command line for Node), then
# the page itself: build-web/site/ (for a web server) and build-web/site-single/granvel.html (one file, the
# module inside it, that works opened from the disk).
# "build-web.sh test" then runs the browser edition's tests: the end-to-end cases through the command line
# for Node, and the page in headless Chromium (web/tests/), against the native release build's outputs.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh
# Debian's emcc finds its JavaScript parser among Debian's Node modules.
export NODE_PATH=/usr/share/nodejs${NODE_PATH:+:$NODE_PATH}
emcmake cmake --preset web >/dev/null
cmake --build --preset web
node web/tools/make-site.mjs build-web
if [ "${1:-}" != test ]; then
  exit 0
fi
bash scripts/build.sh release
node --no-experimental-fetch tests/web/run-cases.mjs build-web/bin/granvel-cli.js
(cd web && npm ci --no-audit --no-fund --silent)
(cd web && GRANVEL_WEB_BUILD="$PWD/../build-web" GRANVEL_NATIVE_CLI="$PWD/../build/bin/granvel-cli" node --test tests/)
