#!/usr/bin/env bash
# Every test: set up, build the sanitizer test build, run the whole suite, then every fuzz target for 20
# seconds on its seed corpus (a finding fails the run).
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/build.sh test
ctest --preset test -j "$(nproc)"
bash scripts/fuzz 20
