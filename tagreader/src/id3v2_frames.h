// What the library takes from an ID3v2 frame: the frame identifiers it knows, the text
// (or SEEK offset) a frame holds, and where that value goes in the record.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "mdl_id3.h"

namespace tagwell::internal {

// True for the identifiers whose value the library uses (v2.2 and v2.3/2.4 names).
bool IsWantedFrame(std::string_view id);

// The text of a frame whose data starts at `data`. `length` is the frame's logical length;
// `data` may be shorter when the tag was cut off, and the missing bytes read as zero.
// A "T..." frame gives its first string decoded by its encoding byte; every other frame
// gives the empty text.
std::string DecodeFrameText(std::string_view id, std::span<const std::uint8_t> data,
                            std::int64_t length);

// The number a SEEK frame holds (its first four bytes, big-endian), or nothing when the
// frame is shorter than four bytes.
std::optional<std::int64_t> DecodeSeekValue(std::span<const std::uint8_t> data,
                                            std::int64_t length);

// Puts a decoded text into the record field its identifier names (no-op for others).
void StoreFrameText(std::string_view id, std::string text, TagRecord& record);

}  // namespace tagwell::internal
