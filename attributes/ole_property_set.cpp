#include "attributes/ole_property_set.h"

#include <cstring>

#include "attributes/gsf_library.h"

namespace vandrel {

namespace {

constexpr std::uint32_t kVtI2 = 0x0002;
constexpr std::uint32_t kVtI4 = 0x0003;
constexpr std::uint32_t kVtBstr = 0x0008;
constexpr std::uint32_t kVtI1 = 0x0010;
constexpr std::uint32_t kVtUi1 = 0x0011;
constexpr std::uint32_t kVtUi2 = 0x0012;
constexpr std::uint32_t kVtUi4 = 0x0013;
constexpr std::uint32_t kVtInt = 0x0016;
constexpr std::uint32_t kVtUint = 0x0017;
constexpr std::uint32_t kVtLpstr = 0x001E;
constexpr std::uint32_t kVtLpwstr = 0x001F;
constexpr std::uint32_t kPidCodepage = 1;
constexpr int kCodepageUtf16 = 1200;
constexpr int kCodepageUtf8 = 65001;

// Little-endian reads that fail instead of reading past the end.
class Bytes {
  public:
    explicit Bytes(QByteArrayView data) : data_(data) {}
    std::size_t size() const { return static_cast<std::size_t>(data_.size()); }
    bool has(std::size_t offset, std::size_t count) const {
        return offset <= size() && count <= size() - offset;
    }
    std::optional<std::uint32_t> u32(std::size_t offset) const {
        if (!has(offset, 4)) return std::nullopt;
        const auto* p = reinterpret_cast<const unsigned char*>(data_.data()) + offset;
        return std::uint32_t(p[0]) | std::uint32_t(p[1]) << 8 | std::uint32_t(p[2]) << 16 |
               std::uint32_t(p[3]) << 24;
    }
    std::optional<std::uint16_t> u16(std::size_t offset) const {
        if (!has(offset, 2)) return std::nullopt;
        const auto* p = reinterpret_cast<const unsigned char*>(data_.data()) + offset;
        return static_cast<std::uint16_t>(p[0] | p[1] << 8);
    }
    const char* at(std::size_t offset) const { return data_.data() + offset; }

