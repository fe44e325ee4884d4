// Feeds arbitrary bytes to the MP3 tag reader as if they were a whole file. Any crash,
// sanitizer report, hang or runaway allocation is a fault; the texts must also be valid
// UTF-8 whatever the input.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "tagwell/tag_reader.h"

namespace {

bool IsValidUtf8(const std::string& s) {
    std::size_t i = 0;
    while (i < s.size()) {
        unsigned char c = static_cast<unsigned char>(s[i]);
        std::size_t len = c < 0x80 ? 1 : (c >> 5) == 6 ? 2 : (c >> 4) == 14 ? 3 : (c >> 3) == 30 ? 4 : 0;
        if (len == 0 || i + len > s.size()) return false;
        for (std::size_t k = 1; k < len; ++k)
            if ((static_cast<unsigned char>(s[i + k]) & 0xC0) != 0x80) return false;
        i += len;
    }
    return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    tagwell::TagReader reader;
    reader.LoadMP3Buffer(data, size);
    const std::string* texts[] = {&reader.ArtistString(),  &reader.AlbumString(),
                                  &reader.TitleString(),   &reader.TrackNumberString(),
                                  &reader.YearString(),    &reader.GenreString(),
                                  &reader.LengthString(),  &reader.BitrateString(),
                                  &reader.FrequencyString()};
    for (const std::string* t : texts) {
        if (!IsValidUtf8(*t)) std::abort();
    }
    if (reader.LengthString().empty() || reader.BitrateString().empty()) std::abort();
    return 0;
}
