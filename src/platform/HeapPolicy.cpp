#include "platform/HeapPolicy.h"

#include <cstdlib> // defines __GLIBC__

#if defined(__GLIBC__)
#include <malloc.h>
#endif

bool HeapPolicy::returnLargeBlocksToTheSystem()
{
#if defined(__GLIBC__)
    // Setting the bound also stops glibc from moving it.
    constexpr int LARGE_BLOCK_BYTES = 2 * 1024 * 1024;
    return mallopt(M_MMAP_THRESHOLD, LARGE_BLOCK_BYTES) == 1;
#else
    return false;
#endif
}

bool HeapPolicy::returnFreedMemory()
{
#if defined(__GLIBC__)
    // Every arena's free pages, the worker thread's included.
    malloc_trim(0);
    return true;
#else
    return false;
#endif
}
