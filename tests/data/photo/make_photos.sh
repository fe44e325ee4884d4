#!/bin/sh
# Rebuilds the photo fixtures of this folder. Needs g++, Qt 6 Gui (its JPEG plugin) and
# exiftool. Run from anywhere: sh tests/data/photo/make_photos.sh
set -eu
here=$(cd "$(dirname "$0")" && pwd)
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT

g++ -std=c++17 -fPIC -o "$tmp/make_plain_jpeg" "$here/make_plain_jpeg.cpp" \
    $(pkg-config --cflags --libs Qt6Gui)
QT_QPA_PLATFORM=offscreen "$tmp/make_plain_jpeg" "$here/plain.jpg"

# A camera photo: Make, Model and DateTime in IFD0, as a camera writes them.
cp "$here/plain.jpg" "$here/sony.jpg"
exiftool -q -overwrite_original -Make=SONY -Model=DSC-N1 -EXIF:ModifyDate="2007:03:25 14:30:00" \
    "$here/sony.jpg"

# The same photo under the longer extension, which the photo attributes do not read.
cp "$here/sony.jpg" "$here/sony.jpeg"

# Only a Make; Model and DateTime absent.
cp "$here/plain.jpg" "$here/make_only.jpg"
exiftool -q -overwrite_original -Make="Canon" "$here/make_only.jpg"

# A DateTime too short to hold a date, and UTF-8 text in Make and Model.
cp "$here/plain.jpg" "$here/odd_values.jpg"
exiftool -q -overwrite_original -Make="Ästhetik" -Model="Ω-1" -EXIF:ModifyDate#="2007:03" \
    "$here/odd_values.jpg"

# Damaged: the camera photo cut off in the middle of its EXIF block.
head -c 60 "$here/sony.jpg" > "$here/damaged.jpg"

# A text file that only carries the .jpg name.
printf 'not a picture\n' > "$here/text.jpg"

# Damaged: complete file, but IFD0 claims 65535 entries and Make's value points far
# beyond the EXIF block.
python3 - "$here/sony.jpg" "$here/bad_ifd.jpg" <<'PY'
import struct, sys
data = bytearray(open(sys.argv[1], "rb").read())
tiff = data.index(b"Exif\0\0") + 6
ifd0 = tiff + struct.unpack(">I", data[tiff + 4:tiff + 8])[0]
entries = struct.unpack(">H", data[ifd0:ifd0 + 2])[0]
for i in range(entries):
    e = ifd0 + 2 + 12 * i
    if struct.unpack(">H", data[e:e + 2])[0] == 0x010F:
        struct.pack_into(">I", data, e + 4, 0x7FFFFFFF)  # count
        struct.pack_into(">I", data, e + 8, 0x7FFFFFF0)  # offset
struct.pack_into(">H", data, ifd0, 0xFFFF)
open(sys.argv[2], "wb").write(bytes(data))
PY
