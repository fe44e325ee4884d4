// vandrel attr and vandrel tags through the real binary.
#include <gtest/gtest.h>

#include <QDir>

#include "attributes/attribute_helper.h"
#include "attributes/attribute_test_util.h"
#include "support/test_util.h"

namespace vandrel {
namespace {

using test::RunVandrel;
using test::TempDir;
using test::WriteFile;

TEST(CliAttr, ListsAllAttributesOfAFile) {
    TempDir dir;
    ASSERT_TRUE(test::CopyFixture("photo/sony.jpg", dir.file("work/DSC00042.jpg")));
    const auto r = RunVandrel(
        {"--data-dir", dir.file("data"), "attr", dir.file("work/DSC00042.jpg")}, dir.file("home"));
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
    const QStringList lines = r.out.split('\n', Qt::SkipEmptyParts);
    AttributeHelper h;
    ASSERT_EQ(lines.size(), 22);
    for (int i = 0; i < 22; ++i)
        EXPECT_TRUE(lines[i].startsWith(h.GetAttrList()[i] + '\t')) << lines[i].toStdString();
    // Each value is the attribute reader's (checked there); one of each source here.
    EXPECT_TRUE(lines.contains("name\tDSC00042"));
    EXPECT_TRUE(lines.contains("photo.maker\tSONY"));
    EXPECT_TRUE(lines.contains("office.title\tnotitle"));
}

TEST(CliAttr, OneValueAndRelativePaths) {
    TempDir dir;
    ASSERT_TRUE(test::CopyFixture("office/report.doc", dir.file("home/report.doc")));
    // RunVandrel starts the binary in the test's own working folder; give it a path
    // relative to that.
    const QString rel = QDir::current().relativeFilePath(dir.file("home/report.doc"));
    auto r = RunVandrel({"--data-dir", dir.file("data"), "attr", "Office.Author", rel},
                        dir.file("home"));
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
    EXPECT_EQ(r.out, "Ann Smith\n");
    r = RunVandrel({"--data-dir", dir.file("data"), "attr", "name", dir.file("home")},
                   dir.file("home"));
    EXPECT_EQ(r.out, "home\n");
    r = RunVandrel({"--data-dir", dir.file("data"), "attr", "mp3.title", dir.file("none.mp3")},
                   dir.file("home"));
    EXPECT_EQ(r.exitCode, 0);
    EXPECT_EQ(r.out, "notitle\n");
}

TEST(CliTags, PrintsTheNineTexts) {
    TempDir dir;
    const QString song = dir.file("song.mp3");
    ASSERT_TRUE(WriteFile(song, test::CbrAudio(209) + test::Id3v1Tag("Moonlight", "Ludwig",
                                                                     "Sonatas", "2003", 7, 32)));
    const auto r = RunVandrel({"--data-dir", dir.file("data"), "tags", song}, dir.file("home"));
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
    EXPECT_EQ(r.out,
              "artist\tLudwig\n"
              "album\tSonatas\n"
              "title\tMoonlight\n"
              "track\t7\n"
              "year\t2003\n"
              "genre\tClassical\n"
              "length\t3'29''\n"
              "bitrate\t128 kbit / sec, constant bit rate\n"
              "frequency\t44100 hz, joint stereo\n");
}

}  // namespace
}  // namespace vandrel
