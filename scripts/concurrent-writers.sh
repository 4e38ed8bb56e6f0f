#!/usr/bin/env bash
# concurrent-writers.sh [BUILD_DIR] [ROUNDS]: runs each pair of writing commands at once on
# one book ROUNDS times (default 20), bundled and indirect, and prints per pair how many
# rounds ended with both changes in the book and how many with one run refused; a lost
# change fails the script.
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-$here/build}
rounds=${2:-20}
status=0
TOCSMITH_CONCURRENT_ROUNDS=$rounds "$build/out/test_concurrent_writers" >"${TMPDIR:-/tmp}/concurrent-writers.log" 2>&1 \
  || status=$?
grep -E '^pair |Failure|FAILED' "${TMPDIR:-/tmp}/concurrent-writers.log" || true
exit $status
