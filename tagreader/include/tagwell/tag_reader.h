// Tagwell: reads the ID3 tags (v1, v1.1, v2.2-v2.4) and the first MPEG frame's stream
// properties of an MP3 file and offers them as ready-made UTF-8 texts. One TagReader per
// file read; not shared between threads. Damaged or hostile files never crash the reader:
// it keeps what it found.
#pragma once

#include <cstdint>
#include <string>

#if defined(TAGWELL_BUILDING)
#define TAGWELL_API __attribute__((visibility("default")))
#else
#define TAGWELL_API
#endif

namespace tagwell {

class TAGWELL_API TagReader {
public:
    // Class identity under which other programs create the reader.
    static constexpr const char* kClassId = "Tagwell.TagReader";

    // Reads the file (opened once) and fills all nine texts. False when the file could
    // not be opened or read; the texts then stay empty.
    bool LoadMP3File(const std::string& path);
    const std::string& ArtistString() const { return artist_; }
    const std::string& AlbumString() const { return album_; }
    const std::string& TitleString() const { return title_; }
    const std::string& TrackNumberString() const { return track_; }
    const std::string& YearString() const { return year_; }
    const std::string& GenreString() const { return genre_; }
    // Minutes, "'", two-digit seconds, "''" (e.g. "3'29''").
    const std::string& LengthString() const { return length_; }
    // Always 0.
    std::int32_t LengthLong() const { return 0; }
    // e.g. "128 kbit / sec, constant bit rate".
    const std::string& BitrateString() const { return bitrate_; }
    // e.g. "44100 hz, joint stereo".
    const std::string& FrequencyString() const { return frequency_; }

private:
    std::string path_;
    std::string artist_, album_, title_, track_, year_, genre_, length_, bitrate_, frequency_;
};

}  // namespace tagwell
