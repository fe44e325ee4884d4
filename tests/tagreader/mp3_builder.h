// Builds MP3 files byte by byte for the tag reader tests: ID3v1 tags, ID3v2.2/2.3/2.4
// frames and tags (extended headers, footers, unsynchronisation), MPEG frame headers and
// Xing/Info/VBRI headers. Each helper writes exactly what its name says and nothing more,
// so a test can also build the damaged variants it needs.
#pragma once

#include <cstdint>
#include <initializer_list>
#include <string>
#include <string_view>
#include <vector>

#include "tagwell/tag_reader.h"

namespace tagwell::test {

using Bytes = std::vector<std::uint8_t>;

// The bytes of a text as they are (Latin-1 or UTF-8 literals).
Bytes Raw(std::string_view text);
Bytes Cat(std::initializer_list<Bytes> parts);
Bytes Zeros(std::size_t n);

Bytes BigEndian32(std::uint32_t v);
Bytes Syncsafe32(std::uint32_t v);

// UTF-16 of a UTF-8 text, little- or big-endian, with or without a byte-order mark.
Bytes Utf16(std::string_view utf8, bool littleEndian, bool withBom);

// An ID3v1 tag (128 bytes). A track > 0 makes it ID3v1.1 (zero byte, track byte).
struct Id3v1 {
    std::string title, artist, album, year, comment;
    int track = 0;
    std::uint8_t genre = 255;
    Bytes Build() const;
};

// A text frame body: encoding byte followed by the bytes.
Bytes TextBody(std::uint8_t encoding, const Bytes& text);
Bytes Latin1Body(std::string_view text);

// Frames. flags2 is the second flag byte (v2.3/2.4). A v2.4 frame stores its size
// syncsafe unless plainSize asks for the plain big-endian form some writers use.
Bytes Frame22(std::string_view id, const Bytes& body);
Bytes Frame23(std::string_view id, const Bytes& body, std::uint8_t flags2 = 0);
Bytes Frame24(std::string_view id, const Bytes& body, std::uint8_t flags2 = 0,
              bool plainSize = false);

// A whole ID3v2 tag: "ID3", major, revision 0, flags, syncsafe size of body, body. The
// size field counts the body as given (so a v2.4 footer flag is only set in flags; call
// WithFooter to append the footer itself).
Bytes Tag(int major, std::uint8_t flags, const Bytes& body);
// A v2.4 tag with the footer flag set and its "3DI" footer appended.
Bytes TagWithFooter(std::uint8_t flags, const Bytes& body);

// Unsynchronisation: a zero byte after every 0xFF that is followed by 0x00 or a byte of
// at least 0xE0 (and after a final 0xFF).
Bytes Unsynchronise(const Bytes& in);

// One MPEG audio frame header. versionBits: 3 MPEG 1, 2 MPEG 2, 0 MPEG 2.5, 1 reserved.
// layerBits: 1 Layer III, 2 Layer II, 3 Layer I, 0 reserved. channel: 0 stereo ... 3 mono.
struct FrameHeader {
    int versionBits = 3;
    int layerBits = 1;
    int bitrateIndex = 9;  // 128 kbit/s for MPEG 1 Layer III
    int frequencyIndex = 0;
    int channel = 1;
    Bytes Build() const;
};

// A frame of `length` bytes: the header, then zeros.
Bytes Frame(const FrameHeader& h, std::size_t length);
// A frame of `length` bytes carrying a Xing-style header ("Xing" or "Info") after the side
// information. Frame and byte counts are written when their flag is given.
Bytes XingFrame(const FrameHeader& h, std::size_t length, std::string_view magic,
                std::uint32_t flags, std::uint32_t frames, std::uint32_t bytes);
// A frame carrying a VBRI header 32 bytes after the frame header.
Bytes VbriFrame(const FrameHeader& h, std::size_t length, std::uint32_t bytes,
                std::uint32_t frames);

// Reads bytes with a fresh reader.
inline TagReader ReadBytes(const Bytes& bytes) {
    TagReader reader;
    reader.LoadMP3Buffer(bytes.data(), bytes.size());
    return reader;
}

}  // namespace tagwell::test
