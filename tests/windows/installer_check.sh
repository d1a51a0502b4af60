#!/usr/bin/env bash
# The Windows installer, run silently under Wine in a throw-away prefix, installs into Program Files\GRANVEL
# the files of the zip beside it (byte for byte) and an uninstaller, the Start-menu entry, the ".zkp" file
# type and the "Add or remove programs" entry; its uninstaller, run silently, removes all of them. Run twice:
# the second time another program has taken ".zkp" before the uninstall, and keeps it.
#   bash tests/windows/installer_check.sh build-windows/dist/granvel-<version>-windows-x64-setup.exe
set -euo pipefail
setup="$(cd "$(dirname "$1")" && pwd)/$(basename "$1")"
zip="${setup%-setup.exe}.zip"
version="$(basename "$setup" | sed -n 's/^granvel-\([0-9.]*\)-windows-x64-setup\.exe$/\1/p')"
if [ ! -f "$setup" ] || [ ! -f "$zip" ] || [ -z "$version" ]; then
  echo "installer_check: needs granvel-<version>-windows-x64-setup.exe with its .zip beside it" >&2
  exit 2
fi
work="$(mktemp -d)"
export WINEPREFIX="$work/prefix" WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"  # nothing of the prefix reaches the desktop
trap 'wineserver -k >/dev/null 2>&1 || true; rm -rf "$work"' EXIT
failed=0 round=0
fail() { echo "installer_check: round $round: $*" >&2; failed=1; }

dir="$WINEPREFIX/drive_c/Program Files/GRANVEL"
lnk="$WINEPREFIX/drive_c/ProgramData/Microsoft/Windows/Start Menu/Programs/GRANVEL.lnk"
uninstall_key='HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall\GRANVEL'
exe='C:\Program Files\GRANVEL\granvel.exe'
# value KEY [NAME]: the registry value (the key's default without NAME), or nothing when it is missing
value() {
  local which=(/ve)
  [ $# -lt 2 ] || which=(/v "$2")
  wine reg query "$1" "${which[@]}" 2>/dev/null | tr -d '\r' |
    sed -n 's/^    .*    REG_[A-Z_]*    //p;s/^    .*    REG_[A-Z_]*$//p' | head -n 1
}
expect() {  # expect KEY NAME WANTED ("" for the default value)
  local got
  if [ -n "$2" ]; then got="$(value "$1" "$2")"; else got="$(value "$1")"; fi
  [ "$got" = "$3" ] || fail "$1 ${2:-(default)} is '$got', not '$3'"
}
gone() {  # gone KEY: the key is missing
  if wine reg query "$1" >/dev/null 2>&1; then fail "$1 is still there"; fi
}

mkdir -p "$WINEPREFIX" "$work/zip"
wine wineboot --init >/dev/null 2>&1 || true
wineserver -w
(cd "$work/zip" && cmake -E tar xf "$zip")
packed="$work/zip/$(basename "${zip%.zip}")"

for round in 1 2; do
  wine "$setup" /S || fail "the installer exited with $?"
  wineserver -w
  (cd "$packed" && find . -type f | LC_ALL=C sort) >"$work/packed.txt"
  echo ./uninstall.exe >>"$work/packed.txt"
  (cd "$dir" 2>/dev/null && find . -type f | LC_ALL=C sort -u) >"$work/installed.txt" || true
  LC_ALL=C sort -u -o "$work/packed.txt" "$work/packed.txt"
  diff "$work/packed.txt" "$work/installed.txt" >&2 || fail "installed files are not the zip's"
  while IFS= read -r f; do
    if [ "$f" != ./uninstall.exe ] && [ -f "$dir/$f" ] && ! cmp -s "$packed/$f" "$dir/$f"; then
      fail "$f differs from the zip's"
    fi
  done <"$work/packed.txt"
  if [ ! -f "$lnk" ]; then
    fail "no Start-menu entry GRANVEL.lnk"
  elif ! strings -a -el "$lnk" | grep -qxF "$exe" && ! strings -a "$lnk" | grep -qxF "$exe"; then
    fail "GRANVEL.lnk does not start $exe"
  fi
  expect "$uninstall_key" DisplayName GRANVEL
  expect "$uninstall_key" DisplayVersion "$version"
  expect "$uninstall_key" Publisher GRANVEL
  expect "$uninstall_key" DisplayIcon "$exe,0"
  expect "$uninstall_key" UninstallString '"C:\Program Files\GRANVEL\uninstall.exe"'
  expect "$uninstall_key" QuietUninstallString '"C:\Program Files\GRANVEL\uninstall.exe" /S'
  expect "$uninstall_key" NoModify 0x1
  expect "$uninstall_key" NoRepair 0x1
  size="$(value "$uninstall_key" EstimatedSize)"
  [ $((size)) -gt 0 ] || fail "EstimatedSize is '$size'"
  expect 'HKLM\Software\Classes\.zkp' "" GRANVEL.zkp
  expect 'HKLM\Software\Classes\GRANVEL.zkp' "" "ZKP resource file"
  expect 'HKLM\Software\Classes\GRANVEL.zkp\DefaultIcon' "" "$exe,0"
  expect 'HKLM\Software\Classes\GRANVEL.zkp\shell\open\command' "" "\"$exe\" \"%1\""

  if [ $round = 2 ]; then  # another program takes .zkp after the install
    wine reg add 'HKLM\Software\Classes\.zkp' /ve /d Other.zkp /f >/dev/null 2>&1
  fi
  wine "$dir/uninstall.exe" /S || fail "the uninstaller exited with $?"
  wineserver -w  # the uninstaller runs on from a copy of itself
  [ ! -e "$dir" ] || fail "Program Files\\GRANVEL is still there: $(cd "$dir" && find . | tr '\n' ' ')"
  [ ! -e "$lnk" ] || fail "GRANVEL.lnk is still there"
  gone "$uninstall_key"
  gone 'HKLM\Software\Classes\GRANVEL.zkp'
  if [ $round = 1 ]; then
    gone 'HKLM\Software\Classes\.zkp'
  else
    expect 'HKLM\Software\Classes\.zkp' "" Other.zkp
    gone 'HKLM\Software\Classes\.zkp\OpenWithProgids'
  fi
done
if [ $failed != 0 ]; then
  exit 1
fi
echo "installer_check: $(wc -l <"$work/packed.txt") files, the Start-menu entry, .zkp and the uninstall" \
  "entry installed and removed, twice"
