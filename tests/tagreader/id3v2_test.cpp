// ID3v2.2, 2.3 and 2.4 tags: frames, flags, unsynchronisation, extended headers, footers,
// SEEK chains, text encodings and genre texts.
#include <gtest/gtest.h>

#include "mp3_builder.h"

namespace tagwell::test {
namespace {

// Title and artist of the bytes as one text, so a case is one line.
std::string TA(const Bytes& file) {
    TagReader r = ReadBytes(file);
    return r.TitleString() + "|" + r.ArtistString();
}
// Title, artist, album, track and year.
std::string Five(const Bytes& file) {
    TagReader r = ReadBytes(file);
    return r.TitleString() + "|" + r.ArtistString() + "|" + r.AlbumString() + "|" +
           r.TrackNumberString() + "|" + r.YearString();
}

TEST(Id3v2Test, ReadsTheSixFieldsInEveryVersion) {
    const char* ids[][6] = {{"TT2", "TP1", "TAL", "TRK", "TYE", "TCO"},
                            {"TIT2", "TPE1", "TALB", "TRCK", "TYER", "TCON"},
                            {"TIT2", "TPE1", "TALB", "TRCK", "TDRC", "TCON"}};
    const char* values[] = {"Title", "Artist", "Album", "3/9", "1987", "(9)"};
    for (int v = 2; v <= 4; ++v) {
        Bytes frames;
        for (int i = 0; i < 6; ++i) {
            Bytes body = Latin1Body(v == 4 && i == 4 ? "1987-05-01T10:00" : values[i]);
            frames = Cat({frames, v == 2   ? Frame22(ids[0][i], body)
                                  : v == 3 ? Frame23(ids[1][i], body)
                                           : Frame24(ids[2][i], body)});
        }
        TagReader r = ReadBytes(Cat({Tag(v, 0, frames), Zeros(64)}));
        EXPECT_EQ(r.TitleString() + "|" + r.ArtistString() + "|" + r.AlbumString() + "|" +
                      r.TrackNumberString() + "|" + r.YearString() + "|" + r.GenreString(),
                  "Title|Artist|Album|3/9|1987|Metal")
            << "v2." << v;
    }
}

TEST(Id3v2Test, UnknownVersionsAreIgnored) {
    for (int major : {0, 1, 5, 255}) {
        Bytes tag = Tag(major, 0, Frame23("TIT2", Latin1Body("x")));
        EXPECT_EQ(ReadBytes(tag).TitleString(), "") << major;
    }
}

TEST(Id3v2Test, LaterFramesReplaceEarlierOnesAndOthersAreIgnored) {
    Bytes tag =
        Tag(3, 0,
            Cat({Frame23("TIT2", Latin1Body("First")), Frame23("COMM", Latin1Body("xxx")),
                 Frame23("TIT3", Latin1Body("Sub")), Frame23("TIT2", Latin1Body("Second")),
                 Frame23("TYER", Latin1Body("1999")), Frame23("TDRC", Latin1Body("2004-01"))}));
    TagReader r = ReadBytes(tag);
    EXPECT_EQ(r.TitleString(), "Second");
    EXPECT_EQ(r.YearString(), "2004");  // TDRC after TYER wins, cut to its year
    EXPECT_EQ(ReadBytes(Tag(4, 0, Frame24("TDRC", Latin1Body("99")))).YearString(), "99");
    // Characters, not bytes: a UTF-8 year is never cut inside a character.
    Bytes wide = Tag(4, 0, Frame24("TDRC", TextBody(3, Raw("２００３年"))));
    EXPECT_EQ(ReadBytes(wide).YearString(), "２００３");
}

TEST(Id3v2Test, TextEncodings) {
    struct Case {
        const char* what;
        Bytes body;
        const char* expected;
    } cases[] = {
        {"latin-1", TextBody(0, Raw("Caf\xE9")), "Caf\xC3\xA9"},
        {"utf-16 le bom", TextBody(1, Utf16("Zoë Ψ", true, true)), "Zoë Ψ"},
        {"utf-16 be bom", TextBody(1, Utf16("Zoë Ψ", false, true)), "Zoë Ψ"},
        {"utf-16 no bom", TextBody(1, Utf16("Abc", true, false)), "Abc"},
        {"utf-16be", TextBody(2, Utf16("Ελληνικά", false, false)), "Ελληνικά"},
        {"utf-16 surrogate pair", TextBody(1, Utf16("a🎵b", true, true)), "a🎵b"},
        {"utf-16 lone surrogate", TextBody(2, Bytes{0xD8, 0x00, 0x00, 0x41}), "\uFFFDA"},
        {"utf-16 odd trailing byte", TextBody(2, Bytes{0x00, 0x41, 0x00}), "A"},
        {"utf-8 accents", TextBody(3, Raw("Björk Guðmundsdóttir")), "Björk Guðmundsdóttir"},
        {"utf-8 with bom", TextBody(3, Raw("\xEF\xBB\xBFHi")), "Hi"},
        {"utf-8 invalid bytes read as latin-1", TextBody(3, Raw("Caf\xE9!")), "Caf\xC3\xA9!"},
        {"utf-8 overlong", TextBody(3, Bytes{0xC0, 0xAF}), "\xC3\x80\xC2\xAF"},
        {"encoding 4", TextBody(4, Raw("text")), ""},
        {"only the encoding byte", Bytes{0}, ""},
        {"multi-string latin-1", TextBody(0, Raw(std::string("One\0Two", 7))), "One"},
        {"multi-string utf-16",
         TextBody(1, Cat({Utf16("One", true, true), Bytes{0, 0}, Utf16("Two", true, true)})),
         "One"},
        {"multi-string utf-8", TextBody(3, Raw(std::string("Ü1\0Ü2", 7))), "Ü1"},
        {"line breaks", TextBody(0, Raw("a\r\nb\nc\rd")), "a\r\nb\r\ncd"},
        // A UTF-16 character whose low byte is zero is a character, not the end.
        {"utf-16 U+0100", TextBody(1, Utf16("ĀB", true, true)), "ĀB"},
    };
    for (const Case& c : cases) {
        Bytes tag = Tag(3, 0, Frame23("TPE1", c.body));
        EXPECT_EQ(ReadBytes(tag).ArtistString(), c.expected) << c.what;
    }
}

TEST(Id3v2Test, GenreTexts) {
    struct Case {
        const char* stored;
        const char* shown;
    } cases[] = {
        {"(17)", "Rock"},  {"(17)Rock", "Rock"},  {"(RX)", "Remix"},
        {"(CR)", "Cover"}, {"Jazz", "Jazz"},      {"(200)", ""},
        {"(148)", ""},     {"Rock (17)", "Rock"}, {"(x)", "(x)"},
        {")(17", ")(17"},  {"()", "()"},          {"17", "17"},
        {"(-1)", ""},      {"(99999999999)", ""}, {"(40)(67)", "Alt. Rock"},
    };
    for (const Case& c : cases) {
        Bytes tag = Tag(4, 0, Frame24("TCON", Latin1Body(c.stored)));
        EXPECT_EQ(ReadBytes(tag).GenreString(), c.shown) << c.stored;
    }
}

TEST(Id3v2Test, PaddingAndOversizedFramesEndTheWalkKeepingWhatWasRead) {
    const Bytes kept = Frame23("TIT2", Latin1Body("Kept"));
    Bytes big = Frame23("TPE1", Latin1Body("Artist"));
    big[7] = 200;  // claims more than the tag holds
    Bytes big22 = Frame22("TP1", Latin1Body("Artist"));
    big22[5] = 200;
    Bytes huge = Frame24("TPE1", Latin1Body("Artist"));
    huge[4] = 0xFF, huge[5] = 0xFF, huge[6] = 0xFF, huge[7] = 0xFF;  // top bits set
    Bytes padded = Tag(3, 0, Cat({kept, Zeros(30), Frame23("TPE1", Latin1Body("Hidden"))}));
    EXPECT_EQ(TA(padded), "Kept|");
    EXPECT_EQ(TA(Tag(3, 0, Cat({kept, big}))), "Kept|");
    EXPECT_EQ(TA(Tag(2, 0, Cat({Frame22("TT2", Latin1Body("Kept")), big22}))), "Kept|");
    EXPECT_EQ(TA(Tag(4, 0, Cat({Frame24("TIT2", Latin1Body("Kept")), huge, Zeros(8)}))), "Kept|");
    // A tag size with the top bit set reads as a plain size far past the end of the data.
    Bytes tag = Tag(3, 0, Frame23("TIT2", Latin1Body("Title")));
    tag[6] = 0x80;
    EXPECT_EQ(TA(tag), "Title|");
}

TEST(Id3v2Test, V23FrameFlags) {
    Bytes grouped = Cat({Bytes{0x42}, Latin1Body("Grouped")});
    Bytes tag = Tag(3, 0,
                    Cat({Frame23("TIT2", Latin1Body("Zipped"), 0x80),
                         Frame23("TPE1", Latin1Body("Secret"), 0x40),
                         Frame23("TALB", grouped, 0x20), Frame23("TRCK", Latin1Body("5"), 0x00)}));
    EXPECT_EQ(Five(tag), "||Grouped|5|");  // compressed and encrypted frames are skipped
}

TEST(Id3v2Test, V24FrameFlags) {
    Bytes tag =
        Tag(4, 0,
            Cat({Frame24("TIT2", Cat({Bytes{0x42}, Latin1Body("Grouped")}), 0x40),
                 Frame24("TPE1", Latin1Body("Zipped"), 0x08),
                 Frame24("TALB", Latin1Body("Secret"), 0x04),
                 Frame24("TRCK", Cat({Syncsafe32(3), Latin1Body("12")}), 0x01),
                 Frame24("TYER", Cat({Bytes{7}, Syncsafe32(5), Latin1Body("1999")}), 0x41)}));
    EXPECT_EQ(Five(tag), "Grouped|||12|1999");
}

TEST(Id3v2Test, Unsynchronisation) {
    // FF FE is a UTF-16 byte-order mark that unsynchronisation must escape.
    Bytes title = Frame23("TIT2", TextBody(1, Utf16("ÿÿ Title", true, true)));
    Bytes artist = Frame23("TPE1", Latin1Body("Artist"));
    Bytes body = Unsynchronise(Cat({title, artist}));
    ASSERT_NE(body.size(), title.size() + artist.size());
    EXPECT_EQ(TA(Tag(3, 0x80, body)), "ÿÿ Title|Artist");
    Bytes body22 = Unsynchronise(Cat({Frame22("TT2", Cat({Latin1Body("a"), Bytes{0xFF}, Raw("b")})),
                                      Frame22("TP1", Latin1Body("Artist"))}));
    EXPECT_EQ(TA(Tag(2, 0x80, body22)), "aÿb|Artist");
    // An escaped FF 00 comes back as FF 00, not as FF.
    Bytes ff00 = Frame23("TIT2", Cat({TextBody(2, Bytes{0x00, 0x41, 0x00, 0xFF, 0x00, 0x42})}));
    EXPECT_EQ(TA(Tag(3, 0x80, Unsynchronise(ff00))), "AÿB|");
    // v2.4 per frame: the frame's own flag; the stored size counts the escaped bytes.
    Bytes escaped = Unsynchronise(TextBody(1, Utf16("ÿÿ", true, true)));
    Bytes after = Frame24("TPE1", Latin1Body("After"));
    EXPECT_EQ(TA(Tag(4, 0, Cat({Frame24("TIT2", escaped, 0x02), after}))), "ÿÿ|After");
    // The tag-wide flag in v2.4 applies to each frame's data.
    EXPECT_EQ(TA(Tag(4, 0x80, Cat({Frame24("TIT2", escaped), after}))), "ÿÿ|After");
}

TEST(Id3v2Test, ExtendedHeaders) {
    Bytes title = Frame23("TIT2", Latin1Body("After ext"));
    // v2.3: the size excludes its own four bytes.
    EXPECT_EQ(TA(Tag(3, 0x40, Cat({BigEndian32(6), Zeros(6), title}))), "After ext|");
    // v2.4: syncsafe size including itself.
    Bytes ext24 = Cat({Syncsafe32(6), Bytes{1, 0}, Frame24("TIT2", Latin1Body("After ext"))});
    EXPECT_EQ(TA(Tag(4, 0x40, ext24)), "After ext|");
    // v2.2 has no extended header: the flag means compression there and is not followed.
    EXPECT_EQ(TA(Tag(2, 0x40, Frame22("TT2", Latin1Body("v22")))), "v22|");
    // An extended header size past the end of the tag leaves nothing to read.
    EXPECT_EQ(TA(Tag(3, 0x40, Cat({BigEndian32(0x7FFFFFF0), Zeros(2), title}))), "|");
}

TEST(Id3v2Test, V24PlainFrameSizesAreRecognised) {
    // 200 bytes stored plain (00 00 00 C8) would read as a different syncsafe number.
    std::string longTitle(199, 'x');
    Bytes next = Frame24("TPE1", Latin1Body("Next"));
    Bytes plain = Frame24("TIT2", Latin1Body(longTitle), 0, true);
    EXPECT_EQ(TA(Tag(4, 0, Cat({plain, next, Zeros(16)}))), longTitle + "|Next");
    // Sizes below 128 read the same both ways and need no guess.
    Bytes smallPlain = Frame24("TIT2", Latin1Body("Short"), 0, true);
    EXPECT_EQ(TA(Tag(4, 0, Cat({smallPlain, next}))), "Short|Next");
    // A correct syncsafe size of 200 is kept when the next identifier follows it.
    Bytes syncsafe = Frame24("TIT2", Latin1Body(longTitle));
    EXPECT_EQ(TA(Tag(4, 0, Cat({syncsafe, next}))), longTitle + "|Next");
}

TEST(Id3v2Test, AppendedTagFoundByItsFooter) {
    Bytes tag = TagWithFooter(0, Cat({Frame24("TIT2", Latin1Body("Appended")),
                                      Frame24("TPE1", Latin1Body("At the end"))}));
    Bytes audio = Frame(FrameHeader{}, 417);
    EXPECT_EQ(TA(Cat({audio, tag})), "Appended|At the end");
    // The same footed tag at the start: read there, and the audio after it is found.
    TagReader r = ReadBytes(Cat({tag, audio}));
    EXPECT_EQ(r.TitleString(), "Appended");
    EXPECT_EQ(r.BitrateString(), "128 kbit / sec, constant bit rate");
    // Before an ID3v1 tag; ID3v1 still wins where it has a value.
    Id3v1 v1;
    v1.artist = "V1 Artist";
    EXPECT_EQ(TA(Cat({audio, tag, v1.Build()})), "Appended|V1 Artist");
    // A footer pointing before the start of the file, or at something that is no header.
    Bytes lying = tag;
    lying[lying.size() - 4] = 0x7F;
    EXPECT_EQ(TA(Cat({audio, lying})), "|");
    Bytes wrongMagic = Cat({audio, tag});
    wrongMagic[audio.size()] = 'X';
    EXPECT_EQ(TA(wrongMagic), "|");
    // A file that is nothing but a footer.
    EXPECT_EQ(TA(Bytes(tag.end() - 10, tag.end())), "|");
    // A tag at the start means no appended tag is looked for.
    EXPECT_EQ(TA(Cat({Tag(3, 0, Frame23("TPE1", Latin1Body("Front"))), audio, tag})), "|Front");
}

Bytes SeekFrame(std::uint32_t distance) { return Frame24("SEEK", BigEndian32(distance)); }

TEST(Id3v2Test, SeekChains) {
    Bytes first = Tag(4, 0,
                      Cat({Frame24("TIT2", Latin1Body("First title")),
                           Frame24("TALB", Latin1Body("First album")), SeekFrame(5)}));
    Bytes update =
        Tag(4, 0x40,
            Cat({Syncsafe32(6), Bytes{1, 0x40}, Frame24("TPE1", Latin1Body("Update artist")),
                 Frame24("TIT2", Latin1Body("Update title"))}));
    // The title is replaced by the update, the album kept, the artist added.
    EXPECT_EQ(Five(Cat({first, Zeros(5), update, Frame(FrameHeader{}, 417)})),
              "Update title|Update artist|First album||");
    // A following tag that is not an update starts afresh.
    Bytes fresh = Tag(4, 0, Frame24("TPE1", Latin1Body("Fresh artist")));
    EXPECT_EQ(Five(Cat({first, Zeros(5), fresh})), "|Fresh artist|||");
    // A SEEK past the end of the file, or to something that is not a tag, ends the chain.
    Bytes away = Tag(4, 0, Cat({Frame24("TIT2", Latin1Body("Alone")), SeekFrame(0xFFFFFFF0)}));
    EXPECT_EQ(TA(Cat({away, fresh})), "Alone|");
    EXPECT_EQ(TA(Cat({first, Zeros(5), Raw("XYZ"), Zeros(40)})), "First title|");
    // A SEEK frame too short to hold a number is not followed.
    Bytes shortSeek =
        Tag(4, 0, Cat({Frame24("TIT2", Latin1Body("Alone")), Frame24("SEEK", Bytes{0, 0, 0})}));
    EXPECT_EQ(TA(Cat({shortSeek, fresh})), "Alone|");
}

TEST(Id3v2Test, LongSeekChainsAreCut) {
    // Every tag points at the next one; the chain is far longer than any real file needs.
    Bytes file;
    for (int i = 0; i < 200; ++i) {
        Bytes t = Tag(4, 0x40,
                      Cat({Syncsafe32(6), Bytes{1, 0x40}, SeekFrame(0),
                           Frame24("TRCK", Latin1Body(std::to_string(i)))}));
        file = Cat({file, t});
    }
    TagReader r = ReadBytes(file);
    ASSERT_FALSE(r.TrackNumberString().empty());
    EXPECT_LT(std::stoi(r.TrackNumberString()), 199);
    EXPECT_GE(std::stoi(r.TrackNumberString()), 15);
}

TEST(Id3v2Test, TruncatedTagsKeepWhatTheFileHolds) {
    Bytes tag = Tag(
        3, 0,
        Cat({Frame23("TIT2", Latin1Body("Complete")), Frame23("TPE1", Latin1Body("Cut off artist")),
             Frame23("TALB", Latin1Body("Never there"))}));
    // Cut in the middle of the artist text.
    Bytes cut(tag.begin(), tag.begin() + 10 + 19 + 10 + 1 + 6);
    EXPECT_EQ(Five(cut), "Complete|Cut of|||");
    // Cut at every length: never a crash, never more than was there.
    for (std::size_t n = 0; n <= tag.size(); ++n) {
        TagReader part =
            ReadBytes(Bytes(tag.begin(), tag.begin() + static_cast<std::ptrdiff_t>(n)));
        EXPECT_LE(part.AlbumString().size(), 11u);
    }
    // A UTF-16 text cut in the middle of a character.
    Bytes wide = Tag(3, 0, Frame23("TPE1", TextBody(1, Utf16("Ab", true, true))));
    EXPECT_EQ(TA(Bytes(wide.begin(), wide.end() - 1)), "|Ab");
}

}  // namespace
}  // namespace tagwell::test