  private:
    QByteArrayView data_;
};

// 8-bit text in the set's code page, through libgsf's code-page table and iconv; bytes
// that cannot be converted (or a libgsf that cannot be loaded) fall back to Latin-1 so
// nothing is silently dropped.
QString DecodeCodepage(const char* bytes, std::size_t count, int codepage) {
    if (codepage == kCodepageUtf8) return QString::fromUtf8(bytes, static_cast<qsizetype>(count));
    const GsfLibrary* gsf = GsfLibrary::Get();
    GIConv conv = gsf ? gsf->msoleIconvOpenForImport(codepage) : reinterpret_cast<GIConv>(-1);
    if (conv != reinterpret_cast<GIConv>(-1)) {
        gsize written = 0;
        GError* err = nullptr;
        gchar* utf8 =
            gsf->convertWithIconv(bytes, static_cast<gssize>(count), conv, nullptr, &written, &err);
        gsf->iconvClose(conv);
        if (err) gsf->errorFree(err);
        if (utf8) {
            QString text = QString::fromUtf8(utf8, static_cast<qsizetype>(written));
            gsf->free(utf8);
            return text;
        }
    }
    return QString::fromLatin1(bytes, static_cast<qsizetype>(count));
}

QString Utf16Text(const char* bytes, std::size_t units) {
    QString text(static_cast<qsizetype>(units), Qt::Uninitialized);
    for (std::size_t i = 0; i < units; ++i) {
        const auto lo = static_cast<unsigned char>(bytes[2 * i]);
        const auto hi = static_cast<unsigned char>(bytes[2 * i + 1]);
        text[static_cast<qsizetype>(i)] = QChar(static_cast<char16_t>(lo | hi << 8));
    }
    const qsizetype nul = text.indexOf(QChar(u'\0'));
    return nul < 0 ? text : text.left(nul);
}

// The text of the property at offset within section, or nullopt for a kind not read or
// a value that does not fit in the section.
// A little-endian integer read from a section, in decimal as the type T it holds.
template <typename T, typename Raw>
std::optional<QString> NumberText(const std::optional<Raw>& raw) {
    if (!raw) return std::nullopt;
    return QString::number(static_cast<T>(*raw));
}

std::optional<QString> PropertyText(const Bytes& section, std::size_t offset, int codepage) {
    const auto type = section.u32(offset);
    if (!type) return std::nullopt;
    const std::size_t value = offset + 4;
    switch (*type) {  // the padding half must be zero: a vector or array flag is not read
        case kVtI2:
            return NumberText<std::int16_t>(section.u16(value));
        case kVtUi2:
            return NumberText<std::uint16_t>(section.u16(value));
        case kVtI1:
        case kVtUi1: {
            if (!section.has(value, 1)) return std::nullopt;
            const auto b = static_cast<unsigned char>(*section.at(value));
            return *type == kVtI1 ? QString::number(static_cast<signed char>(b))
                                  : QString::number(b);
        }
        case kVtI4:
        case kVtInt:
            return NumberText<std::int32_t>(section.u32(value));
        case kVtUi4:
        case kVtUint:
            return NumberText<std::uint32_t>(section.u32(value));
        case kVtLpstr:
        case kVtBstr: {
            const auto count = section.u32(value);
            if (!count || !section.has(value + 4, *count)) return std::nullopt;
            const char* bytes = section.at(value + 4);
            // In a UTF-16 set the 8-bit string kinds hold UTF-16 after all.
            if (codepage == kCodepageUtf16) return Utf16Text(bytes, *count / 2);
            const void* nul = std::memchr(bytes, 0, *count);
            const std::size_t length =
                nul ? static_cast<std::size_t>(static_cast<const char*>(nul) - bytes) : *count;
            return DecodeCodepage(bytes, length, codepage);
        }
        case kVtLpwstr: {
            const auto units = section.u32(value);
            if (!units || *units > section.size() / 2 ||
                !section.has(value + 4, std::size_t(*units) * 2))
                return std::nullopt;
            return Utf16Text(section.at(value + 4), *units);
        }
        default:
            return std::nullopt;
    }
}

}  // namespace

std::optional<std::map<std::uint32_t, QString>> ReadPropertySet(QByteArrayView stream,
                                                                const FormatId& fmtid) {
    const Bytes all(stream);
    const auto byteOrder = all.u16(0);
    const auto setCount = all.u32(24);
    if (!byteOrder || *byteOrder != 0xFFFE || !setCount) return std::nullopt;
    // At most two sections exist; a larger count is damage, and only what the stream
    // holds is looked at.
    std::optional<std::size_t> sectionStart;
    for (std::uint32_t i = 0; i < *setCount && i < 2; ++i) {
        const std::size_t entry = 28 + 20 * std::size_t(i);
        const auto offset = all.u32(entry + 16);
        if (!all.has(entry, 20) || !offset) return std::nullopt;
        if (std::memcmp(all.at(entry), fmtid.data(), fmtid.size()) == 0) {
            sectionStart = *offset;
            break;
        }
    }
    if (!sectionStart || !all.has(*sectionStart, 8)) return std::nullopt;

    // The section is read within its own declared size, itself cut to the stream.
    const auto declared = all.u32(*sectionStart);
    const std::size_t available = all.size() - *sectionStart;
    const std::size_t sectionSize = std::min<std::size_t>(*declared, available);
    const Bytes section(
        stream.sliced(static_cast<qsizetype>(*sectionStart), static_cast<qsizetype>(sectionSize)));
    const auto count = section.u32(4);
    // Each property needs an 8-byte table entry: a count the section cannot hold means the
    // header is damaged, and reading on would take value bytes for table entries.
    if (!count || *count > (section.size() - 8) / 8) return std::nullopt;
    const std::size_t properties = *count;

    int codepage = 1252;  // what office programs assume when the set names none
    for (std::size_t i = 0; i < properties; ++i) {
        if (section.u32(8 + 8 * i) != kPidCodepage) continue;
        const auto offset = section.u32(12 + 8 * i);
        const auto type = offset ? section.u32(*offset) : std::nullopt;
        const auto value = offset ? section.u16(*offset + 4) : std::nullopt;
        if (type == kVtI2 && value) codepage = *value;  // 1200, 65001 are stored as unsigned
        break;
    }

    std::map<std::uint32_t, QString> texts;
    for (std::size_t i = 0; i < properties; ++i) {
        const auto pid = section.u32(8 + 8 * i);
        const auto offset = section.u32(12 + 8 * i);
        if (!pid || !offset || *pid == kPidCodepage || *pid == 0 || texts.count(*pid)) continue;
        if (auto text = PropertyText(section, *offset, codepage)) texts[*pid] = std::move(*text);
    }
    return texts;
}

}  // namespace vandrel
