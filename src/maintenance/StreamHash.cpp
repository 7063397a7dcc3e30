#include "maintenance/StreamHash.h"

#include <cstring>

namespace {
constexpr std::uint64_t kPrime1 = 0x9E3779B185EBCA87ULL;
constexpr std::uint64_t kPrime2 = 0xC2B2AE3D27D4EB4FULL;

inline std::uint64_t rotl(std::uint64_t x, int r)
{
    return (x << r) | (x >> (64 - r));
}

inline std::uint64_t mix(std::uint64_t lane, std::uint64_t word)
{
    return rotl(lane + word * kPrime2, 31) * kPrime1;
}
} // namespace

void StreamHash::block(const unsigned char *p)
{
    for (size_t i = 0; i < 4; ++i) {
        std::uint64_t word;
        std::memcpy(&word, p + i * 8, 8);
        _lanes[i] = mix(_lanes[i], word);
    }
}

void StreamHash::update(const void *data, std::size_t size)
{
    auto p = static_cast<const unsigned char *>(data);
    _length += size;
    if (_tailSize > 0) {
        const std::size_t take = std::min(size, _tail.size() - _tailSize);
        std::memcpy(_tail.data() + _tailSize, p, take);
        _tailSize += take;
        p += take;
        size -= take;
        if (_tailSize < _tail.size())
            return;
        block(_tail.data());
        _tailSize = 0;
    }
    // Lanes in locals: the input is read as bytes, which may alias the members, so updating the members
    // in the loop would make the compiler store and reload them for every block.
    std::uint64_t a = _lanes[0], b = _lanes[1], c = _lanes[2], d = _lanes[3];
    for (; size >= 32; p += 32, size -= 32) {
        std::uint64_t w[4];
        std::memcpy(w, p, 32);
        a = mix(a, w[0]);
        b = mix(b, w[1]);
        c = mix(c, w[2]);
        d = mix(d, w[3]);
    }
    _lanes = {a, b, c, d};
    std::memcpy(_tail.data(), p, size);
    _tailSize = size;
}

std::uint64_t StreamHash::digest() const
{
    std::uint64_t h = rotl(_lanes[0], 1) + rotl(_lanes[1], 7) + rotl(_lanes[2], 12) + rotl(_lanes[3], 18);
    for (const std::uint64_t lane : _lanes)
        h = (h ^ mix(0, lane)) * kPrime1;
    for (std::size_t i = 0; i < _tailSize; ++i)
        h = rotl(h ^ (_tail[i] * kPrime2), 11) * kPrime1;
    h ^= _length;
    h ^= h >> 33;
    h *= kPrime2;
    h ^= h >> 29;
    return h;
}
