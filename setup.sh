#!/usr/bin/env bash
# Prepares a fresh Debian 12 machine for Vandrel and builds it.
# Usage: ./setup.sh [PRESET]   (a configure preset of CMakePresets.json; default: dev,
# which builds into build/; ci is the same build with warnings as errors)
set -euo pipefail
cd "$(dirname "$0")"
PRESET=${1:-dev}

PACKAGES=(
  # build
  cmake ninja-build g++ pkg-config ccache
  qt6-base-dev libsqlite3-dev libgtest-dev libgmock-dev
  libgsf-1-dev
  # tests only: our EXIF reader is checked against exiv2's answers
  libexiv2-dev
  # fuzzing (libFuzzer) and the sanitizer runtime
  clang libclang-rt-14-dev
  # layout check of CI (tools/check-format.sh)
  clang-format
  # tests: desktop services and fixture tools
  xdg-utils cups-client id3v2 eyed3 lame libimage-exiftool-perl python3 util-linux
  # screenshots of the windows (tools/screenshots.sh)
  imagemagick
  # the desktop end-to-end test and benchmark (an X server, a tray, mouse and keys)
  xvfb xauth xdotool trayer
  # the installation test (validates the launcher)
  desktop-file-utils
  # benchmarks only
  libtag1-dev
)

if [ "$(id -u)" = 0 ]; then
  SUDO=
else
  SUDO=sudo
fi
missing=()
for p in "${PACKAGES[@]}"; do
  dpkg -s "$p" >/dev/null 2>&1 || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  $SUDO apt-get update -q
  DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -q --no-install-recommends "${missing[@]}"
fi

cmake --preset "$PRESET"
cmake --build --preset "$PRESET"
