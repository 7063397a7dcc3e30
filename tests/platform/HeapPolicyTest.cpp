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

// A decoder frees its frames and the next chapter's decoder asks for frames a little smaller (another
// picture size, another pool): those must not be carved from a heap that never shrinks.
TEST(HeapPolicyTest, AFrameAskedForAfterALargerOneWasFreedHasPagesOfItsOwn)
{
    ASSERT_TRUE(HeapPolicy::returnLargeBlocksToTheSystem());
    constexpr size_t frames[] = {3 * 1024 * 1024, 1920 * 1080 * 3 / 2, 1280 * 720 * 3 / 2, 256 * 1024};
    void *first = std::malloc(4 * 1024 * 1024);
    ASSERT_NE(first, nullptr);
    std::free(first);
    for (const size_t bytes : frames) {
        SCOPED_TRACE(bytes);
        const size_t before = mappedBytes();
        void *frame = std::malloc(bytes);
        ASSERT_NE(frame, nullptr);
        EXPECT_GE(mappedBytes(), before + bytes);
        std::free(frame);
        EXPECT_EQ(mappedBytes(), before);
    }
}
