// ID3v1 and v1.1 tags, the genre table, and how ID3v1 and ID3v2 values combine.
#include <gtest/gtest.h>

#include "mp3_builder.h"

namespace tagwell::test {
namespace {

TEST(Id3v1Test, ReadsFieldsTrimmedAndCutAtNul) {
    Id3v1 v1;
    v1.title = "  Song Title  ";
    v1.artist = "Artist";
    v1.album = std::string("Alb\0junk", 8);
    v1.year = "1999";
    v1.genre = 17;
    TagReader r = ReadBytes(Cat({Zeros(50), v1.Build()}));
    EXPECT_EQ(r.TitleString(), "Song Title");
    EXPECT_EQ(r.ArtistString(), "Artist");
    EXPECT_EQ(r.AlbumString(), "Alb");
    EXPECT_EQ(r.YearString(), "1999");
    EXPECT_EQ(r.GenreString(), "Rock");
    EXPECT_EQ(r.TrackNumberString(), "");  // plain ID3v1 has no track
}

TEST(Id3v1Test, FullWidthFieldsUseAllThirtyBytes) {
    Id3v1 v1;
    v1.title = std::string(30, 'T');
    v1.artist = std::string(30, 'A');
    v1.album = std::string(30, 'L');
    v1.year = "2024";
    TagReader r = ReadBytes(v1.Build());
    EXPECT_EQ(r.TitleString(), std::string(30, 'T'));
    EXPECT_EQ(r.ArtistString(), std::string(30, 'A'));
    EXPECT_EQ(r.AlbumString(), std::string(30, 'L'));
    EXPECT_EQ(r.YearString(), "2024");  // the comment that follows does not leak in
}

TEST(Id3v1Test, TrackOnlyInTheV11Form) {
    Id3v1 v1;
    v1.track = 7;
    EXPECT_EQ(ReadBytes(v1.Build()).TrackNumberString(), "7");
    v1.track = 255;
    EXPECT_EQ(ReadBytes(v1.Build()).TrackNumberString(), "255");

    // Byte 125 not zero: the comment runs to byte 126, no track.
    Id3v1 longComment;
    longComment.comment = std::string(30, 'c');
    EXPECT_EQ(ReadBytes(longComment.Build()).TrackNumberString(), "");

    // Both bytes zero: no track either.
    EXPECT_EQ(ReadBytes(Id3v1{}.Build()).TrackNumberString(), "");
}

TEST(Id3v1Test, Latin1BecomesUtf8AndLineFeedsBecomeCrLf) {
    Id3v1 v1;
    v1.title = "Caf\xE9 \xFC";  // Latin-1 é and ü
    v1.artist = "a\rb\nc";
    TagReader r = ReadBytes(v1.Build());
    EXPECT_EQ(r.TitleString(), "Caf\xC3\xA9 \xC3\xBC");
    EXPECT_EQ(r.ArtistString(), "ab\r\nc");
}

TEST(Id3v1Test, NeedsTheTagMarkerAndAFullTag) {
    Id3v1 v1;
    v1.title = "Title";
    Bytes tag = v1.Build();
    Bytes noMarker = tag;
    noMarker[0] = 'X';
    EXPECT_EQ(ReadBytes(noMarker).TitleString(), "");

    // Shorter than 128 bytes: no ID3v1 tag can be there, and nothing is read out of range.
    Bytes shortFile(tag.begin(), tag.begin() + 100);
    TagReader r = ReadBytes(shortFile);
    EXPECT_EQ(r.TitleString(), "");
    EXPECT_EQ(r.LengthString(), "0'00''");

    // The tag must be the last 128 bytes.
    EXPECT_EQ(ReadBytes(Cat({tag, Zeros(1)})).TitleString(), "");
}

TEST(Id3v1Test, GenreByteOutsideTheTableGivesNoGenre) {
    for (int g : {148, 200, 254, 255}) {
        Id3v1 v1;
        v1.genre = static_cast<std::uint8_t>(g);
        EXPECT_EQ(ReadBytes(v1.Build()).GenreString(), "") << g;
    }
}

// Typed independently of the library's table, so a misspelt or shifted name shows here
// (the odd ones included: 40 "Alt. Rock", 67 "Psychadelic", 140 "Contemporary C").
TEST(GenreTableTest, EveryIndexHasItsExactName) {
    const char* const expected[] = {
        "Blues",
        "Classic Rock",
        "Country",
        "Dance",
        "Disco",
        "Funk",
        "Grunge",
        "Hip-Hop",
        "Jazz",
        "Metal",
        "New Age",
        "Oldies",
        "Other",
        "Pop",
        "R&B",
        "Rap",
        "Reggae",
        "Rock",
        "Techno",
        "Industrial",
        "Alternative",
        "Ska",
        "Death Metal",
        "Pranks",
        "Soundtrack",
        "Euro-Techno",
        "Ambient",
        "Trip-Hop",
        "Vocal",
        "Jazz+Funk",
        "Fusion",
        "Trance",
        "Classical",
        "Instrumental",
        "Acid",
        "House",
        "Game",
        "Sound Clip",
        "Gospel",
        "Noise",
        "Alt. Rock",
        "Bass",
        "Soul",
        "Punk",
        "Space",
        "Meditative",
        "Instrumental Pop",
        "Instrumental Rock",
        "Ethnic",
        "Gothic",
        "Darkwave",
        "Techno-Industrial",
        "Electronic",
        "Pop-Folk",
        "Eurodance",
        "Dream",
        "Southern Rock",
        "Comedy",
        "Cult",
        "Gangsta",
        "Top 40",
        "Christian Rap",
        "Pop/Funk",
        "Jungle",
        "Native American",
        "Cabaret",
        "New Wave",
        "Psychadelic",
        "Rave",
        "Showtunes",
        "Trailer",
        "Lo-Fi",
        "Tribal",
        "Acid Punk",
        "Acid Jazz",
        "Polka",
        "Retro",
        "Musical",
        "Rock & Roll",
        "Hard Rock",
        "Folk",
        "Folk-Rock",
        "National Folk",
        "Swing",
        "Fast Fusion",
        "Bebob",
        "Latin",
        "Revival",
        "Celtic",
        "Bluegrass",
        "Avantgarde",
        "Gothic Rock",
        "Progressive Rock",
        "Psychedelic Rock",
        "Symphonic Rock",
        "Slow Rock",
        "Big Band",
        "Chorus",
        "Easy Listening",
        "Acoustic",
        "Humour",
        "Speech",
        "Chanson",
        "Opera",
        "Chamber Music",
        "Sonata",
        "Symphony",
        "Booty Bass",
        "Primus",
        "Porn Groove",
        "Satire",
        "Slow Jam",
        "Club",
        "Tango",
        "Samba",
        "Folklore",
        "Ballad",
        "Power Ballad",
        "Rhythmic Soul",
        "Freestyle",
        "Duet",
        "Punk Rock",
        "Drum Solo",
        "A capella",
        "Euro-House",
        "Dance Hall",
        "Goa",
        "Drum & Bass",
        "Club-House",
        "Hardcore",
        "Terror",
        "Indie",
        "BritPop",
        "Negerpunk",
        "Polsk Punk",
        "Beat",
        "Christian Gangsta",
        "Heavy Metal",
        "Black Metal",
        "Crossover",
        "Contemporary C",
        "Christian Rock",
        "Merengue",
        "Salsa",
        "Thrash Metal",
        "Anime",
        "JPop",
        "SynthPop",
    };
    static_assert(std::size(expected) == 148);
    for (int i = 0; i < 148; ++i) {
        Id3v1 v1;
        v1.genre = static_cast<std::uint8_t>(i);
        EXPECT_EQ(ReadBytes(v1.Build()).GenreString(), expected[i]) << "index " << i;
        // The same names through an ID3v2 "(n)" genre.
        const std::string number = '(' + std::to_string(i) + ')';
        Bytes tag = Tag(3, 0, Frame23("TCON", Latin1Body(number)));
        EXPECT_EQ(ReadBytes(tag).GenreString(), expected[i]) << "index " << i;
    }
}

TEST(TagPrecedenceTest, Id3v1WinsAndId3v2FillsTheGaps) {
    Id3v1 v1;
    v1.title = std::string(30, 'a');  // ID3v1 can only hold 30 characters...
    v1.genre = 255;                   // ...and has no genre here
    Bytes v2 = Tag(3, 0,
                   Cat({Frame23("TIT2", Latin1Body(std::string(40, 'b'))),
                        Frame23("TPE1", Latin1Body("V2 Artist")),
                        Frame23("TCON", Latin1Body("(8)")), Frame23("TRCK", Latin1Body("7/12"))}));
    TagReader r = ReadBytes(Cat({v2, Zeros(10), v1.Build()}));
    EXPECT_EQ(r.TitleString(), std::string(30, 'a'));  // the ID3v1 title wins
    EXPECT_EQ(r.ArtistString(), "V2 Artist");          // the v1 artist was empty
    EXPECT_EQ(r.GenreString(), "Jazz");
    EXPECT_EQ(r.TrackNumberString(), "7/12");
}

TEST(TagPrecedenceTest, BlankId3v1FieldsCountAsEmpty) {
    Id3v1 v1;
    v1.title = "                              ";  // 30 spaces: trimmed to nothing
    Bytes v2 = Tag(4, 0, Frame24("TIT2", Latin1Body("From v2")));
    EXPECT_EQ(ReadBytes(Cat({v2, v1.Build()})).TitleString(), "From v2");
}

}  // namespace
}  // namespace tagwell::test
