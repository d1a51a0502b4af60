#!/usr/bin/env bash
# deb_check.sh granvel_<version>_amd64.deb: installs the package with apt (as root), and its programs turn the
# examples into a package and back; its manual pages, .zkp type, desktop entry and completion work; after the
# purge nothing of it is left, in files or in the MIME and desktop caches.
set -euo pipefail
deb="$(realpath "$1")"
work="$(mktemp -d)"
trap '{ apt-get remove --purge -y -qq granvel || true; } >/dev/null 2>&1; rm -rf "$work"' EXIT  # failures too
fail() { echo "deb_check: $*" >&2; exit 1; }
export DEBIAN_FRONTEND=noninteractive
apt-get install -y -qq "$deb" >/dev/null
dpkg -L granvel >"$work/files"

cp -r "$(dirname "$0")/../../examples" "$work/examples" && cd "$work/examples"
/usr/bin/granvel-cli convert Hello.txt Notes_mem.txt Title_scr.txt Title.rscr Sprites.bmp >/dev/null
bash make-package.sh /usr/bin/granvel-cli HELLO.zkp >/dev/null
/usr/bin/granvel-cli convert HELLO.zkp >/dev/null
{ tr '\r' '\n' <ZKP_HELLO/HELLO_PRG.txt | cmp - Hello.txt; } && cmp Title.rscr ZKP_HELLO/HELLO_SCR0_SCR.rscr \
  || fail "the package decoded gives other samples"
[ "$(/usr/bin/granvel --version)" = "granvel $(dpkg-query -W -f '${Version}' granvel)" ] || fail "its version"

for page in granvel granvel-cli; do
  text="$(MANWIDTH=80 man --warnings -l "$(man -w "$page")" 2>"$work/warnings")"
  [[ $text == *SYNOPSIS* && ! -s $work/warnings ]] || fail "man $page: $(cat "$work/warnings")"
done
registered() { grep -q ':application/x-zkp:\*\.zkp$' /usr/share/mime/globs2 &&
  grep -q '^application/x-zkp=.*granvel\.desktop' /usr/share/applications/mimeinfo.cache; }
registered || fail "the .zkp type or its desktop entry is not registered"
completion="$(bash -c '. /usr/share/bash-completion/bash_completion && __load_completion granvel-cli &&
  compopt() { :; } &&
  COMP_WORDS=(granvel-cli convert --set PNG_) COMP_CWORD=3 COMP_LINE="granvel-cli convert --set PNG_" &&
  COMP_POINT=${#COMP_LINE} && _granvel_cli && echo "${COMPREPLY[*]}"')"
[ "$completion" = PNG_Image= ] || fail "completion of --set PNG_ gave '$completion'"

apt-get remove --purge -y -qq granvel >/dev/null
while IFS= read -r path; do
  [ -d "$path" ] || [ ! -e "$path" ] || fail "left after the purge: $path"
done <"$work/files"
! registered || fail "the .zkp type or its desktop entry is still registered after the purge"
echo "deb_check: installed, used and purged $(basename "$deb")"
