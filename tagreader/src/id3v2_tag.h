// Parsing one ID3v2.2, 2.3 or 2.4 tag: header, extended header, unsynchronisation and the
// frame walk.
#pragma once

#include <cstdint>

#include "byte_source.h"
#include "mdl_id3.h"

namespace tagwell::internal {

// Limits that keep a hostile file from costing unbounded time or memory.
struct TagBudget {
    int tagsLeft = 32;                               // tags followed through SEEK frames
    std::int64_t bytesLeft = std::int64_t{1} << 28;  // tag bodies read into memory
};

// Parses the tag whose 10-byte header is at offset (the caller has checked "ID3").
// Returns the offset of a following tag announced by a SEEK frame, or -1.
std::int64_t ParseID3v2Tag(ByteSource& source, std::int64_t offset, TagRecord& record,
                           TagBudget& budget);

}  // namespace tagwell::internal
