// The camera values of a JPEG photo: EXIF Make, Model and DateTime of the main image
// (TIFF tags 0x010F, 0x0110, 0x0132), read through exiv2. The file is only read. exiv2's
// own log output is muted the first time a photo is read. Safe to call from one thread at
// a time per process.
#pragma once

#include <QString>
#include <cstddef>
#include <optional>

namespace vandrel {

struct PhotoMetadata {
    QString make;      // empty when the photo has no Make
    QString model;     // empty when the photo has no Model
    QString dateTime;  // as stored, e.g. "2007:03:25 14:30:00"; empty when absent
};

// Reads the values of the JPEG at path. nullopt when the file cannot be opened, does not
// start with a JPEG start-of-image marker, or its metadata cannot be parsed. Never throws:
// every exiv2 or standard exception is caught here.
std::optional<PhotoMetadata> ReadPhotoMetadata(const QString& path);

// The same for a JPEG held in memory (data is not copied and must outlive the call).
std::optional<PhotoMetadata> ReadPhotoMetadataFromMemory(const unsigned char* data,
                                                         std::size_t size);

// True when the bytes begin with the JPEG start-of-image marker FF D8 followed by the FF of
// the next marker.
bool HasJpegSignature(const unsigned char* data, std::size_t size);

}  // namespace vandrel
