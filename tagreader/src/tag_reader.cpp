#include "tagwell/tag_reader.h"

#include "byte_source.h"
#include "mdl_id3.h"
#include "stream_info.h"

namespace tagwell {

namespace {

// ID3v2 fills only what ID3v1 left empty.
void FillEmpty(std::string& target, std::string& value) {
    if (target.empty() && !value.empty()) target = std::move(value);
}

}  // namespace

void TagReader::Read(internal::ByteSource& source) {
    artist_.clear();
    album_.clear();
    title_.clear();
    track_.clear();
    year_.clear();
    genre_.clear();

    internal::TagRecord record;
    internal::ReadID3v1(source, record);
    artist_ = std::move(record.artist);
    album_ = std::move(record.album);
    title_ = std::move(record.title);
    track_ = std::move(record.track);
    year_ = std::move(record.year);
    genre_ = std::move(record.genre);

    record.Clear();
    internal::ReadID3v2(source, record);
    FillEmpty(artist_, record.artist);
    FillEmpty(album_, record.album);
    FillEmpty(title_, record.title);
    FillEmpty(track_, record.track);
    FillEmpty(year_, record.year);
    FillEmpty(genre_, record.genre);

    internal::StreamInfo info = internal::ReadStreamInfo(source);
    length_ = internal::LengthText(info.length);
    bitrate_ = internal::BitrateText(info);
    frequency_ = internal::FrequencyText(info);
}

bool TagReader::LoadMP3File(const std::string& path) {
    path_ = path;
    internal::ByteSource source;
    bool opened = source.OpenFile(path);
    Read(source);  // an unopened source reads as an empty file
    return opened && !source.failed();
}

bool TagReader::LoadMP3Buffer(const std::uint8_t* data, std::size_t size) {
    path_.clear();
    internal::ByteSource source(data, size);
    Read(source);
    return true;
}

}  // namespace tagwell
