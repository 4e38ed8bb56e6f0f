#!/usr/bin/env bash
# fuzz.sh [SECONDS] [TARGET...]: builds the libFuzzer targets with clang in build-fuzz/ and
# runs each for SECONDS (default 10) on a copy of its seed corpus in tests/fuzz/corpus/.
# Exits non-zero when a target crashes, leaks, hits undefined behaviour or a failed check;
# the input that did it is left in build-fuzz/crashes/<target>/.
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
seconds=${1:-10}
shift || true
"$here/scripts/install-deps.sh"
dir=$here/build-fuzz
mkdir -p "$dir"
if [ ! -f "$dir/CMakeCache.txt" ]; then
  cmake -S "$here" -B "$dir" -DTOCSMITH_FUZZ=ON -DCMAKE_CXX_COMPILER=clang++ \
    -DCMAKE_BUILD_TYPE=RelWithDebInfo >"$dir.configure.log" 2>&1 \
    || { cat "$dir.configure.log"; exit 1; }
fi
cmake --build "$dir" -j"$(nproc)" -- --no-print-directory >"$dir.build.log" 2>&1 \
  || { grep -E 'error|Error' -A3 "$dir.build.log" | head -80; exit 1; }

targets=("$@")
if [ ${#targets[@]} -eq 0 ]; then
  for src in "$here"/tests/fuzz/fuzz_*.cpp; do targets+=("$(basename "$src" .cpp)"); done
fi
export ASAN_OPTIONS=detect_leaks=1:allocator_may_return_null=1
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
failed=()
for target in "${targets[@]}"; do
  # New inputs go to a scratch corpus; the committed seeds stay as they are.
  work=$dir/corpus/$target crashes=$dir/crashes/$target
  mkdir -p "$work" "$crashes"
  echo "== $target (${seconds}s)"
  if ! "$dir/out/$target" "$work" "$here/tests/fuzz/corpus/$target" \
      -max_total_time="$seconds" -rss_limit_mb=2048 -timeout=20 -max_len=16384 \
      -artifact_prefix="$crashes/" -print_final_stats=1 >"$dir/$target.log" 2>&1; then
    tail -n 60 "$dir/$target.log"
    failed+=("$target")
  else
    grep -E '^stat::number_of_executed_units|^Done' "$dir/$target.log" || true
  fi
done
if [ ${#failed[@]} -gt 0 ]; then
  echo "Fuzz targets failed: ${failed[*]}" >&2
  exit 1
fi
