#include "id3_fields.h"

#include <cstring>

namespace tagwell::internal {

std::size_t RemoveUnsync(std::uint8_t* buffer, std::size_t count) {
    if (count < 2) return 0;
    // Most tags have no FF 00 pair at all; finding the first one cheaply keeps the common
    // case a single scan without writes.
    const std::uint8_t* p = buffer;
    const std::uint8_t* end = buffer + count;
    std::size_t first = count;
    while (p < end - 1) {
        const void* hit = std::memchr(p, 0xFF, static_cast<std::size_t>(end - 1 - p));
        if (!hit) break;
        const std::uint8_t* ff = static_cast<const std::uint8_t*>(hit);
        if (ff[1] == 0x00) {
            first = static_cast<std::size_t>(ff - buffer) + 1;
            break;
        }
        p = ff + 1;
    }
    if (first == count) return 0;

    // The byte at `first` is the removed 0x00; it is the "previous" byte of the next one,
    // so FF 00 00 (an escaped FF 00) comes back as FF 00.
    std::size_t out = first;
    std::uint8_t prev = 0x00;
    for (std::size_t in = first + 1; in < count; ++in) {
        std::uint8_t c = buffer[in];
        if (prev == 0xFF && c == 0x00) {
            prev = c;
            continue;
        }
        buffer[out++] = c;
        prev = c;
    }
    std::size_t removed = count - out;
    std::memset(buffer + out, 0, removed);
    return removed;
}

}  // namespace tagwell::internal
