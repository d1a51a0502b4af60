#!/usr/bin/env bash
# Every test: set up, build the sanitizer test build, and run the whole suite.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/build.sh test
ctest --preset test -j "$(nproc)"
