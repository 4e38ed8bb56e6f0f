#!/usr/bin/env bash
# Writes the outline of the shared sample book from its two contents and takes a picture of
# the book opened in djview4 with the outline showing: screenshots/outline-djview.png.
# Installs djview4 when it is missing (netpbm turns the picture into PNG); needs a built tocsmith-cli (scripts/build.sh).
set -euo pipefail
here="$(cd "$(dirname "$0")/.." && pwd)"
sample="${SAMPLE:-$here/../shared/samples/djvulibre-book-ru.djvu}"
cli="${CLI:-$here/build/out/tocsmith-cli}"
out="$here/screenshots/outline-djview.png"

if ! command -v djview4 >/dev/null; then
  SUDO=""; [ "$(id -u)" -ne 0 ] && SUDO="sudo -n"
  export DEBIAN_FRONTEND=noninteractive
  $SUDO apt-get install -y -qq --no-install-recommends djview4 x11-apps >/dev/null
fi
for tool in Xvfb xwd xwdtopnm pnmtopng djvused; do
  command -v "$tool" >/dev/null || { echo "$tool is missing" >&2; exit 1; }
done
[ -x "$cli" ] || { echo "no $cli: build first" >&2; exit 1; }

work="$(mktemp -d)"
trap 'kill "${viewer:-}" "${xserver:-}" 2>/dev/null || true; rm -rf "$work"' EXIT
book="$work/book.djvu"
cp "$sample" "$book"
chmod u+w "$book"
djvused "$book" -e remove-outline -s
# The outline of the first contents (page 1); the second contents (pages 17-18, printed
# page + 16) replaces it in a second copy, so both outlines are put together by hand.
"$cli" create --reading smart --outline --no-links --no-backup --pages 1 "$book" >/dev/null
first="$("$cli" outline-export "$book")"
cp "$sample" "$work/second.djvu"
chmod u+w "$work/second.djvu"
djvused "$work/second.djvu" -e remove-outline -s
"$cli" create --reading smart --outline --no-links --no-backup --pages 17-18 --offset 16 "$work/second.djvu" \
  >/dev/null
second="$("$cli" outline-export "$work/second.djvu")"
printf '%s\n%s\n' "$first" "$second" | "$cli" outline-import "$book" - >/dev/null

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
