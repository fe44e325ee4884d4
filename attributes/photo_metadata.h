// The camera values of a JPEG photo: EXIF Make, Model and DateTime of the main image
// (TIFF tags 0x010F, 0x0110, 0x0132), read by a small bounded reader of our own that gives
// the texts exiv2 0.27 gives. The file is only read: its head once, anything further on
// demand, never the image data. Safe to call from any thread.
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

// Reads the values of the JPEG at path (a regular file; anything else cannot be read).
// nullopt when the file cannot be read, does not start with a JPEG start-of-image marker,
// its EXIF block is cut off or has no valid TIFF header. A photo without an EXIF block
// gives empty values. Never throws.
std::optional<PhotoMetadata> ReadPhotoMetadata(const QString& path);

// The same for a JPEG held in memory (data is not copied and must outlive the call).
std::optional<PhotoMetadata> ReadPhotoMetadataFromMemory(const unsigned char* data,
                                                         std::size_t size);

// True when the bytes begin with the JPEG start-of-image marker FF D8 followed by the FF of
// the next marker.
bool HasJpegSignature(const unsigned char* data, std::size_t size);

}  // namespace vandrel
