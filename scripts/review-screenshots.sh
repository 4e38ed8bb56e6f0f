#!/usr/bin/env bash
# Takes the pictures of the review window on the shared sample book (its contents on page 1,
# and on pages 17-18 with the printed pages 16 ahead), in Russian and English, into
# screenshots/review-*.png. Runs the window under Xvfb when it is there, offscreen otherwise;
# needs a built test_review_window (scripts/build.sh).
set -euo pipefail
here="$(cd "$(dirname "$0")/.." && pwd)"
sample="${SAMPLE:-$here/../shared/samples/djvulibre-book-ru.djvu}"
tests="${TESTS:-$here/build/out}"
[ -x "$tests/test_review_window" ] || { echo "no $tests/test_review_window: build first" >&2; exit 1; }
[ -f "$sample" ] || { echo "no sample book $sample" >&2; exit 1; }

export TOCSMITH_SCREENSHOTS="$here/screenshots"
export TOCSMITH_REVIEW_BOOK="$sample"
filter=--gtest_filter=ReviewWindowTest.ScreenshotsOfTheSampleBooksReview
cd "$tests"
if command -v xvfb-run >/dev/null; then
  QT_QPA_PLATFORM=xcb xvfb-run -a -s "-screen 0 1280x900x24" ./test_review_window "$filter"
else
  QT_QPA_PLATFORM=offscreen ./test_review_window "$filter"
fi
ls -l "$TOCSMITH_SCREENSHOTS"/review-*.png
