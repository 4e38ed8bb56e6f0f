#!/usr/bin/env bash
# score.sh [BUILD_DIR] [score_samples options...]: builds the command-line program and the
# score program, then scores the reading on the sample books (../shared/samples).
# Example: scripts/score.sh build --reading classic --only malliavin
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
dir=${1:-$here/build}
[ $# -gt 0 ] && shift
cmake --build "$dir" -j2 --target score_samples -- --no-print-directory >/dev/null
exec "$dir/out/score_samples" --samples "$here/../shared/samples" "$@"
