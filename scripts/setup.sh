#!/usr/bin/env bash
# Installs the Debian packages GRANVEL needs to build and test, skipping those already present.
# Run as root on Debian 12 (or with sudo available). Safe to run again. "setup.sh coverage" also installs
# gcovr, which only scripts/coverage.sh needs. The mingw-w64 compiler and Wine build and run the Windows
# program (scripts/build-windows.sh), whose tests the test command runs too. The last line is the releases':
# the Debian package (dpkg-shlibdeps, file), its checks (lintian, man, the completion, the file-type and
# desktop databases) and the Windows zip. Then the browser edition's: Emscripten, and Chromium for its tests.
set -euo pipefail

packages=(
  cmake ninja-build g++ make pkg-config
  libsimpleini-dev libcli11-dev libtomlplusplus-dev
  libgtest-dev libgmock-dev libbenchmark-dev
  clang libclang-rt-14-dev
  qt6-base-dev qt6-qpa-plugins qt6-wayland libgl-dev fonts-noto-cjk fonts-dejavu-core
  libspng-dev
  g++-mingw-w64-x86-64-posix wine wine64 xvfb xauth nsis fonts-ipafont-gothic fonts-wine
  dpkg-dev file lintian man-db bash-completion shared-mime-info desktop-file-utils zip
  emscripten node-acorn chromium
)

# npm pins the browser tests' tools (web/package-lock.json); a Node.js that brings its own npm keeps it.
if ! command -v npm >/dev/null; then
  packages+=(npm)
fi
if [ "${1:-}" = coverage ]; then
  packages+=(gcovr)
fi
if [ "${1:-}" = fixtures ]; then
  packages+=(python3-pil imagemagick)  # scripts/make-image-fixtures.py makes its images with real tools
fi

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
    missing+=("$p")
  fi
done

if [ ${#missing[@]} -eq 0 ]; then
  exit 0
fi

echo "setup: installing ${missing[*]}"
sudo_cmd=()
if [ "$(id -u)" -ne 0 ]; then
  sudo_cmd=(sudo)
fi
export DEBIAN_FRONTEND=noninteractive
"${sudo_cmd[@]}" apt-get update -qq
"${sudo_cmd[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"
