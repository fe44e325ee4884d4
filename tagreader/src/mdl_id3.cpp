#include "mdl_id3.h"

#include <array>
#include <cstring>
#include <span>

#include "genre_table.h"
#include "id3_fields.h"
#include "id3v2_tag.h"
#include "text_decode.h"

namespace tagwell::internal {

namespace {

constexpr std::int64_t kV1Size = 128;

bool StartsWith(std::span<const std::uint8_t> b, const char* magic) {
    std::size_t n = std::strlen(magic);
    return b.size() >= n && std::memcmp(b.data(), magic, n) == 0;
}

// A fixed-width ID3v1 field: Latin-1 up to the first NUL, without surrounding spaces.
std::string V1Field(std::span<const std::uint8_t> tag, std::size_t offset, std::size_t width) {
    std::string text = BytesToText(tag.subspan(offset, width), kEncodingLatin1, true);
    std::size_t first = text.find_first_not_of(' ');
    if (first == std::string::npos) return {};
    std::size_t last = text.find_last_not_of(' ');
    return text.substr(first, last - first + 1);
}

bool HasV1Tag(ByteSource& source) {
    return source.size() >= kV1Size && StartsWith(source.View(source.size() - kV1Size, 3), "TAG");
}

}  // namespace

void ReadID3v1(ByteSource& source, TagRecord& record) {
    if (source.size() < kV1Size) return;
    std::array<std::uint8_t, kV1Size> tag = source.Fixed<kV1Size>(source.size() - kV1Size);
    if (std::memcmp(tag.data(), "TAG", 3) != 0) return;
    std::span<const std::uint8_t> t(tag);
    record.title = V1Field(t, 3, 30);
    record.artist = V1Field(t, 33, 30);
    record.album = V1Field(t, 63, 30);
    record.year = V1Field(t, 93, 4);
    // ID3v1.1 keeps the track in the last byte of the comment, after a zero byte.
    if (tag[125] == 0 && tag[126] != 0) record.track = std::to_string(tag[126]);
    record.genre = std::string(GenreName(tag[127]));
}

void ReadID3v2(ByteSource& source, TagRecord& record) {
    TagBudget budget;
    // Tags at the start, one after another as long as SEEK frames point onwards.
    std::int64_t offset = 0;
    bool atStart = false;
    while (offset >= 0 && offset < source.size() && StartsWith(source.View(offset, 3), "ID3")) {
        atStart = true;
        offset = ParseID3v2Tag(source, offset, record, budget);
    }
    if (atStart) return;

    // A tag appended at the end (before any ID3v1 tag) announces itself by its footer.
    std::int64_t end = source.size() - (HasV1Tag(source) ? kV1Size : 0);
    std::array<std::uint8_t, 10> footer = source.Fixed<10>(std::max<std::int64_t>(0, end - 10));
    if (std::memcmp(footer.data(), "3DI", 3) != 0) return;
    std::int64_t size = ReadSizeField(footer.data() + 6, true);
    std::int64_t header = end - 10 - size - 10;
    // The footer must point at a real header; garbage that merely ends in "3DI" is no tag.
    if (header >= 0 && StartsWith(source.View(header, 3), "ID3"))
        ParseID3v2Tag(source, header, record, budget);
}

}  // namespace tagwell::internal
