// The MPEG audio frame header: finding the first one after the leading ID3v2 tag and
// decoding version, layer, sampling frequency, channel mode and the bitrate tables.
#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

#include "byte_source.h"

namespace tagwell::internal {

enum class MpegVersion { kMpeg1, kMpeg2, kMpeg25 };

struct MpegHeader {
    std::int64_t position = 0;  // offset of the header in the file
    MpegVersion version = MpegVersion::kMpeg1;
    int layer = 3;  // 1, 2 or 3
    int samplesPerFrame = 0;
    std::int64_t frequency = 0;  // Hz; 0 for the reserved frequency index
    int bitrateIndex = 0;        // 0 free format, 15 bad
    int channelMode = 0;         // 0 stereo, 1 joint stereo, 2 dual channel, 3 mono
    bool mono() const { return channelMode == 3; }
};

// Where the audio starts: after one leading ID3v2 tag (and its footer), else 0.
std::int64_t AudioStartOffset(ByteSource& source);

// The first frame header at or after `from`: the first 0xFF followed by a byte of at least
// 0xE0. Nothing when there is none, or when that first one has a reserved version or
// layer.
std::optional<MpegHeader> FindFirstFrameHeader(ByteSource& source, std::int64_t from);

// The table bitrate in kbit/s, or 0 for index 0 (free format) and 15 (bad).
std::int64_t TableBitrate(const MpegHeader& header);

// "Stereo", "Joint stereo", "Dual channel" or "Mono".
std::string_view ChannelModeName(int mode);

}  // namespace tagwell::internal
