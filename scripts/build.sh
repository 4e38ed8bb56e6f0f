#!/usr/bin/env bash
# build.sh BUILD_DIR [cmake options...]: configure once, then build quietly.
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
dir=$1; shift
# Compiled objects are shared between clones of the project through ccache, when it is there.
export CCACHE_BASEDIR=$here CCACHE_NOHASHDIR=1
if [ ! -f "$dir/CMakeCache.txt" ]; then
  cmake -S "$here" -B "$dir" -DCMAKE_BUILD_TYPE=RelWithDebInfo "$@" >"$dir.configure.log" 2>&1 \
    || { cat "$dir.configure.log"; exit 1; }
fi
cmake --build "$dir" -j"$(nproc)" -- --no-print-directory >"$dir.build.log" 2>&1 \
  || { grep -E 'error|Error' -A3 "$dir.build.log" | head -80; exit 1; }
