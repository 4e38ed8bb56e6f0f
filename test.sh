#!/usr/bin/env bash
# Installs what is missing, builds, and runs every test. Exits non-zero on any failure.
#   ./test.sh              normal build in build/
#   ./test.sh --sanitize   AddressSanitizer + UndefinedBehaviorSanitizer build in build-asan/
set -euo pipefail
cd "$(dirname "$0")"
./scripts/install-deps.sh
dir=build; opts=()
if [ "${1:-}" = "--sanitize" ]; then
  dir=build-asan; opts=(-DTOCSMITH_SANITIZE=ON -DTOCSMITH_BENCH=OFF)
  export ASAN_OPTIONS=detect_leaks=0 UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
fi
mkdir -p "$dir"
./scripts/build.sh "$dir" "${opts[@]}"
export QT_QPA_PLATFORM=offscreen
ctest --test-dir "$dir" --output-on-failure -j"$(nproc)"
