#!/usr/bin/env bash
# The Linux and the Windows build give the same bytes: the examples (the sprite sheet under a name with a
# space and Japanese characters, in a folder named likewise) converted, packed into a package, decoded and
# the settings saved by both (the decoded texts in Shift JIS and in UTF-8), the example game project built; every file written and every line printed must match, once the folder is
# written as FOLDER and Windows' "\" as "/". Only GRANVEL.ini may differ, in its line ends and in the folder
# User holds.
#   bash tests/windows/same_bytes.sh LINUX-CLI WINDOWS-CLI.exe
set -euo pipefail
here="$(cd "$(dirname "$0")/../.." && pwd)"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
sheet="スプライト sheet.bmp"
for system in linux windows; do
  folder="$work/$system/出力 先"
  mkdir -p "$folder"
  cp "$here"/examples/{Hello.txt,Notes_mem.txt,Title.rscr,Title_scr.txt} "$folder/"
  cp "$here/examples/Sprites.bmp" "$folder/$sheet"
  cp -r "$here/examples/game" "$folder/game"
  if [ "$system" = linux ]; then cli=("$1") null=/dev/null; else cli=("$here/scripts/wine-run" "$2") null=NUL; fi
  while read -r -a words; do
    words=("${words[@]//SHEET/$sheet}")
    (cd "$folder" && "${cli[@]}" "${words[@]//NULL/$null}") >>"$work/$system.out" 2>&1 || true
  done <<'COMMANDS'
convert --ini NULL Hello.txt Notes_mem.txt Title.rscr Title_scr.txt
convert --ini NULL --type 16x16 SHEET
convert --ini NULL --type bin Title.rscr
package --ini NULL -o HELLO.zkp --name hello PRG=Hello.txt SPU0=SHEET --size SPU0=16x16 BGU0=SHEET COL0=SHEET SCU0=Title_scr.txt MEM=Notes_mem.txt
convert --ini NULL HELLO.zkp
convert --ini NULL --set UTF8_Text=1 -o utf8 HELLO.zkp
info HELLO.zkp
settings --set WideMode=0 --save
build game -j 2
COMMANDS
  tr -d '\r' <"$folder/GRANVEL.ini" | grep -v '^User=' >"$work/$system.ini" && rm "$folder/GRANVEL.ini"
  text="$(cat "$work/$system.out")"
  text="${text//"$folder"/FOLDER}"
  text="${text//"Z:${folder//\//\\}"/FOLDER}"
  # Windows shows paths with "\"; the lines are compared with "/".
  if [ "$system" = windows ]; then text="${text//\\//}"; fi
  printf '%s\n' "$text" >"$work/$system.out"
done
if ! diff "$work/linux.out" "$work/windows.out" || ! diff "$work/linux.ini" "$work/windows.ini" ||
  ! diff -r "$work/linux" "$work/windows"; then
  echo "same_bytes: the two builds differ" >&2
  exit 1
fi
echo "same_bytes: $(find "$work/linux" -type f | wc -l) files and $(wc -l <"$work/linux.out") printed lines match"
