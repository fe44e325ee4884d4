// Our EXIF reader against exiv2 0.27 (the reader it replaced): the same Make, Model and
// DateTime for photos built in memory with every quirk and damage we know of.
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"
#include <exiv2/exiv2.hpp>
#pragma GCC diagnostic pop
#include <gtest/gtest.h>

#include <QFile>
#include <QTemporaryDir>
#include <QtEndian>

#include "attributes/photo_metadata.h"

namespace vandrel {
namespace {

struct Entry {
    quint16 tag, type;
    quint32 count;
    QByteArray value;    // the stored bytes
    qint64 offset = -1;  // where a value of more than 4 bytes is said to lie; -1: after the IFD
};

template <int N>
QByteArray B(const char (&s)[N]) {
    return QByteArray(s, N - 1);
}

QByteArray Num(quint32 v, int bytes, bool be) {
    QByteArray out(bytes, '\0');
    for (int i = 0; i < bytes; ++i) out[be ? bytes - 1 - i : i] = char((v >> (8 * i)) & 0xFF);
    return out;
}

QByteArray Tiff(bool be, const QList<Entry>& entries, int claimed = -1) {
    QByteArray ifd = Num(claimed < 0 ? entries.size() : claimed, 2, be), data;
    const int dataAt = 8 + 2 + 12 * int(entries.size()) + 4;
    for (const Entry& e : entries) {
        ifd += Num(e.tag, 2, be) + Num(e.type, 2, be) + Num(e.count, 4, be);
        if (e.value.size() <= 4 && e.offset < 0) {
            ifd += e.value.leftJustified(4, '\0', true);
        } else {
            ifd += Num(e.offset >= 0 ? quint32(e.offset) : quint32(dataAt + data.size()), 4, be);
            data += e.value;
        }
    }
    return QByteArray(be ? "MM" : "II") + Num(42, 2, be) + Num(8, 4, be) + ifd + Num(0, 4, be) +
           data;
}

QByteArray Segment(char marker, const QByteArray& body) {
    return QByteArray("\xFF") + marker + Num(quint32(body.size() + 2), 2, true) + body;
}

QByteArray Jpeg(const QByteArray& tiff, const QByteArray& before = {}) {
    return QByteArray("\xFF\xD8") + Segment('\xE0', B("JFIF\0\1\1\0\0\1\0\1\0\0")) + before +
           Segment('\xE1', B("Exif\0\0") + tiff) + "\xFF\xD9";
}

QString Exiv2Text(const Exiv2::ExifData& exif, const char* key) {
    const auto it = exif.findKey(Exiv2::ExifKey(key));
    if (it == exif.end()) return {};
    const std::string s = it->toString();
    const QString utf8 = QString::fromUtf8(s.data(), qsizetype(s.size()));
    return utf8.toUtf8() == QByteArray::fromStdString(s)
               ? utf8
               : QString::fromLatin1(s.data(), qsizetype(s.size()));
}

// exiv2's answer, with nothing read giving empty texts (as it does for the attributes).
QStringList Exiv2Answer(const QString& path) {
    try {
        Exiv2::JpegImage image(Exiv2::BasicIo::AutoPtr(new Exiv2::FileIo(path.toStdString())),
                               false);
        image.readMetadata();
        return {Exiv2Text(image.exifData(), "Exif.Image.Make"),
                Exiv2Text(image.exifData(), "Exif.Image.Model"),
                Exiv2Text(image.exifData(), "Exif.Image.DateTime")};
    } catch (const std::exception&) {
        return {"", "", ""};
    }
}

TEST(PhotoMetadata, ReadsWhatExiv2Reads) {
    Exiv2::LogMsg::setLevel(Exiv2::LogMsg::mute);
    const Entry make{0x010F, 2, 6, B("Nikon\0")}, model{0x0110, 2, 8, B("D70 Pro\0")},
        date{0x0132, 2, 20, B("2007:03:25 14:30:00\0")};
    const QByteArray sony = Jpeg(Tiff(true, {make, model, date}));
    const struct {
        const char* name;
        QByteArray jpeg;
    } cases[] = {
        {"big endian", sony},
        {"little endian", Jpeg(Tiff(false, {make, model, date}))},
        {"inline values, no NUL",
         Jpeg(Tiff(false, {{0x010F, 2, 3, B("AB\0")}, {0x0110, 2, 4, B("WXYZ")}}))},
        {"no NUL, NUL inside, spaces", Jpeg(Tiff(true, {{0x010F, 2, 5, B("Canon")},
                                                        {0x0110, 2, 6, B("Ni\0kon")},
                                                        {0x0132, 2, 8, B("SONY   \0")}}))},
        {"missing tags", Jpeg(Tiff(true, {date}))},
        {"Latin-1 and UTF-8",
         Jpeg(Tiff(true, {{0x010F, 2, 7, B("M\xFCller\0")}, {0x0110, 2, 6, B("\xCE\xA9-1x\0")}}))},
        {"wrong types 1", Jpeg(Tiff(true, {{0x010F, 3, 3, B("\1\2\3\4\5\6")},
                                           {0x0110, 5, 1, B("\0\0\0\7\0\0\0\2")},
                                           {0x0132, 7, 5, B("ABCDE")}}))},
        {"wrong types 2", Jpeg(Tiff(false, {{0x010F, 9, 2, B("\xFF\xFF\xFF\xFF\2\0\0\0")},
                                            {0x0110, 11, 1, B("\0\0\xC0\x3F")},
                                            {0x0132, 12, 1, B("\0\0\0\0\0\0\xF8\x3F")}}))},
        {"wrong types 3", Jpeg(Tiff(true, {{0x010F, 0, 3, B("abc")},
                                           {0x0110, 20, 2, B("xy")},
                                           {0x0132, 10, 1, B("\xFF\xFF\xFF\xFD\0\0\0\3")},
                                           {0x010F, 2, 2, B("X\0")}}))},
        {"damaged offsets", Jpeg(Tiff(true, {{0x010F, 2, 6, B("Nikon\0"), 0x7FFFFF00},
                                             {0x0110, 2, 6, B("Nikon\0"), 0},
                                             {0x0132, 2, 0x7FFFFFFF, B("x")},
                                             {0x0132, 2, 2, B("Y\0")}}))},
        {"value beyond the block", Jpeg(Tiff(true, {{0x010F, 2, 60, B("Nikon\0")}, model}))},
        {"257 entries", Jpeg(Tiff(true, {make, model}, 257))},
        {"256 entries claimed", Jpeg(Tiff(true, {make, model}, 256))},
        {"bad header", Jpeg(Tiff(true, {make}).replace(0, 2, B("MI")))},
        {"IFD beyond the block", Jpeg(Tiff(true, {make}).replace(4, 4, Num(4000, 4, true)))},
        {"truncated segment", sony.left(sony.size() - 40)},
        {"two EXIF blocks",
         Jpeg(Tiff(false, {model}), Segment('\xE1', B("Exif\0\0") + Tiff(true, {make})))},
        {"XMP, comment, padding",
         Jpeg(Tiff(true, {make}), Segment('\xE1', B("http://ns.adobe.com/xap/1.0/\0<x/>")) +
                                      Segment('\xFE', B("hi")) + B("\0\0\xFF\xFF"))},
        {"short segment before", Jpeg(Tiff(true, {make}), B("\xFF\xE5\0\1"))},
        {"image data before", Jpeg(Tiff(true, {make}), Segment('\xDA', B("\0\0\0")))},
    };
    QTemporaryDir dir;
    for (const auto& c : cases) {
        const QString path = dir.filePath("p.jpg");
        QFile f(path);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate) &&
                    f.write(c.jpeg) == c.jpeg.size());
        f.close();
        const std::optional<PhotoMetadata> ours = ReadPhotoMetadata(path);
        const QStringList got =
            ours ? QStringList{ours->make, ours->model, ours->dateTime} : QStringList{"", "", ""};
        EXPECT_EQ(got, Exiv2Answer(path)) << c.name;
    }
}

}  // namespace
}  // namespace vandrel
