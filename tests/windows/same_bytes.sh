#!/usr/bin/env bash
# The Linux and the Windows build give the same bytes: every sample in examples/ (the sprite sheet under a
# name with spaces and Japanese characters, in a folder named likewise) is converted by both, the package
# recipe is built and decoded by both, the settings are saved by both, and every file written and every
# line printed must match. Only the INI file may differ, in its line ends and in the folder User holds.
#   bash tests/windows/same_bytes.sh LINUX-CLI WINDOWS-CLI.exe
set -euo pipefail
here="$(cd "$(dirname "$0")/../.." && pwd)"
linux="$1"
windows="$2"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT

run() {  # run SYSTEM ARGS...: one command in that system's folder, its lines kept in order
  local system="$1"
  shift
  if [ "$system" = linux ]; then
    (cd "$work/$system/出力 先" && "$linux" "$@") >>"$work/$system.out" 2>&1 || true
  else
    (cd "$work/$system/出力 先" && "$here/scripts/wine-run" "$windows" "$@") >>"$work/$system.out" 2>&1 || true
  fi
}

for system in linux windows; do
  folder="$work/$system/出力 先"
  mkdir -p "$folder"
  cp "$here/examples/Hello.txt" "$here/examples/Notes_mem.txt" "$here/examples/Title.rscr" \
    "$here/examples/Title_scr.txt" "$folder/"
  cp "$here/examples/Sprites.bmp" "$folder/スプライト sheet.bmp"
  null=/dev/null
  [ "$system" = windows ] && null=NUL
  run "$system" convert --ini "$null" Hello.txt Notes_mem.txt Title.rscr Title_scr.txt
  run "$system" convert --ini "$null" --type 16x16 "スプライト sheet.bmp"
  run "$system" convert --ini "$null" --type bin Title.rscr
  run "$system" package --ini "$null" -o HELLO.zkp --name hello PRG=Hello.txt SPU0="スプライト sheet.bmp" \
    --size SPU0=16x16 BGU0="スプライト sheet.bmp" COL0="スプライト sheet.bmp" SCU0=Title_scr.txt MEM=Notes_mem.txt
  run "$system" convert --ini "$null" HELLO.zkp
  run "$system" info HELLO.zkp "スプライト sheet_CHR.zkp"
  run "$system" settings --set WideMode=0 --save
done

# The folder a path names is written in each system's own way: both become FOLDER.
linuxFolder="$work/linux/出力 先"
windowsFolder="Z:${work//\//\\}\\windows\\出力 先"
for system in linux windows; do
  text="$(cat "$work/$system.out")"
  text="${text//"$linuxFolder"/FOLDER}"
  printf '%s\n' "${text//"$windowsFolder"/FOLDER}" >"$work/$system.out"
done

status=0
if ! diff "$work/linux.out" "$work/windows.out"; then
  echo "same_bytes: the printed lines differ" >&2
  status=1
fi
for ini in linux windows; do
  tr -d '\r' <"$work/$ini/出力 先/GRANVEL.ini" | grep -v '^User=' >"$work/$ini.ini"
  rm "$work/$ini/出力 先/GRANVEL.ini"
done
if ! diff "$work/linux.ini" "$work/windows.ini" || ! diff -r "$work/linux" "$work/windows"; then
  echo "same_bytes: the files written differ" >&2
  status=1
fi
count=$(find "$work/linux" -type f | wc -l)
[ "$status" -eq 0 ] && echo "same_bytes: $count files and $(wc -l <"$work/linux.out") printed lines match"
exit "$status"
