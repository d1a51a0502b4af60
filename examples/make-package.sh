#!/usr/bin/env bash
# A package recipe: the sample program with the sprite sheet as upper sprites (SPU0) and background (BGU0),
# its palette for both, the title screen on the upper screen and the MEM$ text, in one file.
#   bash examples/make-package.sh [GRANVEL-CLI] [OUTPUT]
set -euo pipefail
here="$(cd "$(dirname "$0")" && pwd)"
cli="${1:-$here/../build/bin/granvel-cli}"
out="${2:-$PWD/HELLO.zkp}"
"$cli" package --ini /dev/null -o "$out" --name hello \
  PRG="$here/Hello.txt" \
  SPU0="$here/Sprites.bmp" --size SPU0=16x16 \
  BGU0="$here/Sprites.bmp" \
  COL0="$here/Sprites.bmp" COL1="$here/Sprites.bmp" \
  SCU0="$here/Title_scr.txt" \
  MEM="$here/Notes_mem.txt"
