// The office and photo readers on their own: signatures, in-memory reading, and every
// prefix of a good file (a download cut short) read without a crash.
#include <gtest/gtest.h>

#include <QDir>
#include <QtEndian>

#include "attributes/attribute_test_util.h"
#include "attributes/office_properties.h"
#include "attributes/photo_metadata.h"
#include "support/test_util.h"

namespace vandrel {
namespace {

const unsigned char* Bytes(const QByteArray& a) {
    return reinterpret_cast<const unsigned char*>(a.constData());
}

TEST(OfficeReader, RecognisesTheSignature) {
    const unsigned char ole[] = {0xD0, 0xCF, 0x11, 0xE0, 0xA1, 0xB1, 0x1A, 0xE1, 0};
    EXPECT_TRUE(HasOle2Signature(ole, 8));
    EXPECT_FALSE(HasOle2Signature(ole, 7));
    EXPECT_FALSE(HasOle2Signature(nullptr, 8));
    const unsigned char zip[] = {'P', 'K', 3, 4, 0, 0, 0, 0};
    EXPECT_FALSE(HasOle2Signature(zip, 8));
    EXPECT_FALSE(ReadOfficePropertiesFromMemory(zip, sizeof zip));
    EXPECT_FALSE(ReadOfficeProperties(test::DataFile("office/plain_text.doc")));
    EXPECT_FALSE(ReadOfficeProperties(test::DataFile("office/missing.doc")));
    EXPECT_FALSE(ReadOfficeProperties(QDir::tempPath()));
}

TEST(OfficeReader, ReadsFromFileAndMemoryAlike) {
    const QByteArray bytes = test::ReadFile(test::DataFile("office/report.doc"));
    ASSERT_FALSE(bytes.isEmpty());
    const auto fromFile = ReadOfficeProperties(test::DataFile("office/report.doc"));
    const auto fromMemory = ReadOfficePropertiesFromMemory(Bytes(bytes), bytes.size());
    ASSERT_TRUE(fromFile);
    ASSERT_TRUE(fromMemory);
    // The values themselves are the attribute tests'; here both ways must agree.
    EXPECT_EQ(fromFile->author, "Ann Smith");  // not the last author "Bob Jones"
    for (auto field :
         {&OfficeProperties::title, &OfficeProperties::subject, &OfficeProperties::author,
          &OfficeProperties::revision, &OfficeProperties::category, &OfficeProperties::company})
        EXPECT_EQ((*fromFile).*field, (*fromMemory).*field);
}

TEST(OfficeReader, RefusesADirectoryWithoutRootEntry) {
    // Regression (fuzz_ole2_reader): the first directory entry must be the root storage.
    const QString path = test::DataFile("office/fuzzed/directory_leak.doc");
    const QByteArray bytes = test::ReadFile(path);
    ASSERT_FALSE(bytes.isEmpty());
    EXPECT_FALSE(ReadOfficeProperties(path));
    EXPECT_FALSE(ReadOfficePropertiesFromMemory(Bytes(bytes), bytes.size()));
    // The same check on a good document with its root entry's type byte changed.
    QByteArray report = test::ReadFile(test::DataFile("office/report.doc"));
    ASSERT_TRUE(ReadOfficePropertiesFromMemory(Bytes(report), report.size()));
    const quint32 dirSector = qFromLittleEndian<quint32>(report.constData() + 48);
    QByteArray notRoot = report;
    notRoot[(dirSector + 1) * 512 + 66] = 2;
    EXPECT_FALSE(ReadOfficePropertiesFromMemory(Bytes(notRoot), notRoot.size()));
    // Regression (fuzz_ole2_reader): the root storage has no siblings.
    EXPECT_FALSE(ReadOfficeProperties(test::DataFile("office/fuzzed/root_sibling_leak.doc")));
    QByteArray sibling = report;
    qToLittleEndian<quint32>(1, sibling.data() + (dirSector + 1) * 512 + 68);
    EXPECT_FALSE(ReadOfficePropertiesFromMemory(Bytes(sibling), sibling.size()));
}

TEST(OfficeReader, EveryPrefixOfADocumentIsSafe) {
    const QByteArray bytes = test::ReadFile(test::DataFile("office/report.doc"));
    ASSERT_FALSE(bytes.isEmpty());
    int readable = 0;
    for (qsizetype n = 0; n <= bytes.size(); n += 7) {
        const auto p = ReadOfficePropertiesFromMemory(Bytes(bytes), static_cast<std::size_t>(n));
        if (p && p->title == "Quarterly Report") ++readable;
    }
    // Only (nearly) whole documents give the title.
    EXPECT_LE(readable, 2);
}

TEST(PhotoReader, RecognisesTheSignature) {
    const unsigned char soi[] = {0xFF, 0xD8, 0xFF, 0xE0};
    EXPECT_TRUE(HasJpegSignature(soi, 4));
    EXPECT_FALSE(HasJpegSignature(soi, 2));
    EXPECT_FALSE(HasJpegSignature(nullptr, 4));
    const unsigned char png[] = {0x89, 'P', 'N', 'G'};
    EXPECT_FALSE(HasJpegSignature(png, 4));
    EXPECT_FALSE(ReadPhotoMetadataFromMemory(png, sizeof png));
    EXPECT_FALSE(ReadPhotoMetadata(test::DataFile("photo/text.jpg")));
    EXPECT_FALSE(ReadPhotoMetadata(test::DataFile("photo/missing.jpg")));
    EXPECT_FALSE(ReadPhotoMetadata(QDir::tempPath()));
}

TEST(PhotoReader, ReadsFromFileAndMemoryAlike) {
    const QByteArray bytes = test::ReadFile(test::DataFile("photo/sony.jpg"));
    ASSERT_FALSE(bytes.isEmpty());
    const auto fromFile = ReadPhotoMetadata(test::DataFile("photo/sony.jpg"));
    const auto fromMemory = ReadPhotoMetadataFromMemory(Bytes(bytes), bytes.size());
    ASSERT_TRUE(fromFile);
    ASSERT_TRUE(fromMemory);
    EXPECT_EQ(fromFile->dateTime, "2007:03:25 14:30:00");  // as stored, not as shown
    for (auto field : {&PhotoMetadata::make, &PhotoMetadata::model, &PhotoMetadata::dateTime})
        EXPECT_EQ((*fromFile).*field, (*fromMemory).*field);
}

TEST(PhotoReader, EveryPrefixOfAPhotoIsSafe) {
    const QByteArray bytes = test::ReadFile(test::DataFile("photo/sony.jpg"));
    ASSERT_FALSE(bytes.isEmpty());
    for (qsizetype n = 0; n <= bytes.size(); ++n) {
        const auto p = ReadPhotoMetadataFromMemory(Bytes(bytes), static_cast<std::size_t>(n));
        // A cut-off EXIF block never yields a partial text.
        if (p && !p->make.isEmpty()) {
            EXPECT_EQ(p->make, "SONY") << n;
        }
        if (p && !p->model.isEmpty()) {
            EXPECT_EQ(p->model, "DSC-N1") << n;
        }
    }
}

}  // namespace
}  // namespace vandrel
