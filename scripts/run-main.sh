#!/usr/bin/env bash
# The main job: set up, build, and start the desktop program granvel. On a machine without a display it says
# so and converts the sample inputs in examples/ with granvel-cli instead.
# Those results go to build/examples-out/ZKP/<name>/; the examples folder itself is left untouched.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/build.sh release
if [ -n "${DISPLAY:-}" ] || [ -n "${WAYLAND_DISPLAY:-}" ]; then
  exec build/bin/granvel "$@"
fi
echo "No display (\$DISPLAY and \$WAYLAND_DISPLAY are empty): running the command-line demo on examples/ instead."
out="$PWD/build/examples-out"
rm -rf "$out"
mkdir -p "$out"
status=0
build/bin/granvel-cli convert --ini /dev/null -o "$out" --set Create=1 \
  examples/Notes_mem.txt examples/Hello.txt examples/Title_scr.txt examples/Title.rscr || status=$?
# The sprite sheet as 16x16 sprites: a COL palette, one CHR bank and its DATA text.
build/bin/granvel-cli convert --ini /dev/null -o "$out" --set Create=1 \
  --type 16x16 examples/Sprites.bmp || status=$?
# The package recipe: program, sprites, background, palettes, screen and MEM$ in one file.
bash examples/make-package.sh build/bin/granvel-cli "$out/HELLO.zkp" || status=$?
# The game project (examples/game): its assets and package rebuilt with one command, in a copy.
cp -r examples/game "$out/game"
build/bin/granvel-cli build "$out/game" || status=$?
# And back: the package decoded into BMP images and texts that convert again.
build/bin/granvel-cli convert --ini /dev/null -o "$out" --set Create=1 \
  "$out/HELLO.zkp" || status=$?
echo
echo "Files written under $out:"
(cd "$out" && find . -type f | sort | sed 's|^\./|  |')
exit "$status"
