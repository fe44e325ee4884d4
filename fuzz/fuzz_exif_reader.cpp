// libFuzzer target: the JPEG EXIF reader behind photo.maker, photo.model and photo.date.
// Any input must return (a value or nothing) without crashing, leaking or hanging.
#include <cstddef>
#include <cstdint>

#include "attributes/photo_metadata.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const auto meta = vandrel::ReadPhotoMetadataFromMemory(data, size);
    if (meta) {
        // Touch the texts so a bad decode would be noticed by the sanitizers.
        volatile qsizetype n = meta->make.size() + meta->model.size() + meta->dateTime.size();
        (void)n;
    }
    return 0;
}
