// The stream properties of an MP3 file, taken from its first frame header and any VBR
// header in that frame, and their display texts.
#pragma once

#include <cstdint>
#include <string>

#include "byte_source.h"

namespace tagwell::internal {

struct StreamInfo {
    std::int64_t bitrate = 0;    // kbit/s
    std::int64_t frequency = 0;  // Hz
    bool variableBitRate = false;
    std::string channelMode;  // "Joint stereo" ...; empty without a frame header
    std::int64_t length = 0;  // whole seconds
};

// Zeros and empty texts when the file has no frame header. A free-format or bad bitrate
// index, or a zero frequency, gives length 0 rather than a division by zero.
StreamInfo ReadStreamInfo(ByteSource& source);

// Rounds to the nearest integer, halves to the even neighbour; 0 for values that are not
// finite or do not fit.
std::int64_t RoundHalfEven(double value);

// "3'29''": minutes, "'", two-digit seconds, "''".
std::string LengthText(std::int64_t seconds);
// "128 kbit / sec, constant bit rate".
std::string BitrateText(const StreamInfo& info);
// "44100 hz, joint stereo".
std::string FrequencyText(const StreamInfo& info);

}  // namespace tagwell::internal
