#!/usr/bin/env bash
# Times whole runs on a generated book of PAGES pages of 300 words (default 1,000): djvused's
# own text dump, ocr-export on the djvused and XML routes, ocr-import of one edited page on
# both routes. Peak memory (maximum resident set) from /usr/bin/time.
#   bench/ocr_routes.sh [BUILD_OUT_FOLDER] [PAGES]
set -euo pipefail
out=$(cd "${1:-build/out}" && pwd)
pages=${2:-1000}
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
book="$tmp/book.djvu"
"$out/bench_ocr" --write-book "$book" "$pages"

measure() {
  local name=$1
  shift
  /usr/bin/time -f '%e %M' -o "$tmp/time" "$@" > "$tmp/stdout"
  read -r seconds kb < "$tmp/time"
  printf '%-42s %7.2f s %9d KB\n' "$name" "$seconds" "$kb"
}

echo "Book: $pages pages, $(stat -c %s "$book") bytes"
measure "djvused -e output-txt" djvused "$book" -e output-txt
echo "Text layer as djvused prints it: $(stat -c %s "$tmp/stdout") bytes"
measure "djvutoxml" djvutoxml "$book" "$tmp/dump.xml"
measure "ocr-export (djvused route)" "$out/tocsmith-cli" ocr-export "$book"
cp "$tmp/stdout" "$tmp/all.txt"
measure "ocr-export --route xml" "$out/tocsmith-cli" ocr-export --route xml "$book"
cmp -s "$tmp/stdout" "$tmp/all.txt" && echo "Both routes print the same text."

# One page with one changed letter, imported on each route into its own copy.
middle=$((pages / 2))
"$out/tocsmith-cli" ocr-export --pages "$middle" "$book" | sed '2s/^./Z/' > "$tmp/page.txt"
cp "$book" "$tmp/copy.djvu"
measure "ocr-import of one page (djvused route)" "$out/tocsmith-cli" ocr-import "$book" "$tmp/page.txt"
measure "ocr-import of one page --route xml" "$out/tocsmith-cli" ocr-import --route xml "$tmp/copy.djvu" "$tmp/page.txt"
