#!/usr/bin/env bash
# Builds the Windows programs (scripts/build-windows.sh) and packs the download for Windows users:
# build-windows/dist/granvel-<version>-windows-x64.zip with granvel-cli.exe, README.txt and the examples.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/build-windows.sh
version="$(sed -n 's/^project(granvel VERSION \([0-9.]*\).*/\1/p' CMakeLists.txt)"
name="granvel-$version-windows-x64"
stage="build-windows/dist/$name"
rm -rf "$stage" "build-windows/dist/$name.zip"
mkdir -p "$stage/examples"
cp build-windows/bin/granvel-cli.exe "$stage/"
sed "s/@VERSION@/$version/" packaging/windows/README.txt >"$stage/README.txt"
cp examples/Hello.txt examples/Notes_mem.txt examples/Sprites.bmp examples/Title.rscr examples/Title_scr.txt \
  examples/make-package.bat "$stage/examples/"
(cd build-windows/dist && cmake -E tar cf "$name.zip" --format=zip "$name")
rm -rf "$stage"
echo "wrote build-windows/dist/$name.zip"
