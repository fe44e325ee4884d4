// Inputs kept from fuzzing (tests/data/mp3/fuzzed/): each must read without a crash, give
// the same texts from a file as from memory, and give well-formed UTF-8 and stream texts.
#include <gtest/gtest.h>

#include <QDir>
#include <regex>
#include <string>

#include "mp3_builder.h"
#include "support/test_util.h"
#include "support/utf8_check.h"

namespace tagwell::test {
namespace {

using vandrel::test::IsValidUtf8;

TEST(TagReaderFuzzedTest, KeptInputsReadTheSameFromFileAndMemory) {
    QDir dir(QString(VANDREL_TEST_DATA) + "/mp3/fuzzed");
    const QStringList names = dir.entryList(QDir::Files | QDir::NoDotAndDotDot, QDir::Name);
    ASSERT_FALSE(names.isEmpty());
    const std::regex length(R"(\d+'\d\d'')");
    const std::regex bitrate(R"(\d+ kbit / sec, (constant|variable) bit rate)");
    const std::regex frequency(R"(\d+ hz, (stereo|joint stereo|dual channel|mono|))");
    using Getter = const std::string& (TagReader::*)() const;
    const Getter texts[] = {
        &TagReader::ArtistString,      &TagReader::AlbumString,   &TagReader::TitleString,
        &TagReader::TrackNumberString, &TagReader::YearString,    &TagReader::GenreString,
        &TagReader::LengthString,      &TagReader::BitrateString, &TagReader::FrequencyString};
    for (const QString& name : names) {
        if (name.endsWith(".md")) continue;
        SCOPED_TRACE(name.toStdString());
        QByteArray bytes = vandrel::test::ReadFile(dir.filePath(name));
        TagReader fromFile;
        ASSERT_TRUE(fromFile.LoadMP3File(dir.filePath(name).toStdString()));
        TagReader fromMemory = ReadBytes(Bytes(bytes.begin(), bytes.end()));
        for (Getter get : texts) {
            EXPECT_EQ((fromFile.*get)(), (fromMemory.*get)());
            EXPECT_TRUE(IsValidUtf8((fromFile.*get)()));
        }
        EXPECT_TRUE(std::regex_match(fromFile.LengthString(), length)) << fromFile.LengthString();
        EXPECT_TRUE(std::regex_match(fromFile.BitrateString(), bitrate))
            << fromFile.BitrateString();
        EXPECT_TRUE(std::regex_match(fromFile.FrequencyString(), frequency))
            << fromFile.FrequencyString();
    }
}

}  // namespace
}  // namespace tagwell::test
