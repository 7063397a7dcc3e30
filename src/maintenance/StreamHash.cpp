#include "maintenance/StreamHash.h"

#include <algorithm>
#include <cstring>
#if defined(__SSE2__)
#include <emmintrin.h>
#endif
#if defined(__x86_64__) && defined(__GNUC__)
#include <immintrin.h>
#endif

namespace {
constexpr std::uint64_t kPrime1 = 0x9E3779B185EBCA87ULL;
constexpr std::uint64_t kPrime2 = 0xC2B2AE3D27D4EB4FULL;
// Fixed per-lane keys, so that a stripe of zeros still moves the lanes.
constexpr std::uint64_t kKeys[8] = {0xBE4BA423396CFEB8ULL, 0x1CAD21F72C81017CULL, 0xDB979083E96DD4DEULL,
                                    0x1F67B3B7A4A44072ULL, 0x78E5C0CC4EE679CBULL, 0x2172FFCC7DD05A82ULL,
                                    0x8E2443F7744608B8ULL, 0x4C263A81E69035E0ULL};

inline std::uint64_t rotl(std::uint64_t x, int r)
{
    return (x << r) | (x >> (64 - r));
}

inline std::uint64_t avalanche(std::uint64_t h)
{
    h ^= h >> 33;
    h *= kPrime2;
    h ^= h >> 29;
    h *= kPrime1;
    h ^= h >> 32;
    return h;
}
} // namespace

// Each lane adds its neighbour's word and the 32 x 32 bit product of the halves of its own keyed word.
// With SSE2 (every x86-64) that is two vector multiplies per 64 bytes, which lets the hash keep up with
// the disk; elsewhere the same sums are made one lane at a time.
#if defined(__x86_64__) && defined(__GNUC__)
namespace {
// The same sums four lanes at a time, for processors with AVX2 (chosen at run time).
__attribute__((target("avx2"))) void accumulateAvx2(std::uint64_t *lanes, const unsigned char *p,
                                                    std::size_t stripes)
{
    __m256i acc[2];
    __m256i keys[2];
    for (int j = 0; j < 2; ++j) {
        acc[j] = _mm256_loadu_si256(reinterpret_cast<const __m256i *>(lanes + 4 * j));
        keys[j] = _mm256_loadu_si256(reinterpret_cast<const __m256i *>(kKeys + 4 * j));
    }
    for (std::size_t s = 0; s < stripes; ++s, p += 64) {
        for (int j = 0; j < 2; ++j) {
            const __m256i d = _mm256_loadu_si256(reinterpret_cast<const __m256i *>(p + 32 * j));
            const __m256i v = _mm256_xor_si256(d, keys[j]);
            const __m256i product = _mm256_mul_epu32(v, _mm256_shuffle_epi32(v, _MM_SHUFFLE(2, 3, 0, 1)));
            const __m256i neighbour = _mm256_shuffle_epi32(d, _MM_SHUFFLE(1, 0, 3, 2));
            acc[j] = _mm256_add_epi64(acc[j], _mm256_add_epi64(neighbour, product));
        }
    }
    for (int j = 0; j < 2; ++j)
        _mm256_storeu_si256(reinterpret_cast<__m256i *>(lanes + 4 * j), acc[j]);
}

const bool kHasAvx2 = __builtin_cpu_supports("avx2");
} // namespace
#endif

void StreamHash::accumulate(std::uint64_t *lanes, const unsigned char *p, std::size_t stripes)
{
#if defined(__x86_64__) && defined(__GNUC__)
    if (kHasAvx2) {
        accumulateAvx2(lanes, p, stripes);
        return;
    }
#endif
#if defined(__SSE2__)
    __m128i acc[4];
    __m128i keys[4];
    for (int j = 0; j < 4; ++j) {
        acc[j] = _mm_loadu_si128(reinterpret_cast<const __m128i *>(lanes + 2 * j));
        keys[j] = _mm_loadu_si128(reinterpret_cast<const __m128i *>(kKeys + 2 * j));
    }
    for (std::size_t s = 0; s < stripes; ++s, p += kStripe) {
        for (int j = 0; j < 4; ++j) {
            const __m128i d = _mm_loadu_si128(reinterpret_cast<const __m128i *>(p + 16 * j));
            const __m128i v = _mm_xor_si128(d, keys[j]);
            const __m128i product = _mm_mul_epu32(v, _mm_shuffle_epi32(v, _MM_SHUFFLE(2, 3, 0, 1)));
            const __m128i neighbour = _mm_shuffle_epi32(d, _MM_SHUFFLE(1, 0, 3, 2));
            acc[j] = _mm_add_epi64(acc[j], _mm_add_epi64(neighbour, product));
        }
    }
    for (int j = 0; j < 4; ++j)
        _mm_storeu_si128(reinterpret_cast<__m128i *>(lanes + 2 * j), acc[j]);
#else
    for (std::size_t s = 0; s < stripes; ++s, p += kStripe) {
        std::uint64_t w[8];
        std::memcpy(w, p, kStripe);
        for (int i = 0; i < 8; ++i) {
            const std::uint64_t v = w[i] ^ kKeys[i];
            lanes[i] += w[i ^ 1] + (v & 0xFFFFFFFFULL) * (v >> 32);
        }
    }
#endif
}

void StreamHash::stripes(const unsigned char *p, std::size_t count)
{
    // Lanes in locals: the input is read as bytes, which may alias the members.
    std::uint64_t lanes[8];
    std::memcpy(lanes, _lanes.data(), sizeof lanes);
    std::size_t stripeCount = _stripeCount;
    while (count > 0) {
        const std::size_t run = std::min(count, kStripesPerScramble - stripeCount);
        accumulate(lanes, p, run);
        p += run * kStripe;
        count -= run;
        stripeCount += run;
        if (stripeCount == kStripesPerScramble) {
            // Fold the high bits back down so no lane loses what it has gathered.
            for (int i = 0; i < 8; ++i)
                lanes[i] = (lanes[i] ^ (lanes[i] >> 47) ^ kKeys[7 - i]) * std::uint64_t(0x9E3779B1U);
            stripeCount = 0;
        }
    }
    _stripeCount = stripeCount;
    std::memcpy(_lanes.data(), lanes, sizeof lanes);
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
        stripes(_tail.data(), 1);
        _tailSize = 0;
    }
    stripes(p, size / kStripe);
    p += size / kStripe * kStripe;
    std::memcpy(_tail.data(), p, size % kStripe);
    _tailSize = size % kStripe;
}

std::uint64_t StreamHash::digest() const
{
    std::uint64_t h = _length * kPrime1;
    for (int i = 0; i < 8; ++i)
        h = rotl(h ^ avalanche(_lanes[size_t(i)] + kKeys[i]), 27) * kPrime1;
    for (std::size_t i = 0; i < _tailSize; ++i)
        h = rotl(h ^ (_tail[i] * kPrime2), 11) * kPrime1;
    return avalanche(h);
}
