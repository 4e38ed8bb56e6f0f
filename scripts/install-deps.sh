#!/usr/bin/env bash
# Installs what building, running and testing need on Debian 12. Quiet when all is there.
set -euo pipefail
packages=(
  g++ cmake make pkg-config clang-format
  clang libclang-rt-dev
  qt6-base-dev qt6-base-dev-tools libgl-dev
  libgtest-dev googletest libbenchmark-dev
  djvulibre-bin netpbm qt6-translations-l10n parallel ccache
  libtesseract-dev libleptonica-dev tesseract-ocr-eng tesseract-ocr-rus
  desktop-file-utils appstream man-db dpkg-dev
  xvfb xauth
  djview4 x11-apps
)
missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0
if [ "$(id -u)" -ne 0 ]; then
  if command -v sudo >/dev/null; then SUDO="sudo -n"; else
    echo "Missing packages: ${missing[*]}. Run as root or install them first." >&2; exit 1
  fi
else SUDO=""; fi
echo "Installing: ${missing[*]}"
export DEBIAN_FRONTEND=noninteractive
$SUDO apt-get update -qq
$SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
