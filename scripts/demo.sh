#!/usr/bin/env bash
# Command-line demo: builds a small book with a contents page, turns the contents into
# hyperlinks with tocsmith-cli, and shows the hyperlinks djvused then reports.
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
out=$here/build/out
for program in tocsmith-cli tocsmith-demo-book; do
  if [ ! -x "$out/$program" ]; then
    echo "demo: $out/$program is missing; build first (./scripts/build.sh build)" >&2
    exit 1
  fi
done

work=$(mktemp -d "${TMPDIR:-/tmp}/tocsmith-demo.XXXXXX")
trap 'rm -rf "$work"' EXIT
book="$work/Демо книга.djvu"

echo "== Building a sample book: a cover, a contents page (page 2), ten pages of text"
"$out/tocsmith-demo-book" "$book"
djvused "$book" -e ls

echo
echo "== The contents page's text, as djvused prints it"
djvused "$book" -e 'select 2; output-txt' | sed -n '1,12p'
echo "   ..."

echo
echo "== What the Create pass will write (--dry-run changes nothing)"
# (the script keeps an empty line at each page it passes; squeezed here)
"$out/tocsmith-cli" create --dry-run --pages 2-2 --offset 2 "$book" | cat -s

echo
echo "== tocsmith-cli create --pages 2-2 --offset 2 --contents-link --contents-link-every-page \\"
echo "       --contents-link-target 2 --contents-link-comment 'К оглавлению' BOOK"
"$out/tocsmith-cli" create --pages 2-2 --offset 2 --contents-link --contents-link-every-page \
  --contents-link-target 2 --contents-link-comment 'К оглавлению' "$book"

echo
echo "== The hyperlinks djvused now reports (pages 1 to 3 of 12)"
djvused "$book" -e 'output-ant' | awk '/# page 4$/ {exit} {print}' | head -n -1

echo
echo "== Files beside the book"
ls -l "$work"
