#include "stream_info.h"

#include <cmath>
#include <optional>

#include "mpeg_header.h"
#include "vbr_header.h"

namespace tagwell::internal {

std::int64_t RoundHalfEven(double value) {
    if (!std::isfinite(value) || std::fabs(value) > 9.0e15) return 0;
    // nearbyint follows the current rounding mode, which is round-to-nearest-even unless
    // someone changed it; do the tie-breaking by hand so the result never depends on it.
    double floor = std::floor(value);
    double diff = value - floor;
    std::int64_t base = static_cast<std::int64_t>(floor);
    if (diff > 0.5) return base + 1;
    if (diff < 0.5) return base;
    return (base % 2 == 0) ? base : base + 1;
}

StreamInfo ReadStreamInfo(ByteSource& source) {
    StreamInfo info;
    if (source.size() <= 3) return info;
    std::optional<MpegHeader> header = FindFirstFrameHeader(source, AudioStartOffset(source));
    if (!header) return info;

    info.channelMode = std::string(ChannelModeName(header->channelMode));
    info.frequency = header->frequency;
    VbrCounts counts = ReadVbrCounts(source, *header);
    if (counts.bytes != 0 && counts.frames != 0) {
        // Any VBR header, "Info" included, marks the stream as variable.
        info.variableBitRate = true;
        double frames = static_cast<double>(counts.frames);
        double spf = header->samplesPerFrame;
        double freq = static_cast<double>(info.frequency);
        info.bitrate =
            RoundHalfEven(static_cast<double>(counts.bytes) / frames / spf / 125.0 * freq);
        info.length = info.frequency > 0 ? RoundHalfEven(frames / freq * spf) : 0;
    } else {
        info.bitrate = TableBitrate(*header);
        if (info.bitrate > 0) {
            double audioBytes = static_cast<double>(source.size() - header->position);
            info.length = RoundHalfEven(audioBytes / static_cast<double>(info.bitrate * 125));
        }
    }
    return info;
}

std::string LengthText(std::int64_t seconds) {
    if (seconds < 0) seconds = 0;
    std::int64_t rest = seconds % 60;
    std::string text = std::to_string(seconds / 60);
    text += '\'';
    if (rest < 10) text += '0';
    text += std::to_string(rest);
    text += "''";
    return text;
}

std::string BitrateText(const StreamInfo& info) {
    return std::to_string(info.bitrate) + " kbit / sec, " +
           (info.variableBitRate ? "variable bit rate" : "constant bit rate");
}

std::string FrequencyText(const StreamInfo& info) {
    std::string mode = info.channelMode;
    for (char& c : mode) {
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    }
    return std::to_string(info.frequency) + " hz, " + mode;
}

}  // namespace tagwell::internal
