#include "maintenance/StreamHash.h"

#include <new>
#include <xxhash.h>

void StreamHash::StateDeleter::operator()(XXH3_state_s *state) const
{
    XXH3_freeState(state);
}

StreamHash::StreamHash() : _state(XXH3_createState())
{
    if (!_state || XXH3_64bits_reset(_state.get()) != XXH_OK)
        throw std::bad_alloc();
}

StreamHash::~StreamHash() = default;

void StreamHash::update(const void *data, std::size_t size)
{
    XXH3_64bits_update(_state.get(), data, size);
    _length += size;
}

std::uint64_t StreamHash::digest() const
{
    return XXH3_64bits_digest(_state.get());
}
