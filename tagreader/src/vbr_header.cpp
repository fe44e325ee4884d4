#include "vbr_header.h"

#include <array>
#include <cstring>

#include "id3_fields.h"

namespace tagwell::internal {

VbrCounts ReadVbrCounts(ByteSource& source, const MpegHeader& header) {
    VbrCounts counts;
    std::int64_t sideInfo;
    if (header.version == MpegVersion::kMpeg1) {
        sideInfo = header.mono() ? 17 : 32;
    } else {
        sideInfo = header.mono() ? 9 : 17;
    }
    std::array<std::uint8_t, 16> x = source.Fixed<16>(header.position + 4 + sideInfo);
    if (std::memcmp(x.data(), "Xing", 4) == 0 || std::memcmp(x.data(), "Info", 4) == 0) {
        if (x[7] & 0x01) {
            counts.frames = ReadBigEndian32(x.data() + 8);
            // The byte count follows the frame count only when both are present.
            if (x[7] & 0x02) counts.bytes = ReadBigEndian32(x.data() + 12);
        }
    }
    std::array<std::uint8_t, 18> v = source.Fixed<18>(header.position + 36);
    if (std::memcmp(v.data(), "VBRI", 4) == 0) {
        counts.bytes = ReadBigEndian32(v.data() + 10);
        counts.frames = ReadBigEndian32(v.data() + 14);
    }
    return counts;
}

}  // namespace tagwell::internal
