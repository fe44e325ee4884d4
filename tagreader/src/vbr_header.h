// The Xing/Info and VBRI headers that encoders put in the first frame: the stream's frame
// and byte counts, from which bitrate and length follow without reading the whole file.
#pragma once

#include <cstdint>

#include "byte_source.h"
#include "mpeg_header.h"

namespace tagwell::internal {

struct VbrCounts {
    std::int64_t frames = 0;
    std::int64_t bytes = 0;
};

// Reads the Xing/Info header (after the side information) and the VBRI header (32 bytes
// after the side information's usual place); VBRI counts win when both are present.
VbrCounts ReadVbrCounts(ByteSource& source, const MpegHeader& header);

}  // namespace tagwell::internal
