// Turns the byte runs of ID3 text fields into UTF-8. Line breaks are normalised the way
// the tag texts have always been shown: a carriage return is dropped and a line feed
// becomes carriage return + line feed.
#pragma once

#include <cstdint>
#include <span>
#include <string>

namespace tagwell::internal {

// ID3v2 text encodings by their encoding byte.
enum : int {
    kEncodingLatin1 = 0,
    kEncodingUtf16Bom = 1,  // UTF-16 led by a byte-order mark (either order)
    kEncodingUtf16Be = 2,
    kEncodingUtf8 = 3,
};

// Decodes bytes in the given encoding to UTF-8. With stopAtNul the text ends at the first
// NUL character (so only the first string of a multi-string frame is kept). An unknown
// encoding gives the empty text.
std::string BytesToText(std::span<const std::uint8_t> bytes, int encoding, bool stopAtNul);

// Appends one code point as UTF-8, applying the line-break rule above.
void AppendCodePoint(std::string& out, char32_t cp);

// The first n characters (code points) of a UTF-8 text.
std::string Utf8Prefix(const std::string& text, std::size_t n);

}  // namespace tagwell::internal
