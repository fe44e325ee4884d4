#include "mp3_builder.h"

#include <algorithm>

namespace tagwell::test {

Bytes Raw(std::string_view text) { return Bytes(text.begin(), text.end()); }

Bytes Cat(std::initializer_list<Bytes> parts) {
    Bytes out;
    for (const Bytes& p : parts) out.insert(out.end(), p.begin(), p.end());
    return out;
}

Bytes Zeros(std::size_t n) { return Bytes(n, 0); }

Bytes BigEndian32(std::uint32_t v) {
    return {static_cast<std::uint8_t>(v >> 24), static_cast<std::uint8_t>(v >> 16),
            static_cast<std::uint8_t>(v >> 8), static_cast<std::uint8_t>(v)};
}

Bytes Syncsafe32(std::uint32_t v) {
    return {static_cast<std::uint8_t>((v >> 21) & 0x7F),
            static_cast<std::uint8_t>((v >> 14) & 0x7F), static_cast<std::uint8_t>((v >> 7) & 0x7F),
            static_cast<std::uint8_t>(v & 0x7F)};
}

namespace {

// Decodes UTF-8 (well-formed test input only) into code points.
std::u32string CodePoints(std::string_view s) {
    std::u32string out;
    for (std::size_t i = 0; i < s.size();) {
        unsigned char c = static_cast<unsigned char>(s[i]);
        int len = c < 0x80 ? 1 : (c >> 5) == 6 ? 2 : (c >> 4) == 14 ? 3 : 4;
        char32_t cp = len == 1 ? c : len == 2 ? (c & 0x1F) : len == 3 ? (c & 0x0F) : (c & 0x07);
        for (int k = 1; k < len; ++k)
            cp = (cp << 6) | (static_cast<unsigned char>(s[i + k]) & 0x3F);
        out += cp;
        i += static_cast<std::size_t>(len);
    }
    return out;
}

void PutUnit(Bytes& out, std::uint16_t u, bool le) {
    if (le) {
        out.push_back(static_cast<std::uint8_t>(u));
        out.push_back(static_cast<std::uint8_t>(u >> 8));
    } else {
        out.push_back(static_cast<std::uint8_t>(u >> 8));
        out.push_back(static_cast<std::uint8_t>(u));
    }
}

void PutField(Bytes& out, std::size_t at, const std::string& text, std::size_t width) {
    for (std::size_t i = 0; i < width && i < text.size(); ++i)
        out[at + i] = static_cast<std::uint8_t>(text[i]);
}

}  // namespace

Bytes Utf16(std::string_view utf8, bool littleEndian, bool withBom) {
    Bytes out;
    if (withBom) PutUnit(out, 0xFEFF, littleEndian);
    for (char32_t cp : CodePoints(utf8)) {
        if (cp >= 0x10000) {
            cp -= 0x10000;
            PutUnit(out, static_cast<std::uint16_t>(0xD800 + (cp >> 10)), littleEndian);
            PutUnit(out, static_cast<std::uint16_t>(0xDC00 + (cp & 0x3FF)), littleEndian);
        } else {
            PutUnit(out, static_cast<std::uint16_t>(cp), littleEndian);
        }
    }
    return out;
}

Bytes Id3v1::Build() const {
    Bytes tag(128, 0);
    tag[0] = 'T', tag[1] = 'A', tag[2] = 'G';
    PutField(tag, 3, title, 30);
    PutField(tag, 33, artist, 30);
    PutField(tag, 63, album, 30);
    PutField(tag, 93, year, 4);
    PutField(tag, 97, comment, track > 0 ? 28 : 30);
    if (track > 0) {
        tag[125] = 0;
        tag[126] = static_cast<std::uint8_t>(track);
    }
    tag[127] = genre;
    return tag;
}

Bytes TextBody(std::uint8_t encoding, const Bytes& text) {
    // Reserved first: GCC 12 at -O3 warns falsely about the growth from one byte.
    Bytes out;
    out.reserve(text.size() + 1);
    out.push_back(encoding);
    out.insert(out.end(), text.begin(), text.end());
    return out;
}

Bytes Latin1Body(std::string_view text) { return TextBody(0, Raw(text)); }

Bytes Frame22(std::string_view id, const Bytes& body) {
    std::uint32_t n = static_cast<std::uint32_t>(body.size());
    Bytes out = Raw(id.substr(0, 3));
    out.push_back(static_cast<std::uint8_t>(n >> 16));
    out.push_back(static_cast<std::uint8_t>(n >> 8));
    out.push_back(static_cast<std::uint8_t>(n));
    out.insert(out.end(), body.begin(), body.end());
    return out;
}

Bytes Frame23(std::string_view id, const Bytes& body, std::uint8_t flags2) {
    return Cat({Raw(id.substr(0, 4)), BigEndian32(static_cast<std::uint32_t>(body.size())),
                Bytes{0, flags2}, body});
}

Bytes Frame24(std::string_view id, const Bytes& body, std::uint8_t flags2, bool plainSize) {
    std::uint32_t n = static_cast<std::uint32_t>(body.size());
    return Cat(
        {Raw(id.substr(0, 4)), plainSize ? BigEndian32(n) : Syncsafe32(n), Bytes{0, flags2}, body});
}

Bytes Tag(int major, std::uint8_t flags, const Bytes& body) {
    return Cat({Raw("ID3"), Bytes{static_cast<std::uint8_t>(major), 0, flags},
                Syncsafe32(static_cast<std::uint32_t>(body.size())), body});
}

Bytes TagWithFooter(std::uint8_t flags, const Bytes& body) {
    flags |= 0x10;
    Bytes size = Syncsafe32(static_cast<std::uint32_t>(body.size()));
    return Cat({Raw("ID3"), Bytes{4, 0, flags}, size, body, Raw("3DI"), Bytes{4, 0, flags}, size});
}

Bytes Unsynchronise(const Bytes& in) {
    Bytes out;
    for (std::size_t i = 0; i < in.size(); ++i) {
        out.push_back(in[i]);
        if (in[i] == 0xFF && (i + 1 == in.size() || in[i + 1] == 0x00 || in[i + 1] >= 0xE0))
            out.push_back(0x00);
    }
    return out;
}

Bytes FrameHeader::Build() const {
    return {0xFF, static_cast<std::uint8_t>(0xE0 | (versionBits << 3) | (layerBits << 1) | 1),
            static_cast<std::uint8_t>((bitrateIndex << 4) | (frequencyIndex << 2)),
            static_cast<std::uint8_t>(channel << 6)};
}

Bytes Frame(const FrameHeader& h, std::size_t length) {
    Bytes out = h.Build();
    out.resize(std::max<std::size_t>(length, out.size()), 0);
    return out;
}

Bytes XingFrame(const FrameHeader& h, std::size_t length, std::string_view magic,
                std::uint32_t flags, std::uint32_t frames, std::uint32_t bytes) {
    bool mono = h.channel == 3;
    std::size_t side = h.versionBits == 3 ? (mono ? 17 : 32) : (mono ? 9 : 17);
    Bytes out = Frame(h, length);
    Bytes x = Cat({Raw(magic), BigEndian32(flags)});
    if (flags & 1) x = Cat({x, BigEndian32(frames)});
    if (flags & 2) x = Cat({x, BigEndian32(bytes)});
    if (out.size() < 4 + side + x.size()) out.resize(4 + side + x.size(), 0);
    std::copy(x.begin(), x.end(), out.begin() + static_cast<std::ptrdiff_t>(4 + side));
    return out;
}

Bytes VbriFrame(const FrameHeader& h, std::size_t length, std::uint32_t bytes,
                std::uint32_t frames) {
    Bytes out = Frame(h, length);
    Bytes v = Cat({Raw("VBRI"), Bytes{0, 1, 0, 0, 0, 0}, BigEndian32(bytes), BigEndian32(frames)});
    if (out.size() < 36 + v.size()) out.resize(36 + v.size(), 0);
    std::copy(v.begin(), v.end(), out.begin() + 36);
    return out;
}

}  // namespace tagwell::test
