// vandrel attr and vandrel tags through the real binary.
#include <gtest/gtest.h>

#include <QDir>

#include "attributes/attribute_helper.h"
#include "attributes/attribute_test_util.h"
#include "support/test_util.h"

namespace vandrel {
namespace {

using test::Cli;

TEST(CliAttr, ListsAllAttributesOfAFile) {
    Cli cli;
    const QString photo = cli.tmp.file("work/DSC00042.jpg");
    ASSERT_TRUE(test::CopyFixture("photo/sony.jpg", photo));
    const QStringList lines = cli.lines({"attr", photo});
    const QStringList names = AttributeHelper().GetAttrList();
    ASSERT_EQ(lines.size(), names.size()) << lines.join('\n').toStdString();
    for (int i = 0; i < names.size(); ++i)
        EXPECT_TRUE(lines[i].startsWith(names[i] + '\t')) << lines[i].toStdString();
    // Each value is the attribute reader's (checked there); one of each source here.
    EXPECT_TRUE(lines.contains("name\tDSC00042"));
    EXPECT_TRUE(lines.contains("photo.maker\tSONY"));
    EXPECT_TRUE(lines.contains("office.title\tnotitle"));
}

TEST(CliAttr, OneValueAndRelativePaths) {
    Cli cli;
    const QString doc = cli.tmp.file("home/report.doc");
    ASSERT_TRUE(test::CopyFixture("office/report.doc", doc));
    // The binary starts in the test's own working folder; give it a path relative to that.
    const struct {
        const char* name;
        QString path;
        const char* out;
    } rows[] = {{"Office.Author", QDir::current().relativeFilePath(doc), "Ann Smith"},
                {"name", cli.home, "home"},
                {"mp3.title", cli.tmp.file("none.mp3"), "notitle"}};
    for (const auto& r : rows)
        EXPECT_EQ(cli.lines({"attr", r.name, r.path}), QStringList{r.out}) << r.name;
}

TEST(CliTags, PrintsTheNineTexts) {
    Cli cli;
    const QString song = cli.tmp.file("song.mp3");
    ASSERT_TRUE(test::WriteFile(
        song,
        test::CbrAudio(209) + test::Id3v1Tag("Moonlight", "Ludwig", "Sonatas", "2003", 7, 32)));
    const auto r = cli.run({"tags", song});
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
