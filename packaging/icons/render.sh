#!/usr/bin/env bash
# Renders the PNG sizes of Vandrel's icon from vandrel.svg (needs rsvg-convert, package
# librsvg2-bin). The PNGs are kept in the repository, so a build never needs this.
set -euo pipefail
cd "$(dirname "$0")"
for size in 16 22 24 32 48 64 128 256; do
  rsvg-convert -w "$size" -h "$size" vandrel.svg -o "vandrel-$size.png"
done
