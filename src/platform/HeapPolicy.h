// How the C library's allocator treats this process's large blocks.
#pragma once

class HeapPolicy
{
public:
    HeapPolicy() = delete;

    // Blocks from 128 KiB up get pages of their own that go back to the system when freed. glibc's
    // default raises that bound to the size of the largest block freed so far, so after the first video
    // frame is freed every later one is carved from the heap, and the heap keeps the pages of each
    // chapter's decoder after it is gone: the process grew by 10-25 MB at every chapter border. Call once,
    // before the first allocation of video frames. False where the C library has no such setting.
    static bool returnLargeBlocksToTheSystem();
};
