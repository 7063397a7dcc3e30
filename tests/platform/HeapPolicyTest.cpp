#include "platform/HeapPolicy.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <malloc.h>

namespace {

// Bytes in blocks that have pages of their own (given back to the system when freed).
size_t mappedBytes()
{
    return mallinfo2().hblkhd;
}

} // namespace

// A decoder or renderer frees its pictures and the next chapter's asks for pictures a little smaller
// (another picture size, another pool): those must not be carved from a heap that never shrinks.
TEST(HeapPolicyTest, APictureAskedForAfterALargerOneWasFreedHasPagesOfItsOwn)
{
    ASSERT_TRUE(HeapPolicy::returnLargeBlocksToTheSystem());
    // A 1080p frame in 4:2:0, a 1440p frame's luma plane, a 1080p RGBA picture, a 4K frame in 4:2:0.
    constexpr size_t pictures[] = {1920 * 1080 * 3 / 2, 2560 * 1440, 1920 * 1080 * 4, 3840 * 2160 * 3 / 2};
    void *first = std::malloc(16 * 1024 * 1024);
    ASSERT_NE(first, nullptr);
    std::free(first);
    for (const size_t bytes : pictures) {
        SCOPED_TRACE(bytes);
        const size_t before = mappedBytes();
        void *picture = std::malloc(bytes);
        ASSERT_NE(picture, nullptr);
        EXPECT_GE(mappedBytes(), before + bytes);
        std::free(picture);
        EXPECT_EQ(mappedBytes(), before);
    }
}
