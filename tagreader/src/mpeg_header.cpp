#include "mpeg_header.h"

#include <array>
#include <cstring>

#include "id3_fields.h"

namespace tagwell::internal {

namespace {

// kbit/s by bitrate index 0 to 14 (ISO/IEC 11172-3 and 13818-3); MPEG 2.5 uses the
// MPEG 2 rows, and MPEG 2 shares one row between Layers II and III.
constexpr std::array<std::array<std::int16_t, 15>, 5> kBitrates = {{
    {0, 32, 64, 96, 128, 160, 192, 224, 256, 288, 320, 352, 384, 416, 448},  // MPEG 1, I
    {0, 32, 48, 56, 64, 80, 96, 112, 128, 160, 192, 224, 256, 320, 384},     // MPEG 1, II
    {0, 32, 40, 48, 56, 64, 80, 96, 112, 128, 160, 192, 224, 256, 320},      // MPEG 1, III
    {0, 32, 48, 56, 64, 80, 96, 112, 128, 144, 160, 176, 192, 224, 256},     // MPEG 2, I
    {0, 8, 16, 24, 32, 40, 48, 56, 64, 80, 96, 112, 128, 144, 160},          // MPEG 2, II/III
}};

std::optional<MpegHeader> Decode(std::int64_t position, const std::array<std::uint8_t, 4>& b) {
    MpegHeader h;
    h.position = position;
    switch ((b[1] >> 3) & 3) {
        case 3:
            h.version = MpegVersion::kMpeg1;
            break;
        case 2:
            h.version = MpegVersion::kMpeg2;
            break;
        case 0:
            h.version = MpegVersion::kMpeg25;
            break;
        default:
            return std::nullopt;  // reserved
    }
    switch ((b[1] >> 1) & 3) {
        case 3:
            h.layer = 1;
            break;
        case 2:
            h.layer = 2;
            break;
        case 1:
            h.layer = 3;
            break;
        default:
            return std::nullopt;  // reserved
    }
    if (h.layer == 1) {
        h.samplesPerFrame = 384;
    } else if (h.layer == 2 || h.version == MpegVersion::kMpeg1) {
        h.samplesPerFrame = 1152;
    } else {
        h.samplesPerFrame = 576;
    }
    h.channelMode = b[3] >> 6;
    static constexpr std::int64_t kFrequencies[4] = {44100, 48000, 32000, 0};
    std::int64_t divisor = h.version == MpegVersion::kMpeg1   ? 1
                           : h.version == MpegVersion::kMpeg2 ? 2
                                                              : 4;
    h.frequency = kFrequencies[(b[2] >> 2) & 3] / divisor;
    h.bitrateIndex = b[2] >> 4;
    return h;
}

}  // namespace

std::int64_t AudioStartOffset(ByteSource& source) {
    std::array<std::uint8_t, 10> h = source.Fixed<10>(0);
    if (std::memcmp(h.data(), "ID3", 3) != 0) return 0;
    std::int64_t start = ReadSizeField(h.data() + 6, true) + 10;
    if (h[3] >= 4 && (h[5] & 0x10)) start += 10;
    return start;
}

std::optional<MpegHeader> FindFirstFrameHeader(ByteSource& source, std::int64_t from) {
    const std::int64_t last = source.size() - 4;  // the last position a header may start
    std::int64_t pos = from < 0 ? 0 : from;
    // The header nearly always follows the tag at once: a small first look usually stays
    // inside the block the tag was read from; later looks take whole blocks.
    std::size_t step = 4096;
    while (pos <= last) {
        // Scan a block; blocks overlap by three bytes so no header straddles unseen.
        std::size_t want = static_cast<std::size_t>(
            std::min<std::int64_t>(static_cast<std::int64_t>(step), last + 4 - pos));
        step = ByteSource::kMaxView;
        std::span<const std::uint8_t> v = source.View(pos, want);
        if (v.size() < 4) return std::nullopt;
        const std::uint8_t* base = v.data();
        std::size_t i = 0;
        std::size_t candidates = v.size() - 3;  // positions with three bytes after them
        while (i < candidates) {
            const void* hit = std::memchr(base + i, 0xFF, candidates - i);
            if (!hit) break;
            i = static_cast<std::size_t>(static_cast<const std::uint8_t*>(hit) - base);
            if (base[i + 1] >= 0xE0) {
                std::array<std::uint8_t, 4> b = {base[i], base[i + 1], base[i + 2], base[i + 3]};
                return Decode(pos + static_cast<std::int64_t>(i), b);
            }
            ++i;
        }
        pos += static_cast<std::int64_t>(candidates);
    }
    return std::nullopt;
}

std::int64_t TableBitrate(const MpegHeader& h) {
    if (h.bitrateIndex < 1 || h.bitrateIndex > 14) return 0;
    std::size_t row;
    if (h.version == MpegVersion::kMpeg1) {
        row = static_cast<std::size_t>(h.layer - 1);
    } else {
        row = h.layer == 1 ? 3 : 4;
    }
    return kBitrates[row][static_cast<std::size_t>(h.bitrateIndex)];
}

std::string_view ChannelModeName(int mode) {
    static constexpr std::string_view kNames[4] = {"Stereo", "Joint stereo", "Dual channel",
                                                   "Mono"};
    return mode >= 0 && mode < 4 ? kNames[mode] : std::string_view{};
}

}  // namespace tagwell::internal
