#include "tagwell/tag_reader.h"

namespace tagwell {

bool TagReader::LoadMP3File(const std::string& path) {
    // Placeholder until the reader lands: reads nothing.
    path_ = path;
    artist_.clear(); album_.clear(); title_.clear(); track_.clear(); year_.clear();
    genre_.clear(); length_.clear(); bitrate_.clear(); frequency_.clear();
    return false;
}

}  // namespace tagwell
