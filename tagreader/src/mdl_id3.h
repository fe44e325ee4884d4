// The ID3 module: finds and reads the ID3v1 tag at the end of a file and the ID3v2 tags
// at its start (following SEEK frames) or appended before the end (found by the footer).
#pragma once

#include <string>

#include "byte_source.h"

namespace tagwell::internal {

// The six tag texts the library offers, as UTF-8.
struct TagRecord {
    std::string artist, album, title, year, genre, track;
    void Clear() { *this = TagRecord{}; }
};

// Reads the ID3v1 (or v1.1) tag in the last 128 bytes into record. Fields stay as they
// are when there is no tag.
void ReadID3v1(ByteSource& source, TagRecord& record);

// Reads the ID3v2 tag(s) into record. Each tag that is not an update replaces what earlier
// tags gave; a damaged tag keeps the values read before the damage.
void ReadID3v2(ByteSource& source, TagRecord& record);

}  // namespace tagwell::internal
