// Small field readers shared by the ID3v2 parser and the stream reader.
#pragma once

#include <cstddef>
#include <cstdint>

namespace tagwell::internal {

// Plain big-endian 32-bit value.
inline std::uint32_t ReadBigEndian32(const std::uint8_t* b) {
    return (std::uint32_t{b[0]} << 24) | (std::uint32_t{b[1]} << 16) | (std::uint32_t{b[2]} << 8) |
           std::uint32_t{b[3]};
}

// A 4-byte ID3 size: syncsafe (7 bits per byte) when asked and no byte has its top bit
// set, else the plain big-endian value. Taggers that ignore the syncsafe rule write plain
// sizes, and this reads both.
inline std::int64_t ReadSizeField(const std::uint8_t* b, bool syncsafe) {
    if (syncsafe && ((b[0] | b[1] | b[2] | b[3]) & 0x80) == 0) {
        return (std::int64_t{b[0]} << 21) | (std::int64_t{b[1]} << 14) | (std::int64_t{b[2]} << 7) |
               std::int64_t{b[3]};
    }
    return ReadBigEndian32(b);
}

// Removes, in place and front to back, every 0x00 that directly follows 0xFF; the bytes
// after it move down. Returns the number of bytes removed. The freed tail is zeroed.
std::size_t RemoveUnsync(std::uint8_t* buffer, std::size_t count);

}  // namespace tagwell::internal
