// A fast 64-bit hash of a byte stream fed in pieces of any size: the check that a copied file holds the
// bytes that were read from its source. Not for security; it only has to notice accidental differences.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

class StreamHash
{
public:
    void update(const void *data, std::size_t size);
    std::uint64_t digest() const;
    std::uint64_t length() const { return _length; }

private:
    void block(const unsigned char *p);

    // Four independent lanes keep the multiplier busy; 32-byte blocks.
    std::array<std::uint64_t, 4> _lanes{0x9E3779B97F4A7C15ULL, 0xC2B2AE3D27D4EB4FULL, 0x165667B19E3779F9ULL,
                                        0x27D4EB2F165667C5ULL};
    std::array<unsigned char, 32> _tail{};
    std::size_t _tailSize = 0;
    std::uint64_t _length = 0;
};
