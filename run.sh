#!/usr/bin/env bash
# Installs what is missing, builds, and starts the window. Without a display it runs the
# command-line demo instead.
set -euo pipefail
cd "$(dirname "$0")"
./scripts/install-deps.sh
mkdir -p build
./scripts/build.sh build
if [ -n "${DISPLAY:-}${WAYLAND_DISPLAY:-}" ]; then
  exec build/out/tocsmith "$@"
fi
echo "No display found: running the command-line demo instead."
echo "(To see the window, run ./run.sh from a desktop session, or: xvfb-run ./run.sh)"
exec ./scripts/demo.sh
