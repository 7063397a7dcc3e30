// A fast 64-bit hash of a byte stream fed in pieces of any size: the check that a copied file holds the
// bytes that were read from its source. Not for security; it only has to notice accidental differences.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>

struct XXH3_state_s;

class StreamHash
{
public:
    StreamHash();
    ~StreamHash();
    StreamHash(const StreamHash &) = delete;
    StreamHash &operator=(const StreamHash &) = delete;

    void update(const void *data, std::size_t size);
    std::uint64_t digest() const;
    std::uint64_t length() const { return _length; }

private:
    struct StateDeleter
    {
        void operator()(XXH3_state_s *state) const;
    };
    // xxHash's XXH3: vectorised, so hashing keeps up with the disk while copying.
    std::unique_ptr<XXH3_state_s, StateDeleter> _state;
    std::uint64_t _length = 0;
};
