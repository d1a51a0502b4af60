#!/usr/bin/env bash
# Line coverage of the core library and the command line by the whole test suite, measured with gcovr. The
# desktop program's windows (src/shell, the package dialog) are left out: their tests drive Qt widgets.
# Fails when the coverage falls below 95%.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh coverage
cmake --preset coverage >/dev/null
cmake --build --preset coverage
find build-coverage -name '*.gcda' -delete
ctest --preset coverage -j "$(nproc)" >/dev/null
gcovr --root . --filter 'src/' --exclude 'src/shell/' --exclude '.*_dialog\.(cpp|h)$' --object-directory build-coverage \
  --print-summary --fail-under-line 95 --txt build-coverage/coverage.txt
