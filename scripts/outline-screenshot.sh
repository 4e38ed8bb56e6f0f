#!/usr/bin/env bash
# Writes the outline of the shared sample book from its two contents and takes a picture of
# the book opened in djview4 with the outline showing: screenshots/outline-djview.png.
# Needs djview4, Xvfb, xwd and netpbm (scripts/install-deps.sh) and a built tocsmith-cli
# (scripts/build.sh).
set -euo pipefail
here="$(cd "$(dirname "$0")/.." && pwd)"
sample="${SAMPLE:-$here/../shared/samples/djvulibre-book-ru.djvu}"
cli="${CLI:-$here/build/out/tocsmith-cli}"
out="$here/screenshots/outline-djview.png"

for tool in djview4 Xvfb xwd xwdtopnm pnmtopng djvused; do
  command -v "$tool" >/dev/null || { echo "$tool is missing: run scripts/install-deps.sh" >&2; exit 1; }
done
[ -x "$cli" ] || { echo "no $cli: build first" >&2; exit 1; }

work="$(mktemp -d)"
trap 'kill "${viewer:-}" "${xserver:-}" 2>/dev/null || true; rm -rf "$work"' EXIT
book="$work/book.djvu"
cp "$sample" "$book"
chmod u+w "$book"
djvused "$book" -e remove-outline -s
# Both contents in one run: page 1 as printed, pages 17-18 with the printed page + 16.
"$cli" create --reading smart --outline --no-links --no-backup --pages 1,17-18 --offset 0,16 \
  "$book" >/dev/null

display=":$((90 + RANDOM % 100))"
Xvfb "$display" -screen 0 1280x900x24 -nolisten tcp &
xserver=$!
for _ in $(seq 50); do [ -e "/tmp/.X11-unix/X${display#:}" ] && break; sleep 0.1; done
DISPLAY="$display" djview4 -geometry 1280x900+0+0 -page=1 -zoom=width \
  -sidebar=left,outline "$book" >/dev/null 2>&1 &
viewer=$!
sleep "${WAIT:-6}"
DISPLAY="$display" xwd -root -silent | xwdtopnm 2>/dev/null | pnmtopng >"$out"
echo "$out"
