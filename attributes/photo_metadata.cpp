#include "attributes/photo_metadata.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QFile>
#include <QStringDecoder>
#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <span>
#include <string>
#include <vector>

namespace vandrel {

namespace {

// The bytes of a photo, from memory or from an open file. A file is read once at its head,
// which holds the EXIF block of nearly every photo; anything further is read on demand, so
// the image data itself is never read.
class PhotoBytes {
  public:
    PhotoBytes(const unsigned char* data, std::size_t size)
        : data_(data), size_(size), sizeKnown_(true) {}
    explicit PhotoBytes(int fd) : fd_(fd), data_(head_) {
        headSize_ = ReadAt(0, head_, kHead);
        const std::size_t got = headSize_;
        // A head shorter than asked for is the whole file.
        if (got < kHead && !failed_) {
            size_ = got;
            sizeKnown_ = true;
        }
    }

    bool failed() const { return failed_; }

    // The length of the photo in bytes (a file's is asked of the system when first needed).
    std::uint64_t size() {
        if (!sizeKnown_) {
            struct stat st {};
            if (::fstat(fd_, &st) == 0 && st.st_size >= 0) {
                size_ = static_cast<std::uint64_t>(st.st_size);
            } else {
                failed_ = true;
                size_ = headSize_;
            }
            sizeKnown_ = true;
        }
        return size_;
    }

    // Up to len bytes from offset: fewer only where the photo ends (or a read failed). The
    // view stays valid until the next call.
    std::span<const unsigned char> view(std::uint64_t offset, std::size_t len) {
        const std::uint64_t have = fd_ < 0 ? size_ : headSize_;
        if (offset <= have && len <= have - offset) return {data_ + offset, len};
        // Memory, or a file no longer than its head: the photo ends here.
        if (fd_ < 0 || (sizeKnown_ && size_ <= have)) {
            if (offset >= have) return {};
            return {data_ + offset, static_cast<std::size_t>(have - offset)};
        }
        if (failed_) return {};
        scratch_.resize(len);
        scratch_.resize(ReadAt(offset, scratch_.data(), len));
        return {scratch_.data(), scratch_.size()};
    }

  private:
    // Big enough for the EXIF block of a photo without a thumbnail and for the start of one
    // with: its main image's values lie near the start.
    static constexpr std::size_t kHead = 8192;

    std::size_t ReadAt(std::uint64_t offset, unsigned char* out, std::size_t len) {
        std::size_t done = 0;
        while (done < len) {
            const ssize_t n =
                ::pread(fd_, out + done, len - done, static_cast<off_t>(offset + done));
            if (n < 0) {
                if (errno == EINTR) continue;
                failed_ = true;
                break;
            }
            if (n == 0) break;
            done += static_cast<std::size_t>(n);
        }
        return done;
    }

