// Our EXIF reader against exiv2 0.27 (the reader it replaced): the same Make, Model and
// DateTime for photos built in memory with every quirk and damage we know of.
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"
#include <exiv2/exiv2.hpp>
#pragma GCC diagnostic pop
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include "attributes/photo_metadata.h"

namespace vandrel {
namespace {

// One IFD entry; a value of more than 4 bytes goes after the IFD unless offset says where.
struct Entry {
    quint16 tag, type;
    quint32 count;
    QByteArray value;
    qint64 offset = -1;
};

QByteArray operator""_b(const char* s, std::size_t n) { return QByteArray(s, qsizetype(n)); }

QByteArray Num(quint32 v, int bytes, bool be) {
    QByteArray out(bytes, '\0');
    for (int i = 0; i < bytes; ++i) out[be ? bytes - 1 - i : i] = char((v >> (8 * i)) & 0xFF);
    return out;
}

QByteArray Tiff(bool be, const QList<Entry>& entries, int claimed = -1) {
    QByteArray ifd = Num(claimed < 0 ? entries.size() : claimed, 2, be), data;
    for (const Entry& e : entries) {
        const bool inline4 = e.value.size() <= 4 && e.offset < 0;
        const qint64 at = e.offset >= 0 ? e.offset : 14 + 12 * entries.size() + data.size();
        ifd += Num(e.tag, 2, be) + Num(e.type, 2, be) + Num(e.count, 4, be) +
               (inline4 ? e.value.leftJustified(4, '\0') : Num(quint32(at), 4, be));
        data += inline4 ? QByteArray() : e.value;
    }
    return (be ? "MM"_b : "II"_b) + Num(42, 2, be) + Num(8, 4, be) + ifd + Num(0, 4, be) + data;
}

QByteArray Segment(char marker, const QByteArray& body) {
    return "\xFF"_b + marker + Num(quint32(body.size() + 2), 2, true) + body;
}

QByteArray Jpeg(const QByteArray& tiff, const QByteArray& before = {}) {
    return "\xFF\xD8"_b + before + Segment('\xE1', "Exif\0\0"_b + tiff) + "\xFF\xD9";
}

// exiv2's texts, decoded as ours are; nothing read gives empty texts (as for the attributes).
QStringList Exiv2Answer(const QString& path) try {
    Exiv2::JpegImage image(Exiv2::BasicIo::AutoPtr(new Exiv2::FileIo(path.toStdString())), 0);
    image.readMetadata();
    QStringList texts;
    for (const char* key : {"Exif.Image.Make", "Exif.Image.Model", "Exif.Image.DateTime"}) {
        const auto it = image.exifData().findKey(Exiv2::ExifKey(key));
        const QByteArray s = it == image.exifData().end() ? "" : it->toString().c_str();
        texts << (QString::fromUtf8(s).toUtf8() == s ? QString::fromUtf8(s)
                                                     : QString::fromLatin1(s));
    }
    return texts;
} catch (const std::exception&) {
    return {"", "", ""};
}

TEST(PhotoMetadata, ReadsWhatExiv2Reads) {
    Exiv2::LogMsg::setLevel(Exiv2::LogMsg::mute);
    const Entry make{0x010F, 2, 6, "Nikon\0"_b}, model{0x0110, 2, 8, "D70 Pro\0"_b},
        date{0x0132, 2, 20, "2007:03:25 14:30:00\0"_b};
    const QByteArray sony = Jpeg(Tiff(true, {make, model, date}));
    const std::pair<const char*, QByteArray> cases[] = {
        {"big endian", sony},
        {"little endian", Jpeg(Tiff(false, {make, model, date}))},
        {"inline values, no NUL",
         Jpeg(Tiff(false, {{0x010F, 2, 3, "AB\0"_b}, {0x0110, 2, 4, "WXYZ"_b}}))},
        {"no NUL, NUL inside, spaces", Jpeg(Tiff(true, {{0x010F, 2, 5, "Canon"_b},
                                                        {0x0110, 2, 6, "Ni\0kon"_b},
                                                        {0x0132, 2, 8, "SONY   \0"_b}}))},
        {"missing tags", Jpeg(Tiff(true, {date}))},
        {"Latin-1 and UTF-8",
         Jpeg(Tiff(true, {{0x010F, 2, 7, "M\xFCller\0"_b}, {0x0110, 2, 6, "\xCE\xA9-1x\0"_b}}))},
        {"wrong types 1", Jpeg(Tiff(true, {{0x010F, 3, 3, "\1\2\3\4\5\6"_b},
                                           {0x0110, 5, 1, "\0\0\0\7\0\0\0\2"_b},
                                           {0x0132, 7, 5, "ABCDE"_b}}))},
        {"wrong types 2", Jpeg(Tiff(false, {{0x010F, 9, 2, "\xFF\xFF\xFF\xFF\2\0\0\0"_b},
                                            {0x0110, 11, 1, "\0\0\xC0\x3F"_b},
                                            {0x0132, 12, 1, "\0\0\0\0\0\0\xF8\x3F"_b}}))},
        {"wrong types 3", Jpeg(Tiff(true, {{0x010F, 0, 3, "abc"_b},
                                           {0x0110, 20, 2, "xy"_b},
                                           {0x0132, 10, 1, "\xFF\xFF\xFF\xFD\0\0\0\3"_b},
                                           {0x010F, 2, 2, "X\0"_b}}))},
        {"damaged offsets", Jpeg(Tiff(true, {{0x010F, 2, 6, "Nikon\0"_b, 0x7FFFFF00},
                                             {0x0110, 2, 6, "Nikon\0"_b, 0},
                                             {0x0132, 2, 0x7FFFFFFF, "x"_b},
                                             {0x0132, 2, 2, "Y\0"_b}}))},
        {"value beyond the block", Jpeg(Tiff(true, {{0x010F, 2, 60, "Nikon\0"_b}, model}))},
        {"257 entries", Jpeg(Tiff(true, {make, model}, 257))},
        {"bad header", Jpeg(Tiff(true, {make}).replace(0, 2, "MI"_b))},
        {"IFD beyond the block", Jpeg(Tiff(true, {make}).replace(4, 4, Num(4000, 4, true)))},
        {"truncated segment", sony.left(sony.size() - 40)},
        {"block beyond the head",
         Jpeg(Tiff(true, {make, model}), Segment('\xE2', QByteArray(9000, 'x')))},
        {"values beyond the head",
         Jpeg(Tiff(false, {{0x9999, 7, 9000, QByteArray(9000, 'x')}, make, date}))},
        {"cut beyond the head",
         Jpeg(Tiff(false, {{0x9999, 7, 9000, QByteArray(9000, 'x')}, make})).chopped(9)},
        {"two EXIF blocks",
         Jpeg(Tiff(false, {model}), Segment('\xE1', "Exif\0\0"_b + Tiff(true, {make})))},
        {"XMP, comment, padding",
         Jpeg(Tiff(true, {make}), Segment('\xE1', "http://ns.adobe.com/xap/1.0/\0<x/>"_b) +
                                      Segment('\xFE', "hi"_b) + "\0\0\xFF\xFF"_b)},
        {"short segment before", Jpeg(Tiff(true, {make}), "\xFF\xE5\0\1"_b)},
        {"image data before", Jpeg(Tiff(true, {make}), Segment('\xDA', "\0\0\0"_b))},
    };
    const auto check = [](const QString& path) {
        const std::optional<PhotoMetadata> ours = ReadPhotoMetadata(path);
        const QStringList got =
            ours ? QStringList{ours->make, ours->model, ours->dateTime} : QStringList{"", "", ""};
        EXPECT_EQ(got, Exiv2Answer(path)) << path.toStdString();
    };
    QTemporaryDir dir;
    for (const auto& [name, jpeg] : cases) {
        QFile f(dir.filePath(name));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly) && f.write(jpeg) == jpeg.size()) << name;
        f.close();
        check(f.fileName());
    }
    // What the fuzzer found (tests/data/photo/README.md says what each is).
    for (const QFileInfo& found :
         QDir(VANDREL_TEST_DATA "/photo/fuzzed").entryInfoList(QDir::Files))
        check(found.filePath());
}

}  // namespace
}  // namespace vandrel
