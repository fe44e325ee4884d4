#include "id3v2_frames.h"

#include <algorithm>

#include "genre_table.h"
#include "text_decode.h"

namespace tagwell::internal {

bool IsWantedFrame(std::string_view id) {
    static constexpr std::string_view kWanted[] = {
        "TPE1", "TP1",  "TALB", "TAL", "TIT2", "TT2", "TRCK",
        "TRK",  "TDRC", "TYER", "TYE", "TCON", "TCO", "SEEK",
    };
    return std::find(std::begin(kWanted), std::end(kWanted), id) != std::end(kWanted);
}

std::string DecodeFrameText(std::string_view id, std::span<const std::uint8_t> data,
                            std::int64_t length) {
    if (length <= 0 || id.empty() || id[0] != 'T') return {};
    // Beyond the bytes that exist everything reads as zero, which ends the text; so the
    // text is simply what the existing bytes give.
    std::size_t have = static_cast<std::size_t>(
        std::min<std::int64_t>(length, static_cast<std::int64_t>(data.size())));
    int encoding = have > 0 ? data[0] : 0;
    if (have <= 1) return {};
    return BytesToText(data.subspan(1, have - 1), encoding, true);
}

std::optional<std::int64_t> DecodeSeekValue(std::span<const std::uint8_t> data,
                                            std::int64_t length) {
    if (length <= 3) return std::nullopt;
    std::uint8_t b[4] = {0, 0, 0, 0};
    for (std::size_t i = 0; i < 4 && i < data.size(); ++i) b[i] = data[i];
    return (std::int64_t{b[0]} << 24) | (std::int64_t{b[1]} << 16) | (std::int64_t{b[2]} << 8) |
           std::int64_t{b[3]};
}

void StoreFrameText(std::string_view id, std::string text, TagRecord& record) {
    if (id == "TPE1" || id == "TP1") {
        record.artist = std::move(text);
    } else if (id == "TALB" || id == "TAL") {
        record.album = std::move(text);
    } else if (id == "TIT2" || id == "TT2") {
        record.title = std::move(text);
    } else if (id == "TRCK" || id == "TRK") {
        record.track = std::move(text);
    } else if (id == "TDRC") {
        // A recording time ("2003-05-01T12:00"): the year is its first four characters.
        record.year = Utf8Prefix(text, 4);
    } else if (id == "TYER" || id == "TYE") {
        record.year = std::move(text);
    } else if (id == "TCON" || id == "TCO") {
        record.genre = ResolveGenreText(text);
    }
}

}  // namespace tagwell::internal
