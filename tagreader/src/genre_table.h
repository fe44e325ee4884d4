// The ID3 genre table (indexes 0 to 147) and the reading of ID3v2 genre texts such as
// "(17)", "(RX)" or "(17)Rock".
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace tagwell::internal {

inline constexpr int kGenreCount = 148;

// The table name for 0 to 147; the empty text for any other index.
std::string_view GenreName(std::int64_t index);

// "(n)" anywhere in the text gives the table name of n alone (the rest of the text is
// dropped); "(RX)" gives "Remix", "(CR)" gives "Cover"; any other text is kept as it is.
std::string ResolveGenreText(const std::string& text);

}  // namespace tagwell::internal
