#!/usr/bin/env bash
# Makes the seed corpora of the fuzz targets that read the system's formats (fuzz/corpus/<target>/) from the
# samples in examples/ and the BMP fixtures in tests/data/, converted with granvel-cli: each seed is a valid
# input behind the target's option byte. Run once when a format changes; the seeds are committed.
#   bash scripts/make-fuzz-seeds.sh [GRANVEL-CLI]
set -euo pipefail
cd "$(dirname "$0")/.."
root="$PWD"
cli="${1:-}"
if [ -z "$cli" ]; then
  [ -x build/bin/granvel-cli ] || bash scripts/build.sh release >/dev/null
  cli="$root/build/bin/granvel-cli"
fi
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
cp examples/Hello.txt examples/Notes_mem.txt examples/Sprites.bmp examples/Title.rscr examples/Title_scr.txt "$work/"
cd "$work"
run() { "$cli" "$@" --ini "$work/none.ini" >/dev/null; }

# Encoded resources of every kind, a package, and their decoded texts and images.
run convert Hello.txt Notes_mem.txt Title_scr.txt Title.rscr
run convert --type 16x16 --set TextOut=0 Sprites.bmp
"$cli" package --ini "$work/none.ini" -o "$work/HELLO.zkp" --name hello PRG=Hello.txt SPU0=Sprites.bmp \
  --size SPU0=16x16 COL0=Sprites.bmp SCU0=Title_scr.txt MEM=Notes_mem.txt >/dev/null
mkdir wide && cp Hello_PRG.zkp Sprites_CHR.zkp Sprites_COL.zkp wide/
run convert --set PRG_MultiByte=1 wide/Hello_PRG.zkp
run convert Sprites_CHR.zkp Sprites_COL.zkp

# seed TARGET NAME OPTION-BYTE FILE: the option byte (as octal escape, or "" for none), then the file.
seed() {
  local dir="$root/fuzz/corpus/$1"
  mkdir -p "$dir"
  { [ -z "$3" ] || printf "$3"; cat "$4"; } >"$dir/$2"
}

# bmp: option byte low nibble = unit (0 is 8x8, 1 is 16x16, 8 is GRP's 1x1 with mask 255), bit 4 AutoTrim.
seed bmp sprites_16x16 '\021' Sprites.bmp
seed bmp sprites_grp '\010' Sprites.bmp
seed bmp decoded_col '\020' ZKP_SPRITES/SPRITES_COL.bmp
for fixture in hand_rle4 hand_topdown_8bit im_v4_1bit im_v5_4bit im_v5_8bit_rle8 pil_1bit pil_8bit; do
  seed bmp "$fixture" '\000' "$root/tests/data/$fixture.bmp"
done

# zkp_decode: option byte 0 (plain settings), 1 (full-width programs).
seed zkp_decode prg '\000' Hello_PRG.zkp
seed zkp_decode prg_wide '\001' Hello_PRG.zkp
seed zkp_decode mem '\000' Notes_mem_MEM.zkp
seed zkp_decode scr '\000' Title_scr_SCR.zkp
seed zkp_decode col '\000' Sprites_COL.zkp
seed zkp_decode package '\010' HELLO.zkp

# prg: option byte bit 0 PRG_ESCAPE, bit 1 PRG_Limit.
seed prg hello '\002' Hello.txt
seed prg hello_escapes '\001' Hello.txt
seed prg hello_full_width '\002' wide/ZKP_HELLO/HELLO_PRG.txt

# screen_text: the sample screen text and the raw screen.
seed screen_text title_text '' Title_scr.txt
seed screen_text title_raw '' Title.rscr

# text_encoding: a program, screen and MEM text in Shift JIS and their Unicode twins, and two refused texts.
for text in "$root"/tests/cases/text_encodings/in/*.txt; do
  seed text_encoding "$(basename "$text" .txt)" '' "$text"
done

# png: option byte bit 0 GRP's mask; the pictures of the PNG case (scripts/make-image-fixtures.py).
for picture in p1 p2 p4 p8 rgb grey rgba c17; do
  seed png "$picture" '\000' "$root/tests/cases/png_images/in/$picture.png"
done
seed png c512 '\001' "$root/tests/cases/png_images/in/c512.png"

# tiles: kind, width, height, unit width and height, block width (16 bits), block index, then the pixels
# of the sample's decoded palette swatch (16x16, one byte a pixel, behind its 1078-byte header).
tail -c 256 ZKP_SPRITES/SPRITES_COL.bmp >swatch
seed tiles chr_8x8 '\000\020\020\010\010\200\000\000' swatch
seed tiles chr_16x16_image_wide '\000\020\020\020\020\377\377\000' swatch
seed tiles grp_page '\001\020\020\010\010\000\001\000' swatch
