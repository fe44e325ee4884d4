#!/bin/sh
# Makes the small real MP3 fixtures of the tag reader tests with Debian's own tools
# (lame, id3v2, eyeD3). Run from anywhere; writes into this folder. The tests hold the
# values these files must give, so regenerate only on purpose and re-check them.
set -eu
cd "$(dirname "$0")"
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT

# Raw 16-bit little-endian PCM: a 440 Hz tone, SECONDS long, CHANNELS, RATE.
pcm() { # rate channels seconds out
    python3 - "$@" <<'PY'
import math, struct, sys
rate, ch, secs, out = int(sys.argv[1]), int(sys.argv[2]), float(sys.argv[3]), sys.argv[4]
with open(out, "wb") as f:
    for i in range(int(rate * secs)):
        v = int(8000 * math.sin(2 * math.pi * 440 * i / rate))
        f.write(struct.pack("<" + "h" * ch, *([v] * ch)))
PY
}

pcm 44100 2 2 "$tmp/st44.raw"
pcm 22050 1 3 "$tmp/mono22.raw"
pcm 32000 2 1 "$tmp/st32.raw"

lame_raw() { # rate-khz channels-mode in out options...
    rate=$1 mode=$2 in=$3 out=$4
    shift 4
    lame --quiet -r -s "$rate" --bitwidth 16 --signed --little-endian -m "$mode" "$@" "$in" "$out"
}

# 1. CBR 128 kbit/s, 44.1 kHz joint stereo, LAME "Info" header, ID3v1 + ID3v2 from lame.
lame_raw 44.1 j "$tmp/st44.raw" lame_cbr128_info_tags.mp3 -b 128 --cbr \
    --add-id3v2 --tt "Lame Title" --ta "Lame Artist" --tl "Lame Album" --ty 2007 \
    --tn 3/9 --tg Jazz

# 2. VBR mono 22.05 kHz (MPEG 2 Layer III) with a Xing header, ID3v2 only.
lame_raw 22.05 m "$tmp/mono22.raw" lame_vbr_mono22_xing.mp3 -V 5 \
    --id3v2-only --tt "Mono VBR" --ta "Lame Artist"

# 3. Plain CBR 64 kbit/s at 32 kHz stereo without any VBR header and without tags.
lame_raw 32 s "$tmp/st32.raw" lame_cbr64_plain.mp3 -b 64 --cbr -t --resample 32

# 4. The plain stream tagged by id3v2: an ID3v2.3 tag at the start and an ID3v1 tag.
cp lame_cbr64_plain.mp3 id3v2_tool_v23_v1.mp3
id3v2 -a "Id3v2 Artist" -A "Id3v2 Album" -t "Id3v2 Title" -T 5/12 -y 1998 -g 17 \
    id3v2_tool_v23_v1.mp3

# 5. eyeD3 ID3v2.4 in UTF-8 with accents, a recording date, a text genre, no ID3v1.
cp lame_cbr64_plain.mp3 eyed3_v24_utf8.mp3
eyeD3 --quiet --no-color --to-v2.4 --encoding utf8 -a "Björk Guðmundsdóttir" \
    -A "Ærø Ünïcødé" -t "Café Olé" -n 2 -N 10 --recording-date 2003-05-01 \
    -G "Trip-Hop" eyed3_v24_utf8.mp3 >/dev/null

# 6. eyeD3 ID3v2.3 in UTF-16 (with byte-order mark) and a numeric genre.
cp lame_cbr64_plain.mp3 eyed3_v23_utf16.mp3
eyeD3 --quiet --no-color --to-v2.3 --encoding utf16 -a "Zoë Ψ" -A "Ελληνικά" \
    -t "日本語 title" -n 4 --recording-date 2011 -G 140 eyed3_v23_utf16.mp3 >/dev/null
