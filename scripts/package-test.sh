#!/usr/bin/env bash
# package-test.sh DEB: installs the package (as root on this machine, where it is not installed
# yet; otherwise unpacked into a fresh root folder), runs the installed programs from their
# installed files only, validates what desktops and man read, and removes the package again,
# checking that it leaves nothing behind.
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
deb=$(realpath "$1")
version=$(dpkg-deb -f "$deb" Version)
work=$(mktemp -d "${TMPDIR:-/tmp}/tocsmith-package.XXXXXX")
installed=
cleanup() {
  [ -n "$installed" ] && apt-get remove --purge -y -qq tocsmith >/dev/null 2>&1
  rm -rf "$work"
}
trap cleanup EXIT
fail() { echo "package test: $*" >&2; exit 1; }
step() { echo "package test: $*"; }

mapfile -t files < <(dpkg-deb -c "$deb" | awk '$1 !~ /^d/ {print $6}' | sed 's|^\./|/|')
if [ "$(id -u)" -eq 0 ] && ! dpkg -s tocsmith >/dev/null 2>&1; then
  step "installing $deb on this machine"
  DEBIAN_FRONTEND=noninteractive apt-get install -y -qq "$deb" >/dev/null
  installed=yes
  root=
else
  step "unpacking $deb into a fresh root folder"
  root=$work/root
  dpkg-deb -x "$deb" "$root"
fi
prefix=$root/usr
export HOME=$work/home XDG_CONFIG_HOME=$work/home/.config LC_ALL=C.UTF-8
mkdir -p "$HOME"

step "versions"
[ "$("$prefix/bin/tocsmith-cli" --version)" = "tocsmith-cli $version" ] || fail "tocsmith-cli --version"
[ "$("$prefix/bin/tocsmith" --version)" = "tocsmith $version" ] || fail "tocsmith --version"

step "create on a generated book, with the installed language file"
"$here/build/out/tocsmith-demo-book" "$work/book.djvu"
english=$prefix/share/tocsmith/language/English.lng
[ -f "$english" ] || fail "no installed English.lng"
(cd "$work" && "$prefix/bin/tocsmith-cli" create --language "$english" --pages 2-2 --offset 2 \
  book.djvu >"$work/create.log") || { cat "$work/create.log"; fail "create failed"; }
links=$(djvused "$work/book.djvu" -e 'select 2; print-ant' | grep -c '(maparea "#' || true)
[ "$links" -gt 0 ] || fail "create wrote no link"

step "the window opens offscreen"
QT_QPA_PLATFORM=offscreen "$prefix/bin/tocsmith" >"$work/window.log" 2>&1 &
pid=$!
sleep 3
kill -0 "$pid" 2>/dev/null || { cat "$work/window.log"; fail "the window did not stay open"; }
kill "$pid"
wait "$pid" 2>/dev/null || true
[ ! -e "$prefix/bin/Tocsmith.ini" ] || fail "settings written beside the executable"

step "menu entry, metainfo, manual pages, completion"
desktop-file-validate "$prefix/share/applications/org.tocsmith.Tocsmith.desktop"
appstreamcli validate --no-net "$prefix/share/metainfo/org.tocsmith.Tocsmith.metainfo.xml" >/dev/null \
  || fail "metainfo does not validate"
[ -f "$prefix/share/icons/hicolor/scalable/apps/org.tocsmith.Tocsmith.svg" ] || fail "no icon"
for page in man1/tocsmith.1 man1/tocsmith-cli.1 ru/man1/tocsmith.1 ru/man1/tocsmith-cli.1; do
  file=$(ls "$prefix/share/man/$page"* | head -n 1)
  warnings=$(MANWIDTH=80 man --warnings -l "$file" 2>&1 >/dev/null || true)
  [ -z "$warnings" ] || fail "$page: $warnings"
  MANWIDTH=80 man -l "$file" | grep -q 'tocsmith' || fail "$page renders empty"
done
MANWIDTH=80 man -l "$(ls "$prefix/share/man/man1/tocsmith-cli.1"*)" | grep -q -- '--pages' \
  || fail "tocsmith-cli(1) lacks create's options"
completion=$prefix/share/bash-completion/completions/tocsmith-cli
got=$(bash -c 'source "$1"; COMP_WORDS=(tocsmith-cli cre); COMP_CWORD=1; _tocsmith_cli; echo "${COMPREPLY[*]}"' _ "$completion")
[ "$got" = create ] || fail "completion of 'cre' gave '$got'"
got=$(bash -c 'source "$1"; COMP_WORDS=(tocsmith-cli create --offs); COMP_CWORD=2; _tocsmith_cli; echo "${COMPREPLY[*]}"' _ "$completion")
[ "$got" = --offset ] || fail "completion of 'create --offs' gave '$got'"

if [ -n "$installed" ]; then
  step "removing the package"
  apt-get remove --purge -y -qq tocsmith >/dev/null
  installed=
  for f in "${files[@]}"; do
    [ ! -e "$f" ] || fail "left behind after removal: $f"
  done
  [ ! -e /usr/share/tocsmith ] || fail "left behind after removal: /usr/share/tocsmith"
fi
step "all passed (${#files[@]} files in the package)"
