#include "text_decode.h"

namespace tagwell::internal {

namespace {

constexpr char32_t kReplacement = 0xFFFD;

void DecodeLatin1(std::span<const std::uint8_t> b, bool stopAtNul, std::string& out) {
    for (std::uint8_t c : b) {
        if (c == 0 && stopAtNul) break;
        AppendCodePoint(out, c);
    }
}

// Length of the valid UTF-8 sequence starting at b[i] and its code point, or 0 when the
// bytes there do not form one (overlong forms and surrogates count as invalid).
std::size_t Utf8Sequence(std::span<const std::uint8_t> b, std::size_t i, char32_t& cp) {
    std::uint8_t c = b[i];
    std::size_t len;
    char32_t min;
    if (c < 0x80) {
        cp = c;
        return 1;
    } else if ((c & 0xE0) == 0xC0) {
        len = 2, cp = c & 0x1F, min = 0x80;
    } else if ((c & 0xF0) == 0xE0) {
        len = 3, cp = c & 0x0F, min = 0x800;
    } else if ((c & 0xF8) == 0xF0) {
        len = 4, cp = c & 0x07, min = 0x10000;
    } else {
        return 0;
    }
    if (i + len > b.size()) return 0;
    for (std::size_t k = 1; k < len; ++k) {
        if ((b[i + k] & 0xC0) != 0x80) return 0;
        cp = (cp << 6) | (b[i + k] & 0x3F);
    }
    if (cp < min || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) return 0;
    return len;
}

void DecodeUtf8(std::span<const std::uint8_t> b, bool stopAtNul, std::string& out) {
    std::size_t i = 0;
    if (b.size() >= 3 && b[0] == 0xEF && b[1] == 0xBB && b[2] == 0xBF) i = 3;
    while (i < b.size()) {
        if (b[i] == 0 && stopAtNul) break;
        char32_t cp;
        std::size_t len = Utf8Sequence(b, i, cp);
        if (len == 0) {
            // Text marked UTF-8 that is not valid UTF-8 is nearly always Latin-1 written by
            // a careless tagger; reading the byte as Latin-1 keeps it legible.
            AppendCodePoint(out, b[i]);
            ++i;
        } else {
            AppendCodePoint(out, cp);
            i += len;
        }
    }
}

void DecodeUtf16(std::span<const std::uint8_t> b, bool littleEndian, bool stopAtNul,
                 std::string& out) {
    std::size_t i = 0;
    auto unitAt = [&](std::size_t k) -> char32_t {
        return littleEndian ? (b[k] | (b[k + 1] << 8)) : ((b[k] << 8) | b[k + 1]);
    };
    while (i + 1 < b.size()) {
        char32_t u = unitAt(i);
        i += 2;
        if (u == 0 && stopAtNul) break;
        if (u >= 0xD800 && u <= 0xDBFF) {
            if (i + 1 < b.size()) {
                char32_t lo = unitAt(i);
                if (lo >= 0xDC00 && lo <= 0xDFFF) {
                    i += 2;
                    AppendCodePoint(out, 0x10000 + ((u - 0xD800) << 10) + (lo - 0xDC00));
                    continue;
                }
            }
            AppendCodePoint(out, kReplacement);
        } else if (u >= 0xDC00 && u <= 0xDFFF) {
            AppendCodePoint(out, kReplacement);
        } else {
            AppendCodePoint(out, u);
        }
    }
}

}  // namespace

void AppendCodePoint(std::string& out, char32_t cp) {
    if (cp == '\r') return;
    if (cp == '\n') {
        out += "\r\n";
        return;
    }
    if (cp < 0x80) {
        out += static_cast<char>(cp);
    } else if (cp < 0x800) {
        out += static_cast<char>(0xC0 | (cp >> 6));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else if (cp < 0x10000) {
        out += static_cast<char>(0xE0 | (cp >> 12));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (cp >> 18));
        out += static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    }
}

std::string BytesToText(std::span<const std::uint8_t> bytes, int encoding, bool stopAtNul) {
    std::string out;
    switch (encoding) {
        case kEncodingLatin1:
            DecodeLatin1(bytes, stopAtNul, out);
            break;
        case kEncodingUtf8:
            DecodeUtf8(bytes, stopAtNul, out);
            break;
        case kEncodingUtf16Bom:
            if (bytes.size() >= 2 && bytes[0] == 0xFE && bytes[1] == 0xFF) {
                DecodeUtf16(bytes.subspan(2), false, stopAtNul, out);
            } else if (bytes.size() >= 2 && bytes[0] == 0xFF && bytes[1] == 0xFE) {
                DecodeUtf16(bytes.subspan(2), true, stopAtNul, out);
            } else {
                // No byte-order mark: the text starts right away; little-endian is what
                // the writers that forget the mark produce.
                DecodeUtf16(bytes, true, stopAtNul, out);
            }
            break;
        case kEncodingUtf16Be:
            // A stray byte-order mark is not part of the text.
            if (bytes.size() >= 2 && bytes[0] == 0xFE && bytes[1] == 0xFF) bytes = bytes.subspan(2);
            DecodeUtf16(bytes, false, stopAtNul, out);
            break;
        default:
            break;
    }
    return out;
}

std::string Utf8Prefix(const std::string& text, std::size_t n) {
    std::size_t i = 0;
    while (i < text.size() && n > 0) {
        ++i;
        while (i < text.size() && (static_cast<unsigned char>(text[i]) & 0xC0) == 0x80) ++i;
        --n;
    }
    return text.substr(0, i);
}

}  // namespace tagwell::internal
