// ID3v2.2, 2.3 and 2.4 tags: frames, flags, unsynchronisation, extended headers, footers,
// SEEK chains, text encodings and genre texts.
#include <gtest/gtest.h>

#include "mp3_builder.h"

namespace tagwell::test {
namespace {

TEST(Id3v2Test, ReadsTheSixFieldsInEveryVersion) {
    Bytes v22 = Tag(2, 0,
                    Cat({Frame22("TT2", Latin1Body("Title")), Frame22("TP1", Latin1Body("Artist")),
                         Frame22("TAL", Latin1Body("Album")), Frame22("TRK", Latin1Body("3/9")),
                         Frame22("TYE", Latin1Body("1987")), Frame22("TCO", Latin1Body("(9)"))}));
    Bytes v23 =
        Tag(3, 0,
            Cat({Frame23("TIT2", Latin1Body("Title")), Frame23("TPE1", Latin1Body("Artist")),
                 Frame23("TALB", Latin1Body("Album")), Frame23("TRCK", Latin1Body("3/9")),
                 Frame23("TYER", Latin1Body("1987")), Frame23("TCON", Latin1Body("(9)"))}));
    Bytes v24 = Tag(
        4, 0,
        Cat({Frame24("TIT2", Latin1Body("Title")), Frame24("TPE1", Latin1Body("Artist")),
             Frame24("TALB", Latin1Body("Album")), Frame24("TRCK", Latin1Body("3/9")),
             Frame24("TDRC", Latin1Body("1987-05-01T10:00")), Frame24("TCON", Latin1Body("(9)"))}));
    for (const Bytes& tag : {v22, v23, v24}) {
        TagReader r = ReadBytes(Cat({tag, Zeros(64)}));
        SCOPED_TRACE(static_cast<int>(tag[3]));
        EXPECT_EQ(r.TitleString(), "Title");
        EXPECT_EQ(r.ArtistString(), "Artist");
        EXPECT_EQ(r.AlbumString(), "Album");
        EXPECT_EQ(r.TrackNumberString(), "3/9");
        EXPECT_EQ(r.YearString(), "1987");
        EXPECT_EQ(r.GenreString(), "Metal");
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
        {"utf-16 lone surrogate", TextBody(2, Bytes{0xD8, 0x00, 0x00, 0x41}),
         "\xEF\xBF\xBD"
         "A"},
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
        {"line breaks", TextBody(0, Raw("a\r\nb\nc\rd")),
         "a\r\nb\r\nc"
         "d"},
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
    Bytes padded = Tag(3, 0,
                       Cat({Frame23("TIT2", Latin1Body("Kept")), Zeros(30),
                            Frame23("TPE1", Latin1Body("Hidden"))}));
    TagReader r = ReadBytes(padded);
    EXPECT_EQ(r.TitleString(), "Kept");
    EXPECT_EQ(r.ArtistString(), "");

    // A frame claiming more than the tag holds ends the walk.
    Bytes big = Frame23("TPE1", Latin1Body("Artist"));
    big[7] = 200;
    Bytes oversized = Tag(3, 0, Cat({Frame23("TIT2", Latin1Body("Kept")), big}));
    r = ReadBytes(oversized);
    EXPECT_EQ(r.TitleString(), "Kept");
    EXPECT_EQ(r.ArtistString(), "");

    // The same for v2.2 frames.
    Bytes big22 = Frame22("TP1", Latin1Body("Artist"));
    big22[5] = 200;
    r = ReadBytes(Tag(2, 0, Cat({Frame22("TT2", Latin1Body("Kept")), big22})));
    EXPECT_EQ(r.TitleString(), "Kept");
    EXPECT_EQ(r.ArtistString(), "");
}

TEST(Id3v2Test, FrameSizesWithTheTopBitSetStopTheTagSafely) {
    Bytes huge = Frame24("TPE1", Latin1Body("Artist"));
    huge[4] = 0xFF, huge[5] = 0xFF, huge[6] = 0xFF, huge[7] = 0xFF;
    TagReader r = ReadBytes(Tag(4, 0, Cat({Frame24("TIT2", Latin1Body("Kept")), huge, Zeros(8)})));
    EXPECT_EQ(r.TitleString(), "Kept");
    EXPECT_EQ(r.ArtistString(), "");
    // A tag size with the top bit set reads as a plain size far past the end of the data.
    Bytes tag = Tag(3, 0, Frame23("TIT2", Latin1Body("Title")));
    tag[6] = 0x80;
    EXPECT_EQ(ReadBytes(tag).TitleString(), "Title");
}

TEST(Id3v2Test, V23FrameFlags) {
    Bytes grouped = Cat({Bytes{0x42}, Latin1Body("Grouped")});
    Bytes tag = Tag(3, 0,
                    Cat({Frame23("TIT2", Latin1Body("Zipped"), 0x80),
                         Frame23("TPE1", Latin1Body("Secret"), 0x40),
                         Frame23("TALB", grouped, 0x20), Frame23("TRCK", Latin1Body("5"), 0x00)}));
    TagReader r = ReadBytes(tag);
    EXPECT_EQ(r.TitleString(), "");   // compressed
    EXPECT_EQ(r.ArtistString(), "");  // encrypted
    EXPECT_EQ(r.AlbumString(), "Grouped");
    EXPECT_EQ(r.TrackNumberString(), "5");
}

TEST(Id3v2Test, V24FrameFlags) {
    Bytes tag =
        Tag(4, 0,
            Cat({Frame24("TIT2", Cat({Bytes{0x42}, Latin1Body("Grouped")}), 0x40),
                 Frame24("TPE1", Latin1Body("Zipped"), 0x08),
                 Frame24("TALB", Latin1Body("Secret"), 0x04),
                 Frame24("TRCK", Cat({Syncsafe32(3), Latin1Body("12")}), 0x01),
                 Frame24("TYER", Cat({Bytes{7}, Syncsafe32(5), Latin1Body("1999")}), 0x41)}));
    TagReader r = ReadBytes(tag);
    EXPECT_EQ(r.TitleString(), "Grouped");
    EXPECT_EQ(r.ArtistString(), "");
    EXPECT_EQ(r.AlbumString(), "");
    EXPECT_EQ(r.TrackNumberString(), "12");
    EXPECT_EQ(r.YearString(), "1999");
}

TEST(Id3v2Test, TagWideUnsynchronisationInV22AndV23) {
    // FF FE is a UTF-16 byte-order mark that unsynchronisation must escape.
    Bytes title = Frame23("TIT2", TextBody(1, Utf16("ÿÿ Title", true, true)));
    Bytes artist = Frame23("TPE1", Latin1Body("Artist"));
    Bytes body = Unsynchronise(Cat({title, artist}));
    ASSERT_NE(body.size(), title.size() + artist.size());
    TagReader r = ReadBytes(Tag(3, 0x80, body));
    EXPECT_EQ(r.TitleString(), "ÿÿ Title");
    EXPECT_EQ(r.ArtistString(), "Artist");

    Bytes body22 = Unsynchronise(Cat({Frame22("TT2", Cat({Latin1Body("a"), Bytes{0xFF}, Raw("b")})),
                                      Frame22("TP1", Latin1Body("Artist"))}));
    r = ReadBytes(Tag(2, 0x80, body22));
    EXPECT_EQ(r.TitleString(),
              "a\xC3\xBF"
              "b");
    EXPECT_EQ(r.ArtistString(), "Artist");

    // An escaped FF 00 comes back as FF 00, not as FF.
    Bytes ff00 = Frame23("TALB", Cat({TextBody(2, Bytes{0x00, 0x41, 0x00, 0xFF, 0x00, 0x42})}));
    r = ReadBytes(Tag(3, 0x80, Unsynchronise(ff00)));
    EXPECT_EQ(r.AlbumString(),
              "A\xC3\xBF"
              "B");
}

TEST(Id3v2Test, V24UnsynchronisationPerFrameAndTagWide) {
    Bytes data = TextBody(1, Utf16("ÿÿ", true, true));
    // Per frame: the frame's own flag; the stored size counts the escaped bytes.
    Bytes escaped = Unsynchronise(data);
    Bytes perFrame =
        Tag(4, 0, Cat({Frame24("TIT2", escaped, 0x02), Frame24("TPE1", Latin1Body("After"))}));
    TagReader r = ReadBytes(perFrame);
    EXPECT_EQ(r.TitleString(), "ÿÿ");
    EXPECT_EQ(r.ArtistString(), "After");
    // Tag-wide flag in v2.4 applies to each frame's data.
    Bytes tagWide =
        Tag(4, 0x80, Cat({Frame24("TIT2", escaped), Frame24("TPE1", Latin1Body("After"))}));
    r = ReadBytes(tagWide);
    EXPECT_EQ(r.TitleString(), "ÿÿ");
    EXPECT_EQ(r.ArtistString(), "After");
}

TEST(Id3v2Test, ExtendedHeaders) {
    // v2.3: the size excludes its own four bytes.
    Bytes ext23 = Cat({BigEndian32(6), Zeros(6)});
    TagReader r = ReadBytes(Tag(3, 0x40, Cat({ext23, Frame23("TIT2", Latin1Body("After ext"))})));
    EXPECT_EQ(r.TitleString(), "After ext");
    // v2.4: syncsafe size including itself.
    Bytes ext24 = Cat({Syncsafe32(6), Bytes{1, 0}});
    r = ReadBytes(Tag(4, 0x40, Cat({ext24, Frame24("TIT2", Latin1Body("After ext"))})));
    EXPECT_EQ(r.TitleString(), "After ext");
    // v2.2 has no extended header: the flag means compression there and is not followed.
    r = ReadBytes(Tag(2, 0x40, Frame22("TT2", Latin1Body("v22"))));
    EXPECT_EQ(r.TitleString(), "v22");
    // An extended header size past the end of the tag leaves nothing to read.
    Bytes far = Cat({BigEndian32(0x7FFFFFF0), Zeros(2)});
    r = ReadBytes(Tag(3, 0x40, Cat({far, Frame23("TIT2", Latin1Body("x"))})));
    EXPECT_EQ(r.TitleString(), "");
}

TEST(Id3v2Test, V24PlainFrameSizesAreRecognised) {
    // 200 bytes stored plain (00 00 00 C8) would read as a different syncsafe number.
    std::string longTitle(199, 'x');
    Bytes plain = Frame24("TIT2", Latin1Body(longTitle), 0, true);
    Bytes tag = Tag(4, 0, Cat({plain, Frame24("TPE1", Latin1Body("Next")), Zeros(16)}));
    TagReader r = ReadBytes(tag);
    EXPECT_EQ(r.TitleString(), longTitle);
    EXPECT_EQ(r.ArtistString(), "Next");

    // Sizes below 128 read the same both ways and need no guess.
    Bytes smallPlain = Frame24("TIT2", Latin1Body("Short"), 0, true);
    r = ReadBytes(Tag(4, 0, Cat({smallPlain, Frame24("TPE1", Latin1Body("Next"))})));
    EXPECT_EQ(r.TitleString(), "Short");
    EXPECT_EQ(r.ArtistString(), "Next");

    // A correct syncsafe size of 200 is kept when the next identifier follows it.
    Bytes syncsafe = Frame24("TIT2", Latin1Body(longTitle));
    r = ReadBytes(Tag(4, 0, Cat({syncsafe, Frame24("TPE1", Latin1Body("Next"))})));
    EXPECT_EQ(r.TitleString(), longTitle);
    EXPECT_EQ(r.ArtistString(), "Next");
}

TEST(Id3v2Test, AppendedTagFoundByItsFooter) {
    Bytes tag = TagWithFooter(0, Cat({Frame24("TIT2", Latin1Body("Appended")),
                                      Frame24("TPE1", Latin1Body("At the end"))}));
    Bytes audio = Frame(FrameHeader{}, 417);
    TagReader r = ReadBytes(Cat({audio, tag}));
    EXPECT_EQ(r.TitleString(), "Appended");
    EXPECT_EQ(r.ArtistString(), "At the end");
    // The same footed tag at the start: read there, and the audio after it is found.
    r = ReadBytes(Cat({tag, audio}));
    EXPECT_EQ(r.TitleString(), "Appended");
    EXPECT_EQ(r.BitrateString(), "128 kbit / sec, constant bit rate");

    // Before an ID3v1 tag; ID3v1 still wins where it has a value.
    Id3v1 v1;
    v1.artist = "V1 Artist";
    r = ReadBytes(Cat({audio, tag, v1.Build()}));
    EXPECT_EQ(r.TitleString(), "Appended");
    EXPECT_EQ(r.ArtistString(), "V1 Artist");

    // A footer pointing before the start of the file, or at something that is no header.
    Bytes lying = tag;
    lying[lying.size() - 4] = 0x7F;
    EXPECT_EQ(ReadBytes(Cat({audio, lying})).TitleString(), "");
    Bytes wrongMagic = Cat({audio, tag});
    wrongMagic[audio.size()] = 'X';
    EXPECT_EQ(ReadBytes(wrongMagic).TitleString(), "");

    // A file that is nothing but a footer.
    EXPECT_EQ(ReadBytes(Bytes(tag.end() - 10, tag.end())).TitleString(), "");

    // A tag at the start means no appended tag is looked for.
    Bytes front = Tag(3, 0, Frame23("TPE1", Latin1Body("Front")));
    r = ReadBytes(Cat({front, audio, tag}));
    EXPECT_EQ(r.ArtistString(), "Front");
    EXPECT_EQ(r.TitleString(), "");
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
    TagReader r = ReadBytes(Cat({first, Zeros(5), update, Frame(FrameHeader{}, 417)}));
    EXPECT_EQ(r.TitleString(), "Update title");    // replaced by the update
    EXPECT_EQ(r.AlbumString(), "First album");     // kept: the update does not carry it
    EXPECT_EQ(r.ArtistString(), "Update artist");  // added by the update

    // A following tag that is not an update starts afresh.
    Bytes fresh = Tag(4, 0, Frame24("TPE1", Latin1Body("Fresh artist")));
    r = ReadBytes(Cat({first, Zeros(5), fresh}));
    EXPECT_EQ(r.ArtistString(), "Fresh artist");
    EXPECT_EQ(r.TitleString(), "");

    // A SEEK past the end of the file, or to something that is not a tag, ends the chain.
    Bytes away = Tag(4, 0, Cat({Frame24("TIT2", Latin1Body("Alone")), SeekFrame(0xFFFFFFF0)}));
    EXPECT_EQ(ReadBytes(Cat({away, fresh})).TitleString(), "Alone");
    EXPECT_EQ(ReadBytes(Cat({first, Zeros(5), Raw("XYZ"), Zeros(40)})).TitleString(),
              "First title");

    // A SEEK frame too short to hold a number is not followed.
    Bytes shortSeek =
        Tag(4, 0, Cat({Frame24("TIT2", Latin1Body("Alone")), Frame24("SEEK", Bytes{0, 0, 0})}));
    EXPECT_EQ(ReadBytes(Cat({shortSeek, fresh})).TitleString(), "Alone");
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
    TagReader r = ReadBytes(cut);
    EXPECT_EQ(r.TitleString(), "Complete");
    EXPECT_EQ(r.ArtistString(), "Cut of");
    EXPECT_EQ(r.AlbumString(), "");
    // Cut at every length: never a crash, never more than was there.
    for (std::size_t n = 0; n <= tag.size(); ++n) {
        TagReader part =
            ReadBytes(Bytes(tag.begin(), tag.begin() + static_cast<std::ptrdiff_t>(n)));
        EXPECT_LE(part.AlbumString().size(), 11u);
    }
    // A UTF-16 text cut in the middle of a character.
    Bytes wide = Tag(3, 0, Frame23("TPE1", TextBody(1, Utf16("Ab", true, true))));
    Bytes wideCut(wide.begin(), wide.end() - 1);
    EXPECT_EQ(ReadBytes(wideCut).ArtistString(), "Ab");
}

}  // namespace
}  // namespace tagwell::test
