#!/usr/bin/env bash
# Installs what is missing (the mingw-w64 compiler and Wine among it), then cross-builds the Windows
# programs: build-windows/bin/granvel-cli.exe, statically linked, needing only the system's own DLLs.
# "build-windows.sh test" builds the Windows test build instead (build-windows-test/, run under Wine by
# "ctest --preset windows-test").
set -euo pipefail
cd "$(dirname "$0")/.."
preset=windows
if [ "${1:-}" = test ]; then
  preset=windows-test
fi
bash scripts/setup.sh
cmake --preset "$preset" >/dev/null
cmake --build --preset "$preset"
