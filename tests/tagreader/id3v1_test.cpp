// ID3v1 and v1.1 tags, the genre table, and how ID3v1 and ID3v2 values combine.
#include <gtest/gtest.h>

#include "mp3_builder.h"

namespace tagwell::test {
namespace {

// One tag per row: what a field holds and what the reader must give for it.
TEST(Id3v1Test, FieldsAsStored) {
    // title, artist, album, year, comment, track, genre
    auto tag = [](std::string t, std::string a, std::string l, std::string y, std::string c,
                  int track, std::uint8_t genre) {
        Id3v1 v1;
        v1.title = t, v1.artist = a, v1.album = l, v1.year = y, v1.comment = c;
        v1.track = track, v1.genre = genre;
        return v1;
    };
    const std::string t30(30, 'T'), a30(30, 'A'), l30(30, 'L');
    const struct {
        const char* name;
        Id3v1 tag;
        std::string expected;  // title|artist|album|year|genre|track
    } rows[] = {
        {"trimmed, cut at NUL, no track",
         tag("  Song Title  ", "Artist", std::string("Alb\0junk", 8), "1999", "", 0, 17),
         "Song Title|Artist|Alb|1999|Rock|"},
        // The comment that follows a full-width field does not leak in, and byte 125 not
        // zero means the comment runs on: no track.
        {"full width", tag(t30, a30, l30, "2024", std::string(30, 'c'), 0, 255),
         t30 + "|" + a30 + "|" + l30 + "|2024||"},
        {"Latin-1 to UTF-8, LF to CRLF", tag("Caf\xE9 \xFC", "a\rb\nc", "", "", "", 0, 255),
         "Caf\xC3\xA9 \xC3\xBC|ab\r\nc||||"},
        {"v1.1 track", tag("", "", "", "", "", 255, 255), "|||||255"},
    };
    for (const auto& r : rows) {
        const TagReader t = ReadBytes(Cat({Zeros(50), r.tag.Build()}));
        EXPECT_EQ(t.TitleString() + "|" + t.ArtistString() + "|" + t.AlbumString() + "|" +
                      t.YearString() + "|" + t.GenreString() + "|" + t.TrackNumberString(),
                  r.expected)
            << r.name;
    }
}

TEST(Id3v1Test, NeedsTheMarkerAFullTagAtTheEndAndAGenreInTheTable) {
    Id3v1 v1;
    v1.title = "Title";
    const Bytes tag = v1.Build();
    Bytes noMarker = tag;
    noMarker[0] = 'X';
    EXPECT_EQ(ReadBytes(noMarker).TitleString(), "");
    // Shorter than 128 bytes: nothing is read out of range.
    const TagReader shortFile = ReadBytes(Bytes(tag.begin(), tag.begin() + 100));
    EXPECT_EQ(shortFile.TitleString(), "");
    EXPECT_EQ(shortFile.LengthString(), "0'00''");
    EXPECT_EQ(ReadBytes(Cat({tag, Zeros(1)})).TitleString(), "");
    for (int g : {148, 200, 254, 255}) {
        v1.genre = static_cast<std::uint8_t>(g);
        EXPECT_EQ(ReadBytes(v1.Build()).GenreString(), "") << g;
    }
}

// Typed independently of the library's table, so a misspelt or shifted name shows here
// (the odd ones included: 40 "Alt. Rock", 67 "Psychadelic", 140 "Contemporary C").
TEST(GenreTableTest, EveryIndexHasItsExactName) {
    // One name after another, each ended by "|".
    const std::string table =
        "Blues|Classic Rock|Country|Dance|Disco|Funk|Grunge|Hip-Hop|Jazz|Metal|New Age|Oldies|"
        "Other|Pop|R&B|Rap|Reggae|Rock|Techno|Industrial|Alternative|Ska|Death Metal|Pranks|"
        "Soundtrack|Euro-Techno|Ambient|Trip-Hop|Vocal|Jazz+Funk|Fusion|Trance|Classical|"
        "Instrumental|Acid|House|Game|Sound Clip|Gospel|Noise|Alt. Rock|Bass|Soul|Punk|Space|"
        "Meditative|Instrumental Pop|Instrumental Rock|Ethnic|Gothic|Darkwave|"
        "Techno-Industrial|Electronic|Pop-Folk|Eurodance|Dream|Southern Rock|Comedy|Cult|"
        "Gangsta|Top 40|Christian Rap|Pop/Funk|Jungle|Native American|Cabaret|New Wave|"
        "Psychadelic|Rave|Showtunes|Trailer|Lo-Fi|Tribal|Acid Punk|Acid Jazz|Polka|Retro|"
        "Musical|Rock & Roll|Hard Rock|Folk|Folk-Rock|National Folk|Swing|Fast Fusion|Bebob|"
        "Latin|Revival|Celtic|Bluegrass|Avantgarde|Gothic Rock|Progressive Rock|"
        "Psychedelic Rock|Symphonic Rock|Slow Rock|Big Band|Chorus|Easy Listening|Acoustic|"
        "Humour|Speech|Chanson|Opera|Chamber Music|Sonata|Symphony|Booty Bass|Primus|"
        "Porn Groove|Satire|Slow Jam|Club|Tango|Samba|Folklore|Ballad|Power Ballad|"
        "Rhythmic Soul|Freestyle|Duet|Punk Rock|Drum Solo|A capella|Euro-House|Dance Hall|Goa|"
        "Drum & Bass|Club-House|Hardcore|Terror|Indie|BritPop|Negerpunk|Polsk Punk|Beat|"
        "Christian Gangsta|Heavy Metal|Black Metal|Crossover|Contemporary C|Christian Rock|"
        "Merengue|Salsa|Thrash Metal|Anime|JPop|SynthPop|";
    std::vector<std::string> expected;
    for (std::size_t from = 0, bar; (bar = table.find('|', from)) != std::string::npos;
         from = bar + 1)
        expected.push_back(table.substr(from, bar - from));
    ASSERT_EQ(expected.size(), 148u);
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
    // A blank ID3v1 field (30 spaces, trimmed to nothing) counts as empty.
    v1.title = std::string(30, ' ');
    EXPECT_EQ(ReadBytes(Cat({Tag(4, 0, Frame24("TIT2", Latin1Body("From v2"))), v1.Build()}))
                  .TitleString(),
              "From v2");
}

}  // namespace
}  // namespace tagwell::test
