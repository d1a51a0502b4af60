#!/usr/bin/env bash
# Every test: set up, build the sanitizer test build and run the whole suite; build the release programs,
# make the Debian package of them, check it with lintian, install it on this machine, use and purge it;
# cross-build the Windows test build and run its suite under Wine (the desktop program's windows in a
# virtual display), then check that both systems write the same bytes, and pack, install and uninstall the
# Windows download; the browser edition (scripts/build-web.sh test: the cases through the command line for
# Node and the page in headless Chromium, against the release build's outputs); then every fuzz target for
# 20 seconds on its seed corpus (a finding fails the run).
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/build.sh test
ctest --preset test -j "$(nproc)"
bash scripts/build.sh release
bash scripts/package-deb.sh build
bash tests/linux/deb_check.sh build/granvel_*_amd64.deb
bash scripts/build-web.sh test
bash scripts/build-windows.sh test
ctest --preset windows-test -j "$(nproc)"
bash tests/windows/same_bytes.sh "$PWD/build-test/bin/granvel-cli" "$PWD/build-windows-test/bin/granvel-cli.exe"
bash scripts/package-windows.sh --from build-windows-test
bash tests/windows/installer_check.sh build-windows-test/dist/granvel-*-windows-x64-setup.exe
bash scripts/fuzz 20
