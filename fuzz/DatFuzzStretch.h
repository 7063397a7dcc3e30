// How a DAT fuzz input names a file larger than itself: the input's bytes, then a big-endian 64-bit
// length and MARK; the file is the bytes before the length, extended by a hole to that length.
#pragma once

#include <array>
#include <cstdint>

namespace DatFuzzStretch {
inline constexpr std::array<uint8_t, 8> MARK = {'O', 'R', 'V', 'H', 'O', 'L', 'E', '!'};
// The size of the crafted cards' files, and the largest a FAT32 card holds.
inline constexpr uint64_t MAX_LENGTH = (4ull << 30) - 1;
} // namespace DatFuzzStretch
