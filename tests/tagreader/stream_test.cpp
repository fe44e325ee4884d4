// Stream properties: finding the first frame header, the bitrate tables, Xing/Info/VBRI
// headers, length and the three stream texts.
#include <gtest/gtest.h>

#include "mp3_builder.h"

namespace tagwell::test {
namespace {

// MPEG 2 Layer III at 8 kbit/s moves 1000 bytes a second, which makes lengths easy.
FrameHeader Slow() {
    FrameHeader h;
    h.versionBits = 2;
    h.bitrateIndex = 1;
    return h;
}

// Length, bitrate and frequency texts of the bytes as one text, so a case is one line.
std::string LBF(const Bytes& file) {
    TagReader r = ReadBytes(file);
    return r.LengthString() + " | " + r.BitrateString() + " | " + r.FrequencyString();
}

TEST(StreamTest, LengthTexts) {
    struct Case {
        std::size_t bytes;
        const char* text;
    } cases[] = {
        {209000, "3'29''"}, {65000, "1'05''"}, {60000, "1'00''"}, {59499, "0'59''"},
        {2500, "0'02''"},  // 2.5 s: halves go to the even neighbour
        {3500, "0'04''"},   {1500, "0'02''"},  {499, "0'00''"},   {600000, "10'00''"},
    };
    for (const Case& c : cases) {
        TagReader r = ReadBytes(Frame(Slow(), c.bytes));
        EXPECT_EQ(r.LengthString(), c.text) << c.bytes;
        EXPECT_EQ(r.BitrateString(), "8 kbit / sec, constant bit rate");
    }
}

TEST(StreamTest, LengthCountsFromTheHeaderToTheEndIncludingId3v1) {
    Bytes tag = Tag(3, 0, Frame23("TIT2", Latin1Body("x")));
    Id3v1 v1;
    // 2372 bytes of audio + 128 of ID3v1 = 2500 from the header: 2.5 s rounds to 2.
    TagReader r = ReadBytes(Cat({tag, Frame(Slow(), 2372), v1.Build()}));
    EXPECT_EQ(r.LengthString(), "0'02''");
    r = ReadBytes(Cat({tag, Frame(Slow(), 2373), v1.Build()}));
    EXPECT_EQ(r.LengthString(), "0'03''");
}

TEST(StreamTest, VersionsLayersAndFrequencies) {
    struct Case {
        int version, layer, bitrateIndex, frequencyIndex, channel;
        const char* bitrate;
        const char* frequency;
    } cases[] = {
        {3, 1, 9, 0, 1, "128 kbit / sec, constant bit rate", "44100 hz, joint stereo"},
        {3, 1, 14, 1, 0, "320 kbit / sec, constant bit rate", "48000 hz, stereo"},
        {3, 1, 1, 2, 2, "32 kbit / sec, constant bit rate", "32000 hz, dual channel"},
        {3, 2, 14, 0, 3, "384 kbit / sec, constant bit rate", "44100 hz, mono"},
        {3, 3, 14, 0, 0, "448 kbit / sec, constant bit rate", "44100 hz, stereo"},
        {2, 1, 8, 0, 3, "64 kbit / sec, constant bit rate", "22050 hz, mono"},
        {2, 1, 14, 1, 3, "160 kbit / sec, constant bit rate", "24000 hz, mono"},
        {2, 2, 14, 2, 0, "160 kbit / sec, constant bit rate", "16000 hz, stereo"},
        {2, 3, 14, 0, 0, "256 kbit / sec, constant bit rate", "22050 hz, stereo"},
        {0, 1, 1, 0, 3, "8 kbit / sec, constant bit rate", "11025 hz, mono"},
        {0, 1, 14, 1, 1, "160 kbit / sec, constant bit rate", "12000 hz, joint stereo"},
        {0, 3, 14, 2, 2, "256 kbit / sec, constant bit rate", "8000 hz, dual channel"},
    };
    for (const Case& c : cases) {
        FrameHeader h{c.version, c.layer, c.bitrateIndex, c.frequencyIndex, c.channel};
        TagReader r = ReadBytes(Frame(h, 1000));
        EXPECT_EQ(r.BitrateString(), c.bitrate)
            << c.version << "/" << c.layer << "/" << c.bitrateIndex;
        EXPECT_EQ(r.FrequencyString(), c.frequency) << c.version << "/" << c.frequencyIndex;
    }
}

TEST(StreamTest, FreeFormatBadBitrateAndReservedFrequencyGiveZeroNotACrash) {
    for (int index : {0, 15}) {
        FrameHeader h;
        h.bitrateIndex = index;
        EXPECT_EQ(LBF(Frame(h, 5000)),
                  "0'00'' | 0 kbit / sec, constant bit rate | 44100 hz, joint stereo")
            << index;
    }
    FrameHeader reservedFrequency;
    reservedFrequency.frequencyIndex = 3;
    // The bitrate still gives the length.
    EXPECT_EQ(LBF(Frame(reservedFrequency, 16000)),
              "0'01'' | 128 kbit / sec, constant bit rate | 0 hz, joint stereo");
    // With a VBR header and no frequency there is nothing to divide by: length 0.
    EXPECT_EQ(LBF(XingFrame(reservedFrequency, 417, "Xing", 3, 1000, 400000)),
              "0'00'' | 0 kbit / sec, variable bit rate | 0 hz, joint stereo");
}

TEST(StreamTest, NoFrameHeader) {
    Bytes noise(5000, 0x55);
    for (const Bytes& file :
         {Bytes{}, Bytes{0xFF}, Bytes{0xFF, 0xFB, 0x90}, noise, Bytes{0x12, 0xFF, 0xFB, 0x90}})
        EXPECT_EQ(LBF(file), "0'00'' | 0 kbit / sec, constant bit rate | 0 hz, ");
    // Exactly four bytes make a header.
    EXPECT_EQ(ReadBytes(Bytes{0xFF, 0xFB, 0x90, 0x40}).FrequencyString(), "44100 hz, joint stereo");
    EXPECT_EQ(ReadBytes(Bytes{0, 0xFF, 0xFB, 0x90, 0x40}).FrequencyString(),
              "44100 hz, joint stereo");
}

TEST(StreamTest, TheFirstSyncDecidesEvenWhenReserved) {
    FrameHeader reservedVersion;
    reservedVersion.versionBits = 1;
    FrameHeader reservedLayer;
    reservedLayer.layerBits = 0;
    for (const FrameHeader& bad : {reservedVersion, reservedLayer}) {
        TagReader r = ReadBytes(Cat({bad.Build(), Frame(FrameHeader{}, 417)}));
        EXPECT_EQ(r.FrequencyString(), "0 hz, ");
    }
    // A 0xFF followed by a low byte is no sync; the search goes on.
    TagReader r = ReadBytes(Cat({Bytes{0xFF, 0x12, 0xFF, 0xDF}, Frame(FrameHeader{}, 417)}));
    EXPECT_EQ(r.FrequencyString(), "44100 hz, joint stereo");
}

TEST(StreamTest, SearchStartsAfterTheLeadingTag) {
    // Sync-like bytes inside the tag must not be taken for audio.
    FrameHeader mono;
    mono.channel = 3;
    Bytes tag =
        Tag(3, 0, Cat({Frame23("PRIV", Cat({Raw("x"), Bytes{0}, mono.Build()})), Zeros(20)}));
    TagReader r = ReadBytes(Cat({tag, Frame(FrameHeader{}, 417)}));
    EXPECT_EQ(r.FrequencyString(), "44100 hz, joint stereo");

    // A v2.4 footer adds ten bytes to skip.
    Bytes footed = TagWithFooter(0, Frame24("PRIV", Cat({Raw("x"), Bytes{0}})));
    Bytes file = Cat({footed, Frame(FrameHeader{}, 417)});
    Bytes sync = mono.Build();  // a sync-like size field in the footer
    std::copy(sync.begin(), sync.end(),
              file.begin() + static_cast<std::ptrdiff_t>(footed.size() - 4));
    r = ReadBytes(file);
    EXPECT_EQ(r.FrequencyString(), "44100 hz, joint stereo");

    // A leading tag whose size runs past the end leaves no audio to find.
    Bytes lying = Tag(3, 0, Zeros(10));
    lying[6] = 0x7F;
    EXPECT_EQ(ReadBytes(Cat({lying, Frame(FrameHeader{}, 417)})).FrequencyString(), "0 hz, ");
}

TEST(StreamTest, SyncAcrossReadBlocksIsFound) {
    // Headers right at and around the reader's internal block edges.
    for (std::size_t at : {4093, 4094, 4095, 4096, 4096 + 32 * 1024 - 4, 32 * 1024 - 3,
                           32 * 1024 - 2, 32 * 1024 - 1, 32 * 1024, 64 * 1024 - 2}) {
        Bytes file = Cat({Zeros(at), Frame(FrameHeader{}, 417)});
        EXPECT_EQ(ReadBytes(file).FrequencyString(), "44100 hz, joint stereo") << at;
    }
}

TEST(StreamTest, XingAndInfoHeaders) {
    FrameHeader h;  // MPEG 1 stereo: Xing after 32 bytes of side information
    FrameHeader mono = h;
    mono.channel = 3;  // MPEG 1 mono: 17 bytes of side information
    const FrameHeader mpeg2mono{2, 1, 8, 0, 3}, mpeg2stereo{2, 1, 8, 0, 0};  // 9 and 17 bytes
    struct Row {
        const char* name;
        Bytes file;
        const char* expected;  // length | bitrate | frequency
    } rows[] = {
        // 1000 frames of 1152 samples at 44100 Hz = 26.12 s; 417,960 bytes = 128 kbit/s.
        {"Xing", XingFrame(h, 417, "Xing", 3, 1000, 417960),
         "0'26'' | 128 kbit / sec, variable bit rate | 44100 hz, joint stereo"},
        // "Info" is what encoders write into constant streams; it counts as variable too.
        {"Info", XingFrame(h, 417, "Info", 3, 1000, 417960),
         "0'26'' | 128 kbit / sec, variable bit rate | 44100 hz, joint stereo"},
        // Without the byte count the table bitrate and the file size are used.
        {"frames only", XingFrame(h, 16000, "Xing", 1, 1000, 0),
         "0'01'' | 128 kbit / sec, constant bit rate | 44100 hz, joint stereo"},
        {"bytes only is not read", XingFrame(h, 16000, "Xing", 2, 0, 417960),
         "0'01'' | 128 kbit / sec, constant bit rate | 44100 hz, joint stereo"},
        {"zero counts are no counts", XingFrame(h, 16000, "Xing", 3, 0, 417960),
         "0'01'' | 128 kbit / sec, constant bit rate | 44100 hz, joint stereo"},
        {"MPEG 1 mono (61.25)", XingFrame(mono, 417, "Xing", 3, 100, 20000),
         "0'03'' | 61 kbit / sec, variable bit rate | 44100 hz, mono"},
        // 576 samples per frame. 22050 Hz, 3000 frames = 78.37 s; 44.1 kbit/s.
        {"MPEG 2 mono", XingFrame(mpeg2mono, 144, "Xing", 3, 3000, 432000),
         "1'18'' | 44 kbit / sec, variable bit rate | 22050 hz, mono"},
        {"MPEG 2 stereo", XingFrame(mpeg2stereo, 144, "Xing", 3, 3000, 432000),
         "1'18'' | 44 kbit / sec, variable bit rate | 22050 hz, stereo"},
    };
    for (const Row& r : rows) EXPECT_EQ(LBF(r.file), r.expected) << r.name;
    // Placed for the wrong channel mode, the header is not found.
    Bytes misplaced = XingFrame(mpeg2mono, 144, "Xing", 3, 3000, 432000);
    misplaced[3] = 0x00;  // now stereo: the reader looks 8 bytes further on
    EXPECT_EQ(ReadBytes(misplaced).BitrateString(), "64 kbit / sec, constant bit rate");
}

TEST(StreamTest, VbriHeaderReplacesXingCounts) {
    FrameHeader h;
    EXPECT_EQ(LBF(VbriFrame(h, 417, 835920, 2000)),  // 52.24 s
              "0'52'' | 128 kbit / sec, variable bit rate | 44100 hz, joint stereo");
    // A frame with both: VBRI's counts win. Build a Xing header, then write VBRI at 36.
    Bytes both = XingFrame(h, 417, "Xing", 3, 1000, 417960);
    Bytes vbri = VbriFrame(h, 417, 835920, 4000);
    std::copy(vbri.begin() + 36, vbri.begin() + 54, both.begin() + 36);
    EXPECT_EQ(LBF(both),  // 104.49 s from 4000 frames
              "1'44'' | 64 kbit / sec, variable bit rate | 44100 hz, joint stereo");
}

TEST(StreamTest, CountsWithTheTopBitSetDoNotOverflow) {
    FrameHeader h;
    EXPECT_EQ(LBF(XingFrame(h, 417, "Xing", 3, 0xFFFFFFFF, 0xFFFFFFFF)),
              "1869917'44'' | 0 kbit / sec, variable bit rate | 44100 hz, joint stereo");
    EXPECT_EQ(ReadBytes(XingFrame(h, 417, "Xing", 3, 1, 0xFFFFFFFF)).BitrateString(),
              "1315333734 kbit / sec, variable bit rate");
}

}  // namespace
}  // namespace tagwell::test
