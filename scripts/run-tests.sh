#!/usr/bin/env bash
# Every test: set up, build the sanitizer test build and run the whole suite; cross-build the Windows test
# build and run its suite under Wine, then check that both systems write the same bytes; then every fuzz
# target for 20 seconds on its seed corpus (a finding fails the run).
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/build.sh test
ctest --preset test -j "$(nproc)"
bash scripts/build-windows.sh test
ctest --preset windows-test -j "$(nproc)"
bash tests/windows/same_bytes.sh "$PWD/build-test/bin/granvel-cli" "$PWD/build-windows-test/bin/granvel-cli.exe"
bash scripts/fuzz 20
