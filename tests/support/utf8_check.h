// Test-only: whether bytes are well-formed UTF-8 (every lead byte followed by the right
// number of continuation bytes). Shared by the tag reader's tests and its fuzzer, which
// both hold the reader to UTF-8 output whatever the input.
#pragma once

#include <cstddef>
#include <string_view>

namespace vandrel::test {

inline bool IsValidUtf8(std::string_view s) {
    for (std::size_t i = 0; i < s.size();) {
        const auto c = static_cast<unsigned char>(s[i]);
        const std::size_t len = c < 0x80         ? 1
                                : (c >> 5) == 6  ? 2
                                : (c >> 4) == 14 ? 3
                                : (c >> 3) == 30 ? 4
                                                 : 0;
        if (len == 0 || i + len > s.size()) return false;
        for (std::size_t k = 1; k < len; ++k)
            if ((static_cast<unsigned char>(s[i + k]) & 0xC0) != 0x80) return false;
        i += len;
    }
    return true;
}

}  // namespace vandrel::test
