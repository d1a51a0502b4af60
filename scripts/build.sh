#!/usr/bin/env bash
# Installs what is missing, then configures and builds one preset: release (build/) or test (build-test/).
set -euo pipefail
cd "$(dirname "$0")/.."
preset="${1:-release}"
bash scripts/setup.sh
cmake --preset "$preset" >/dev/null
cmake --build --preset "$preset"
