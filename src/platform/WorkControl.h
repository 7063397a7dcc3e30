// What passes between a long piece of work running on a thread of its own and the one waiting for it:
// a stop request the waiter sets, and the count of the work's steps done so far. The work reads and
// calls both on its own thread.
#pragma once

#include <atomic>
#include <functional>

struct WorkControl
{
    const std::atomic<bool> *cancel = nullptr;      // none: the work cannot be stopped
    std::function<void(int done, int total)> steps; // none: nobody follows the work

    bool isCancelled() const { return cancel && cancel->load(std::memory_order_acquire); }
    void report(int done, int total) const
    {
        if (steps)
            steps(done, total);
    }
};
