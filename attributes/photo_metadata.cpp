#include "attributes/photo_metadata.h"

// exiv2 0.27 still hands out std::auto_ptr; the deprecation is theirs, not ours.
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"
#include <QFile>
#include <QStringDecoder>
#include <climits>
#include <exception>
#include <exiv2/basicio.hpp>
#include <exiv2/error.hpp>
#include <exiv2/exif.hpp>
#include <exiv2/jpgimage.hpp>
#include <mutex>
#include <string>

namespace vandrel {

namespace {

void MuteExiv2Once() {
    static std::once_flag once;
    std::call_once(once, [] { Exiv2::LogMsg::setLevel(Exiv2::LogMsg::mute); });
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

// The text of one tag of the main image, up to its terminating NUL; empty when absent.
QString TagText(const Exiv2::ExifData& exif, const char* key) {
    const auto it = exif.findKey(Exiv2::ExifKey(key));
    if (it == exif.end()) return {};
    std::string text = it->toString();
    const std::size_t nul = text.find('\0');
    if (nul != std::string::npos) text.resize(nul);
    return DecodeExifText(text);
}

std::optional<PhotoMetadata> ReadFromIo(Exiv2::BasicIo::AutoPtr io) {
    MuteExiv2Once();
    try {
        // The JPEG reader itself, not the factory: content that merely carries a .jpg name
        // but is a TIFF or PNG is not ours to read.
        Exiv2::JpegImage image(io, false);
        image.readMetadata();
        const Exiv2::ExifData& exif = image.exifData();
        PhotoMetadata meta;
        meta.make = TagText(exif, "Exif.Image.Make");
        meta.model = TagText(exif, "Exif.Image.Model");
        meta.dateTime = TagText(exif, "Exif.Image.DateTime");
        return meta;
    } catch (const Exiv2::Error&) {
        return std::nullopt;
    } catch (const std::exception&) {
        return std::nullopt;
    }
}

}  // namespace

bool HasJpegSignature(const unsigned char* data, std::size_t size) {
    return data && size >= 3 && data[0] == 0xFF && data[1] == 0xD8 && data[2] == 0xFF;
}

std::optional<PhotoMetadata> ReadPhotoMetadata(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) return std::nullopt;
    unsigned char head[3];
    if (file.read(reinterpret_cast<char*>(head), sizeof head) != sizeof head ||
        !HasJpegSignature(head, sizeof head))
        return std::nullopt;
    file.close();
    try {
        return ReadFromIo(Exiv2::BasicIo::AutoPtr(
            new Exiv2::FileIo(std::string(QFile::encodeName(path).constData()))));
    } catch (const std::exception&) {
        return std::nullopt;
    }
}

std::optional<PhotoMetadata> ReadPhotoMetadataFromMemory(const unsigned char* data,
                                                         std::size_t size) {
    if (!HasJpegSignature(data, size) || size > static_cast<std::size_t>(LONG_MAX))
        return std::nullopt;
    try {
        return ReadFromIo(Exiv2::BasicIo::AutoPtr(new Exiv2::MemIo(data, static_cast<long>(size))));
    } catch (const std::exception&) {
        return std::nullopt;
    }
}

}  // namespace vandrel

#pragma GCC diagnostic pop
