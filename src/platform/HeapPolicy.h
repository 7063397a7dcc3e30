// How the C library's allocator treats this process's large blocks.
#pragma once

class HeapPolicy
{
public:
    HeapPolicy() = delete;

    // Blocks from 2 MiB up (whole pictures: decoded frames of large movies, rendered video images) get
    // pages of their own that go back to the system when freed. glibc's default raises that bound to the
    // size of the largest block freed so far, so after the first picture is freed every later one is
    // carved from the heap, which keeps their pages after each chapter's decoder and renderer are gone:
    // the program grew by 10-25 MB at every chapter border. Smaller blocks stay in the heap, where
    // reusing them saves the page faults of fresh pages (a still from a movie needs several). Call once,
    // before the first picture is allocated. False where the C library has no such setting.
    static bool returnLargeBlocksToTheSystem();
    // Hands the heap's free pages back to the system, after work that freed much in small blocks. False
    // where the C library cannot.
    static bool returnFreedMemory();
};
