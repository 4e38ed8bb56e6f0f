#!/usr/bin/env bash
# package.sh [--test]: builds the Debian package tocsmith_VERSION_ARCH.deb into build/.
# With --test it then installs the package, tries the installed programs from their installed
# files only, validates the menu entry, metainfo and manual pages, and removes the package.
set -euo pipefail
cd "$(dirname "$0")/.."
./scripts/install-deps.sh
./scripts/build.sh build
rm -f build/tocsmith_*.deb
(cd build && cpack -G DEB >../build.package.log 2>&1) || { cat build.package.log; exit 1; }
deb=$(ls build/tocsmith_*.deb)
echo "package: $deb"
[ "${1:-}" = "--test" ] && ./scripts/package-test.sh "$deb"
exit 0
