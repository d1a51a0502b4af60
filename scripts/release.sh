#!/usr/bin/env bash
# Makes every download of the version in CMakeLists.txt from the commit checked out, into dist/:
#   granvel_<version>_amd64.deb                 Debian 12 and later (scripts/package-deb.sh, checked by lintian)
#   granvel-<version>-windows-x64.zip           Windows, unpacked anywhere (scripts/package-windows.sh)
#   granvel-<version>-windows-x64-setup.exe     Windows installer
#   granvel-<version>-web.zip                   the browser edition for a web server (build-web/site/)
#   granvel-<version>.html                      the browser edition as one file, opened from the disk
#   granvel-<version>-release-notes.md          this version's section of CHANGELOG.md
#   SHA256SUMS                                  the digest of each file above
# The same commit gives the same bytes on any Debian 12 machine, in any folder, at any time (docs/releases.md):
# every build is made afresh (build-release/, build-release-windows/, build-release-web/), every time in the files is the
# commit's (SOURCE_DATE_EPOCH), no path of this machine goes in, and archives are written in sorted order.
set -euo pipefail
cd "$(dirname "$0")/.."
if [ -n "$(git status --porcelain --untracked-files=no)" ]; then
  echo "release: the working tree has changes that are not committed; a release is made from a commit" >&2
  exit 1
fi
version="$(sed -n 's/^project(granvel VERSION \([0-9.]*\).*/\1/p' CMakeLists.txt)"
notes="$(awk -v heading="## $version (" '
  index($0, heading) == 1 { found = 1; next }
  found && /^## / { exit }
  found { print }' CHANGELOG.md | sed -e '/./,$!d')"
if [ -z "$notes" ]; then
  echo "release: CHANGELOG.md has no section \"## $version (YYYY-MM-DD)\" for this version" >&2
  exit 1
fi

umask 022
export SOURCE_DATE_EPOCH="$(git log -1 --format=%ct)" TZ=UTC LC_ALL=C.UTF-8
bash scripts/setup.sh
rm -rf build-release build-release-windows build-release-web dist
cmake --preset release -B build-release >/dev/null
bash scripts/package-deb.sh build-release
cmake --preset windows -B build-release-windows >/dev/null
cmake --build build-release-windows
bash scripts/package-windows.sh --from build-release-windows
export NODE_PATH=/usr/share/nodejs${NODE_PATH:+:$NODE_PATH}
emcmake cmake --preset web -B build-release-web >/dev/null
cmake --build build-release-web
node web/tools/make-site.mjs build-release-web
find build-release-web/site -exec touch -h -d "@$SOURCE_DATE_EPOCH" {} +

mkdir dist
cp build-release/granvel_"$version"_amd64.deb build-release-windows/dist/granvel-"$version"-windows-x64.zip \
  build-release-windows/dist/granvel-"$version"-windows-x64-setup.exe dist/
(cd build-release-web/site && find . -type f | LC_ALL=C sort | sed 's|^\./||' |
  zip -X -q -D "$OLDPWD/dist/granvel-$version-web.zip" -@)
cp build-release-web/site-single/granvel.html dist/granvel-"$version".html
# The notes end with what a rebuild needs to give the same bytes: the commit and the tools' versions.
{
  printf '# GRANVEL %s\n\n%s\n\n---\n\nBuilt from commit %s on Debian 12 with:' "$version" "$notes" "$(git rev-parse HEAD)"
  dpkg-query -W -f ' ${Package} ${Version},' g++-12 g++-mingw-w64-x86-64-posix binutils binutils-mingw-w64-x86-64 \
    qt6-base-dev libspng-dev libcli11-dev libsimpleini-dev cmake nsis zip dpkg-dev emscripten nodejs | sed 's/,$/.\n/'
} >dist/granvel-"$version"-release-notes.md
(cd dist && sha256sum -- * >SHA256SUMS)
echo "release: dist/ holds GRANVEL $version of commit $(git rev-parse --short HEAD):"
(cd dist && ls -l)
