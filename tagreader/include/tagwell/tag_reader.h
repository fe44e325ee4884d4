// Tagwell: reads the ID3 tags (v1, v1.1, v2.2-v2.4) and the first MPEG frame's stream
// properties of an MP3 file and offers them as ready-made UTF-8 texts. One TagReader per
// file read; not shared between threads (distinct readers may run on distinct threads).
// Damaged or hostile files never crash the reader: it keeps what it found.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#if defined(TAGWELL_BUILDING)
#define TAGWELL_API __attribute__((visibility("default")))
#else
#define TAGWELL_API
#endif

namespace tagwell {

namespace internal {
class ByteSource;
}

class TAGWELL_API TagReader {
  public:
    // Class identity under which other programs create the reader.
    static constexpr const char* kClassId = "Tagwell.TagReader";

    // Reads the file and fills all nine texts. The file is opened once, read through that
    // one descriptor and never written. ID3v1 values win over ID3v2 values; ID3v2 only
    // fills fields the ID3v1 tag left empty. Returns false when the file could not be
    // opened or read (or is not a regular file): the tag texts are then empty and the
    // stream texts describe an empty stream ("0'00''", "0 kbit / sec, constant bit rate",
    // "0 hz, ").
    bool LoadMP3File(const std::string& path);

    // The same reading over bytes already in memory; the remembered path becomes empty.
    // Nothing is kept of the bytes after the call. Always true. This exists so the reader
    // can be exercised without a file (fuzzing, tests); programs read files.
    bool LoadMP3Buffer(const std::uint8_t* data, std::size_t size);

    // The texts below are what the last load left; empty before any load. All UTF-8.
    // The path given to the last LoadMP3File.
    const std::string& Path() const { return path_; }
    const std::string& ArtistString() const { return artist_; }
    const std::string& AlbumString() const { return album_; }
    const std::string& TitleString() const { return title_; }
    // As stored, e.g. "7" or "7/12".
    const std::string& TrackNumberString() const { return track_; }
    const std::string& YearString() const { return year_; }
    // A genre name; numeric genres ("(17)", ID3v1 bytes) become their table name.
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
    void Read(internal::ByteSource& source);

    std::string path_;
    std::string artist_, album_, title_, track_, year_, genre_, length_, bitrate_, frequency_;
};

}  // namespace tagwell