    int fd_ = -1;
    const unsigned char* data_ = nullptr;
    std::uint64_t size_ = 0;
    bool sizeKnown_ = false;
    bool failed_ = false;
    // Only what was read is ever looked at, so the head is left unfilled until then.
    unsigned char head_[kHead];
    std::size_t headSize_ = 0;
    std::vector<unsigned char> scratch_;
};

std::uint16_t U16(const unsigned char* p, bool bigEndian) {
    return static_cast<std::uint16_t>(bigEndian ? (p[0] << 8) | p[1] : (p[1] << 8) | p[0]);
}

std::uint32_t U32(const unsigned char* p, bool bigEndian) {
    const std::uint32_t b0 = p[0], b1 = p[1], b2 = p[2], b3 = p[3];
    return bigEndian ? (b0 << 24) | (b1 << 16) | (b2 << 8) | b3
                     : (b3 << 24) | (b2 << 16) | (b1 << 8) | b0;
}

// Bytes of one value of each TIFF type; an unknown type counts one byte a value.
std::uint32_t TypeSize(std::uint16_t type) {
    switch (type) {
        case 3:
        case 8:
            return 2;
        case 4:
        case 9:
        case 11:
        case 13:
            return 4;
        case 5:
        case 10:
        case 12:
        case 16:
        case 17:
        case 18:
            return 8;
        default:
            return 1;
    }
}

void Append(std::string& out, const char* text) {
    if (!out.empty()) out += ' ';
    out += text;
}

// The text of a value as the common EXIF libraries give it: text up to its first NUL; other
// types as their numbers, separated by spaces (bytes and unknown types byte by byte,
// fractions as "n/d", floating point with 15 significant digits), so a Make stored with a
// wrong type reads the same as elsewhere.
std::string ValueText(std::uint16_t type, const unsigned char* p, std::size_t size, bool be) {
    if (size == 0) return {};
    if (type == 2)
        return std::string(reinterpret_cast<const char*>(p),
                           strnlen(reinterpret_cast<const char*>(p), size));
    std::string out;
    char num[64];
    const std::size_t step = TypeSize(type);
    for (std::size_t i = 0; i + step <= size; i += step) {
        const unsigned char* v = p + i;
        switch (type) {
            case 3:
                std::snprintf(num, sizeof num, "%u", unsigned{U16(v, be)});
                break;
            case 8:
                std::snprintf(num, sizeof num, "%d", int{static_cast<std::int16_t>(U16(v, be))});
                break;
            case 4:
            case 13:
                std::snprintf(num, sizeof num, "%lu", static_cast<unsigned long>(U32(v, be)));
                break;
            case 9:
                std::snprintf(num, sizeof num, "%ld",
                              static_cast<long>(static_cast<std::int32_t>(U32(v, be))));
                break;
            case 5:
                std::snprintf(num, sizeof num, "%lu/%lu", static_cast<unsigned long>(U32(v, be)),
                              static_cast<unsigned long>(U32(v + 4, be)));
                break;
            case 10:
                std::snprintf(num, sizeof num, "%ld/%ld",
                              static_cast<long>(static_cast<std::int32_t>(U32(v, be))),
                              static_cast<long>(static_cast<std::int32_t>(U32(v + 4, be))));
                break;
            case 11: {
                const std::uint32_t bits = U32(v, be);
                float f;
                std::memcpy(&f, &bits, sizeof f);
                std::snprintf(num, sizeof num, "%.15g", static_cast<double>(f));
                break;
            }
            case 12: {
                const std::uint64_t hi = U32(v, be), lo = U32(v + 4, be);
                const std::uint64_t bits = be ? (hi << 32) | lo : (lo << 32) | hi;
                double d;
                std::memcpy(&d, &bits, sizeof d);
                std::snprintf(num, sizeof num, "%.15g", d);
                break;
            }
            default:
                // Bytes, undefined, and types without their own reading: one number a byte.
                for (std::size_t b = 0; b < step; ++b) {
                    std::snprintf(num, sizeof num, "%u", unsigned{v[b]});
                    Append(out, num);
                }
                continue;
        }
        Append(out, num);
    }
    return out;
}

// EXIF text is ASCII by the book, but cameras and editors store UTF-8 or Latin-1; take
// UTF-8 when the bytes are valid UTF-8, else Latin-1, so no byte is lost or mangled.
QString DecodeExifText(const std::string& bytes) {
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    QString text = utf8(QByteArrayView(bytes.data(), static_cast<qsizetype>(bytes.size())));
    if (utf8.hasError())
        text = QString::fromLatin1(bytes.data(), static_cast<qsizetype>(bytes.size()));
    return text;
}

// The TIFF structure of the EXIF block at base, size bytes long (already known to be in
// the photo). Only the first directory (the main image) is read: its Make, Model and
// DateTime. nullopt when the block has no valid TIFF header.
std::optional<PhotoMetadata> ReadTiff(PhotoBytes& bytes, std::uint64_t base, std::uint32_t size) {
    std::span<const unsigned char> head = bytes.view(base, 8);
    if (size < 8 || head.size() < 8) return std::nullopt;
    const bool be = head[0] == 'M';
    if ((head[0] != 'I' && head[0] != 'M') || head[1] != head[0] || U16(&head[2], be) != 42)
        return std::nullopt;
    const std::uint32_t ifd = U32(&head[4], be);
    if (ifd >= size) return std::nullopt;

    PhotoMetadata meta;
    if (size - ifd < 2) return meta;
    std::span<const unsigned char> countBytes = bytes.view(base + ifd, 2);
    if (countBytes.size() < 2) return std::nullopt;
    const std::uint32_t count = U16(countBytes.data(), be);
    // A directory claiming more entries than any camera writes is damage: none is read.
    if (count > 256) return meta;

    static constexpr std::uint16_t kTags[] = {0x010F, 0x0110, 0x0132};
    QString* const fields[] = {&meta.make, &meta.model, &meta.dateTime};
    bool found[3] = {false, false, false};
    for (std::uint32_t i = 0; i < count; ++i) {
        const std::uint64_t at = std::uint64_t{ifd} + 2 + 12 * std::uint64_t{i};
        // Entries run until the block ends; those inside it still count.
        if (at + 12 > size) break;
        std::span<const unsigned char> e = bytes.view(base + at, 12);
        if (e.size() < 12) return std::nullopt;
        const std::uint16_t tag = U16(e.data(), be);
        int which = -1;
        for (int t = 0; t < 3; ++t)
            if (tag == kTags[t] && !found[t]) which = t;
        if (which < 0) continue;
        const std::uint16_t type = U16(e.data() + 2, be);
        const std::uint32_t n = U32(e.data() + 4, be);
        // An absurd count drops the entry; a later one with the same tag may serve.
        if (n >= 0x10000000) continue;
        std::uint32_t length = TypeSize(type) * n;
        const std::uint32_t offset = U32(e.data() + 8, be);
        std::string text;
        if (length <= 4) {
            text = ValueText(type, e.data() + 8, length, be);
        } else {
            // A value outside the block is read as empty, not from elsewhere in the file.
            if (offset == 0 || offset >= size || length > size - offset) length = 0;
            std::span<const unsigned char> v = bytes.view(base + offset, length);
            if (v.size() < length) return std::nullopt;
            text = ValueText(type, v.data(), v.size(), be);
        }
        *fields[which] = DecodeExifText(text);
        found[which] = true;
        if (found[0] && found[1] && found[2]) break;
    }
    return meta;
}

constexpr unsigned char kSos = 0xDA, kEoi = 0xD9, kApp1 = 0xE1, kApp2 = 0xE2, kApp13 = 0xED,
                        kCom = 0xFE;

bool IsStartOfFrame(unsigned char m) {
    return m >= 0xC0 && m <= 0xCF && m != 0xC4 && m != 0xC8 && m != 0xCC;
}

// Walks the JPEG's segments from the start to the first APP1 "Exif\0\0" and reads it. Stops
// at the start of the image data. A segment that is too short for its kind ends the walk as
// it ends it in the common EXIF libraries, with no values.
std::optional<PhotoMetadata> ReadJpeg(PhotoBytes& bytes) {
    // Padding between segments and the segments themselves are bounded, so a damaged or
    // hostile file costs a few reads at most, never a read of the whole image.
    constexpr std::uint64_t kMaxPadding = 65536;
    constexpr int kMaxSegments = 1024;
    std::span<const unsigned char> sig = bytes.view(0, 3);
    if (!HasJpegSignature(sig.data(), sig.size())) return std::nullopt;

    std::uint64_t pos = 2;
    bool frameSeen = false;
    bool commentSeen = false;
    bool xmpSeen = false;
    for (int segment = 0; segment < kMaxSegments; ++segment) {
        // The next marker: any bytes up to an FF, then any run of FF fill bytes.
        const std::uint64_t start = pos;
        int marker = -1;
        bool inFill = false;
        while (marker < 0 && pos - start < kMaxPadding) {
            std::span<const unsigned char> chunk = bytes.view(pos, 512);
            // Nothing after the start-of-image marker is no JPEG; later, no more segments.
            if (chunk.empty()) return segment == 0 ? std::nullopt : std::optional(PhotoMetadata{});
            for (std::size_t i = 0; i < chunk.size(); ++i) {
                ++pos;
                if (chunk[i] == 0xFF) {
                    inFill = true;
                } else if (inFill) {
                    marker = chunk[i];
                    break;
                }
            }
        }
        if (marker < 0 || marker == kSos || marker == kEoi) return PhotoMetadata{};

        // The length and the signature of the segment, zero beyond the end of the file.
        unsigned char header[36] = {};
        std::span<const unsigned char> h = bytes.view(pos, sizeof header);
        if (h.size() < 2) return std::nullopt;
        std::memcpy(header, h.data(), h.size());
        const std::uint32_t length = U16(header, true);

        if (marker == kApp1 && std::memcmp(header + 2, "Exif\0\0", 6) == 0) {
            if (length < 8) return PhotoMetadata{};
            const std::uint32_t tiffSize = length - 8;
            // A block cut off by the end of the file is unreadable as a whole.
            if (pos + length > bytes.size() || bytes.failed()) return std::nullopt;
            if (tiffSize == 0) return PhotoMetadata{};
            return ReadTiff(bytes, pos + 8, tiffSize);
        }
        if (marker == kApp1 && !xmpSeen &&
            std::memcmp(header + 2, "http://ns.adobe.com/xap/1.0/\0", 29) == 0) {
            if (length < 31) return PhotoMetadata{};
            xmpSeen = true;
        } else if (marker == kApp13 && std::memcmp(header + 2, "Photoshop 3.0\0", 14) == 0) {
            if (length < 16) return PhotoMetadata{};
        } else if (marker == kCom && !commentSeen) {
            if (length < 2) return PhotoMetadata{};
            commentSeen = true;
        } else if (marker == kApp2 && std::memcmp(header + 2, "ICC_PROFILE", 11) == 0) {
            if (length < 16) return PhotoMetadata{};
            // A profile in one piece that claims more than its segment holds is damage the
            // common libraries refuse the whole photo for.
            if (header[14] == 1 && header[15] == 1 && U32(header + 16, true) > length - 16)
                return std::nullopt;
        } else if (!frameSeen && IsStartOfFrame(static_cast<unsigned char>(marker))) {
            if (length < 8) return PhotoMetadata{};
            frameSeen = U16(header + 3, true) != 0;
        } else if (length < 2) {
            return PhotoMetadata{};
        }
        pos += length;
    }
    return PhotoMetadata{};
}

}  // namespace

bool HasJpegSignature(const unsigned char* data, std::size_t size) {
    return data && size >= 3 && data[0] == 0xFF && data[1] == 0xD8 && data[2] == 0xFF;
}

std::optional<PhotoMetadata> ReadPhotoMetadata(const QString& path) {
    // O_NONBLOCK keeps a FIFO from blocking the open; it changes nothing for a regular file.
    const int fd =
        ::open(QFile::encodeName(path).constData(), O_RDONLY | O_CLOEXEC | O_NOCTTY | O_NONBLOCK);
    if (fd < 0) return std::nullopt;
    std::optional<PhotoMetadata> meta;
    {
        PhotoBytes bytes(fd);
        if (!bytes.failed()) meta = ReadJpeg(bytes);
        if (bytes.failed()) meta.reset();
    }
    ::close(fd);
    return meta;
}

std::optional<PhotoMetadata> ReadPhotoMetadataFromMemory(const unsigned char* data,
                                                         std::size_t size) {
    if (!data) return std::nullopt;
    PhotoBytes bytes(data, size);
    return ReadJpeg(bytes);
}

}  // namespace vandrel
