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
    static constexpr std::size_t kStripe = 64;             // bytes per step of the eight lanes
    static constexpr std::size_t kStripesPerScramble = 16; // lanes are folded every 1 KiB
    void stripes(const unsigned char *p, std::size_t count);
    static void accumulate(std::uint64_t *lanes, const unsigned char *p, std::size_t stripes);

    std::array<std::uint64_t, 8> _lanes{0x9E3779B97F4A7C15ULL, 0xC2B2AE3D27D4EB4FULL, 0x165667B19E3779F9ULL,
                                        0x27D4EB2F165667C5ULL, 0x85EBCA77C2B2AE63ULL, 0xFF51AFD7ED558CCDULL,
                                        0xC4CEB9FE1A85EC53ULL, 0x94D049BB133111EBULL};
    std::array<unsigned char, kStripe> _tail{};
    std::size_t _tailSize = 0;
    std::size_t _stripeCount = 0; // stripes since the last fold
    std::uint64_t _length = 0;
};
