#!/usr/bin/env bash
# Takes the README's pictures of the main window after a run (a done and a failed row) and
# of the OCR editor with the page image, in Russian and English: screenshots/*.png.
# Needs a build (scripts/build.sh); runs under Xvfb when it is there, offscreen otherwise.
set -euo pipefail
here="$(cd "$(dirname "$0")/.." && pwd)"
test="${TEST:-$here/build/out/test_window_screenshots}"
[ -x "$test" ] || { echo "no $test: build first" >&2; exit 1; }
export TOCSMITH_SCREENSHOTS="$here/screenshots"
if command -v xvfb-run >/dev/null; then
  xvfb-run -a -s "-screen 0 1600x1000x24" "$test"
else
  QT_QPA_PLATFORM=offscreen "$test"
fi
ls -1 "$TOCSMITH_SCREENSHOTS"/*-window-results.png "$TOCSMITH_SCREENSHOTS"/*-ocr-editor.png
