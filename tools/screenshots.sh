#!/bin/sh
# Screenshots of the control gallery at device pixel ratios 1 and 2, drawn offscreen.
#   tools/screenshots.sh [BUILD_DIR] [OUT_DIR]
# Writes OUT_DIR/gallery-pageN-dpr1.png and -dpr2.png for every page (default /tmp/vandrel-shots),
# and gallery-focus-NAME-dpr2.png with the keyboard focus on each control named in $GALLERY_FOCUS.
set -eu
build=${1:-build}
out=${2:-/tmp/vandrel-shots}
gallery="$build/app/gallery/vandrel-gallery"
[ -x "$gallery" ] || { echo "screenshots.sh: build $gallery first" >&2; exit 2; }
mkdir -p "$out"
pages=${GALLERY_PAGES:-0}
for page in $pages; do
    for ratio in 1 2; do
        file="$out/gallery-page$page-dpr$ratio.png"
        QT_QPA_PLATFORM=offscreen QT_SCALE_FACTOR=$ratio "$gallery" --page "$page" --screenshot "$file"
        echo "$file"
    done
done
for name in ${GALLERY_FOCUS:-btn_add cmbOperator chkConfirm numDays}; do
    file="$out/gallery-focus-$name-dpr2.png"
    QT_QPA_PLATFORM=offscreen QT_SCALE_FACTOR=2 "$gallery" --focus "$name" --screenshot "$file"
    echo "$file"
done
