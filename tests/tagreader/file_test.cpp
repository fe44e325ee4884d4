// Reading real files: opening, refusing what is not a regular file, the one-descriptor
// block reads over large files, the fixtures made by Debian's tagging tools, and inputs
// kept from fuzzing.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QDir>
#include <QFile>
#include <string>

#include "mp3_builder.h"
#include "support/test_util.h"

namespace tagwell::test {
namespace {

using vandrel::test::TempDir;

std::string Write(const TempDir& dir, const char* name, const Bytes& bytes) {
    QString path = dir.file(name);
    EXPECT_TRUE(
        vandrel::test::WriteFile(path, QByteArray(reinterpret_cast<const char*>(bytes.data()),
                                                  static_cast<qsizetype>(bytes.size()))));
    return path.toStdString();
}

// All nine texts of a reader, "|" between them.
std::string All(const TagReader& r) {
    std::string all;
    for (auto get :
         {&TagReader::ArtistString, &TagReader::AlbumString, &TagReader::TitleString,
          &TagReader::TrackNumberString, &TagReader::YearString, &TagReader::GenreString,
          &TagReader::LengthString, &TagReader::BitrateString, &TagReader::FrequencyString})
        all += (r.*get)() + "|";
    all.pop_back();
    return all;
}
const std::string kNothing = "||||||0'00''|0 kbit / sec, constant bit rate|0 hz, ";

TEST(TagReaderFileTest, FilesThatCannotBeReadGiveFalseAndEmptyTexts) {
    TempDir dir;
    TagReader r;
    EXPECT_FALSE(r.LoadMP3File(dir.file("missing.mp3").toStdString()));
    EXPECT_EQ(r.Path(), dir.file("missing.mp3").toStdString());
    EXPECT_EQ(All(r), kNothing);
    EXPECT_FALSE(r.LoadMP3File(dir.path().toStdString()));  // a folder
    EXPECT_EQ(All(r), kNothing);
    // A FIFO would block a plain open until a writer comes; it is refused at once.
    std::string fifo = dir.file("pipe.mp3").toStdString();
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    EXPECT_FALSE(r.LoadMP3File(fifo));
    // An unreadable file (unless we run as root, who can read anything).
    std::string locked = Write(dir, "locked.mp3", Frame(FrameHeader{}, 417));
    ::chmod(locked.c_str(), 0);
    if (::geteuid() != 0) {
        EXPECT_FALSE(r.LoadMP3File(locked));
    }
}

TEST(TagReaderFileTest, EachLoadStartsAfresh) {
    TempDir dir;
    Id3v1 v1;
    v1.title = "Tagged";
    std::string tagged = Write(dir, "a.mp3", Cat({Frame(FrameHeader{}, 417), v1.Build()}));
    std::string bare = Write(dir, "b.mp3", Raw("nothing here"));
    TagReader r;
    ASSERT_TRUE(r.LoadMP3File(tagged));
    EXPECT_EQ(r.TitleString(), "Tagged");
    ASSERT_TRUE(r.LoadMP3File(bare));
    EXPECT_EQ(All(r), kNothing);
    // Empty and tiny files are readable and clear the texts as well.
    ASSERT_TRUE(r.LoadMP3File(tagged));
    EXPECT_TRUE(r.LoadMP3File(Write(dir, "empty.mp3", {})));
    EXPECT_EQ(All(r), kNothing);
    EXPECT_TRUE(r.LoadMP3File(Write(dir, "tiny.mp3", Raw("ID3"))));
    EXPECT_EQ(All(r), kNothing);
}

TEST(TagReaderFileTest, LargeFilesGiveTheSameAsTheBytesInMemory) {
    // Tags and headers beyond the reader's blocks: a 100 KB picture frame before the
    // title, 300 KB of audio, an appended-style v1 at the very end.
    Bytes picture = Frame23("APIC", Bytes(100 * 1024, 0xAB));
    Bytes tag = Tag(3, 0,
                    Cat({picture, Frame23("TIT2", Latin1Body("After the picture")),
                         Frame23("TPE1", Latin1Body("Artist"))}));
    FrameHeader slow{2, 1, 1, 0, 1};  // 8 kbit/s: 1000 bytes a second
    Id3v1 v1;
    v1.album = "V1 Album";
    Bytes file = Cat({tag, Zeros(70000), Frame(slow, 300000), v1.Build()});

    TempDir dir;
    std::string path = Write(dir, "large.mp3", file);
    TagReader fromFile;
    ASSERT_TRUE(fromFile.LoadMP3File(path));
    TagReader fromMemory = ReadBytes(file);
    // 300,128 bytes from the header.
    EXPECT_EQ(All(fromFile),
              "Artist|V1 Album|After the picture||||5'00''|"
              "8 kbit / sec, constant bit rate|22050 hz, joint stereo");
    EXPECT_EQ(All(fromFile), All(fromMemory));

    // An appended tag far from the start, before the ID3v1 tag.
    Bytes appended = TagWithFooter(0, Frame24("TCON", Latin1Body("(8)")));
    std::string tail = Write(dir, "tail.mp3", Cat({Frame(slow, 200000), appended, v1.Build()}));
    ASSERT_TRUE(fromFile.LoadMP3File(tail));
    EXPECT_EQ(fromFile.GenreString(), "Jazz");
    EXPECT_EQ(fromFile.AlbumString(), "V1 Album");
}

// Made by tests/data/mp3/make_fixtures.sh; the values were worked out from what the tools
// were asked to write (see the README there), not copied from the reader's output.
// Artist|album|title|track|year|genre|length|bitrate|frequency.
TEST(TagReaderFileTest, FixturesFromDebianTools) {
    const std::string cbr64 = "0'01''|64 kbit / sec, constant bit rate|32000 hz, stereo";
    const std::pair<const char*, std::string> fixtures[] = {
        // 78 frames, 33,017 bytes in the Info header: 129.6 kbit/s, 2.04 s.
        {"lame_cbr128_info_tags.mp3",
         "Lame Artist|Lame Album|Lame Title|3|2007|Jazz|0'02''|"
         "130 kbit / sec, variable bit rate|44100 hz, joint stereo"},
        // 117 frames of 576 samples, 6,346 bytes at 22050 Hz: 16.6 kbit/s, 3.06 s.
        {"lame_vbr_mono22_xing.mp3",
         "Lame Artist||Mono VBR||||0'03''|17 kbit / sec, variable bit rate|22050 hz, mono"},
        // No VBR header: 8,352 bytes at 64 kbit/s = 1.04 s.
        {"lame_cbr64_plain.mp3", "||||||" + cbr64},
        // id3v2 writes v2.3 and v1.1; the v1.1 track "5" wins over the v2 "5/12".
        {"id3v2_tool_v23_v1.mp3", "Id3v2 Artist|Id3v2 Album|Id3v2 Title|5|1998|Rock|" + cbr64},
        {"eyed3_v24_utf8.mp3",
         "Björk Guðmundsdóttir|Ærø Ünïcødé|Café Olé|02/10|2003|Trip-Hop|" + cbr64},
        // eyeD3 writes genre 140 as its own full name, which is kept as text.
        {"eyed3_v23_utf16.mp3",
         "Zoë Ψ|Ελληνικά|日本語 title|04|2011|Contemporary Christian|" + cbr64},
    };
    for (const auto& [file, expected] : fixtures) {
        TagReader r;
        ASSERT_TRUE(r.LoadMP3File(std::string(VANDREL_TEST_DATA) + "/mp3/" + file));
        EXPECT_EQ(All(r), expected) << file;
    }
}

TEST(TagReaderFileTest, CutFixturesNeverCrash) {
    // Every fixture cut at a spread of lengths, through the file path.
    TempDir dir;
    QDir data(QString(VANDREL_TEST_DATA) + "/mp3");
    const QStringList names = data.entryList({"*.mp3"}, QDir::Files);
    ASSERT_FALSE(names.isEmpty());
    for (const QString& name : names) {
        QByteArray all = vandrel::test::ReadFile(data.filePath(name));
        for (qsizetype n = 0; n < all.size(); n += 97) {
            QString cut = dir.file("cut.mp3");
            ASSERT_TRUE(vandrel::test::WriteFile(cut, all.left(n)));
            TagReader r;
            EXPECT_TRUE(r.LoadMP3File(cut.toStdString()));
            EXPECT_FALSE(r.LengthString().empty());
        }
    }
}

}  // namespace
}  // namespace tagwell::test
