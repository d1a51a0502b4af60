#!/usr/bin/env bash
# Makes the Debian package of a release build folder with cpack and checks it with lintian:
# BUILD/granvel_<version>_amd64.deb (BUILD is build/ unless given). What the package holds is built first when
# out of date: the folder's default targets, which in the release preset are the two programs, their manual
# pages and the changelog. Files in the package are dated at the commit (SOURCE_DATE_EPOCH, unless set).
#   package-deb.sh [BUILD]
set -euo pipefail
cd "$(dirname "$0")/.."
build="${1:-build}"
export SOURCE_DATE_EPOCH="${SOURCE_DATE_EPOCH:-$(git log -1 --format=%ct)}"
if ! grep -q '^CMAKE_BUILD_TYPE:STRING=Release$' "$build/CMakeCache.txt" ||
  grep -q '^GRANVEL_SANITIZE:BOOL=ON$' "$build/CMakeCache.txt"; then
  echo "package-deb: $build is no release build (cmake --preset release makes one)" >&2
  exit 1
fi
umask 022
cmake --build "$build"
rm -f "$build"/granvel_*.deb
(cd "$build" && cpack -G DEB >/dev/null)
deb="$(echo "$build"/granvel_*.deb)"
# No error or warning beyond the ones packaging/linux/lintian-overrides explains.
lintian --fail-on error,warning "$deb" 2> >(grep -v 'running with root privileges' >&2)
echo "wrote $deb"
