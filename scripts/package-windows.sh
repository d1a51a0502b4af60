#!/usr/bin/env bash
# Builds the Windows programs (scripts/build-windows.sh) and packs the download for Windows users into
# build-windows/dist/: granvel-<version>-windows-x64.zip with granvel.exe, granvel-cli.exe, README.txt,
# COPYRIGHT.txt (the notices of the libraries compiled in) and the examples, and
# granvel-<version>-windows-x64-setup.exe, an installer of the same files made with makensis from
# packaging/windows/granvel.nsi (unsigned).
# "package-windows.sh --from BUILD" packs the programs of an existing Windows build folder instead, into
# BUILD/dist/ (the test command packs the test build's, which is optimised as released, and checks it).
# The same files give the same zip and installer: every file is dated at the commit (SOURCE_DATE_EPOCH, unless
# set), with fixed permissions, in sorted order, and the zip holds no owner or other times (zip -X).
set -euo pipefail
cd "$(dirname "$0")/.."
export SOURCE_DATE_EPOCH="${SOURCE_DATE_EPOCH:-$(git log -1 --format=%ct)}"
build=build-windows
if [ "${1:-}" = --from ]; then
  build="${2:?package-windows: --from needs a build folder}"
else
  bash scripts/build-windows.sh
fi
for exe in granvel.exe granvel-cli.exe; do
  if [ ! -f "$build/bin/$exe" ]; then
    echo "package-windows: $build/bin/$exe is missing; the Windows build did not make it" >&2
    exit 1
  fi
done
for tool in makensis zip; do
  if ! command -v $tool >/dev/null; then
    echo "package-windows: $tool is missing (scripts/setup.sh installs it)" >&2
    exit 1
  fi
done
version="$(sed -n 's/^project(granvel VERSION \([0-9.]*\).*/\1/p' CMakeLists.txt)"
name="granvel-$version-windows-x64"
dist="$PWD/$build/dist"
stage="$dist/$name"
files="$dist/$name-files.nsh"
trap 'rm -rf "$stage" "$files"' EXIT
rm -rf "$stage" "$dist/$name.zip" "$dist/$name-setup.exe"
mkdir -p "$stage/examples"
cp "$build/bin/granvel.exe" "$build/bin/granvel-cli.exe" "$stage/"
sed "s/@VERSION@/$version/" packaging/windows/README.txt >"$stage/README.txt"
# The programs hold CLI11 and SimpleIni, whose licences ask for their notices beside the binaries: the same
# text as the Debian package's copyright file, with Windows line ends.
sed 's/$/\r/' packaging/linux/copyright >"$stage/COPYRIGHT.txt"
cp examples/Hello.txt examples/Notes_mem.txt examples/Sprites.bmp examples/Title.rscr examples/Title_scr.txt \
  examples/make-package.bat "$stage/examples/"
chmod -R u=rwX,go=rX "$stage"
find "$stage" -exec touch -h -d "@$SOURCE_DATE_EPOCH" {} +
(cd "$dist" && find "$name" | LC_ALL=C sort | TZ=UTC zip -q -X -@ "$name.zip")

# The installer installs what the zip holds. makensis gets the list of files as two macros: InstallFiles
# and UninstallFiles (each file, then each folder, deepest first, removed only if empty).
win() { local p="${1#.}"; printf '%s' "\$INSTDIR${p//\//\\}"; }  # ./examples/a.bat: $INSTDIR\examples\a.bat
(
  cd "$stage"
  if [ -n "$(find . -name '*[$"]*')" ]; then
    echo "package-windows: a file name to pack holds \$ or \"" >&2
    exit 1
  fi
  echo '!macro InstallFiles'
  find . -type d | LC_ALL=C sort | while IFS= read -r dir; do
    echo "  SetOutPath \"$(win "$dir")\""
    find "$dir" -maxdepth 1 -type f | LC_ALL=C sort | while IFS= read -r f; do
      echo "  File \"$stage/${f#./}\""
    done
  done
  echo '!macroend'
  echo '!macro UninstallFiles'
  find . -type f | LC_ALL=C sort | while IFS= read -r f; do
    echo "  Delete \"$(win "$f")\""
  done
  find . -mindepth 1 -type d | LC_ALL=C sort -r | while IFS= read -r dir; do
    echo "  RMDir \"$(win "$dir")\""
  done
  echo '!macroend'
) >"$files"
makensis -V2 -WX -DVERSION="$version" -DFILES="$files" -DICON="$PWD/src/shell_win32/resources/granvel.ico" \
  -DOUTFILE="$dist/$name-setup.exe" packaging/windows/granvel.nsi
echo "wrote $build/dist/$name.zip"
echo "wrote $build/dist/$name-setup.exe"
