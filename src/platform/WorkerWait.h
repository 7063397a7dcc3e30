// Runs a job on a thread of its own and waits for it in a local event loop: the waiting thread goes on
// with its events (repaints, input, timers, queued calls) until the job has ended. What the job reports
// on the way reaches the waiter through queued calls.
#pragma once

#include <functional>

class WorkerWait
{
public:
    WorkerWait() = delete;

    // Returns once the job has ended. When the loop is told to end first (the application quits), stop
    // is called, which must make the job end soon, and the job is waited for all the same.
    static void run(const std::function<void()> &job, const std::function<void()> &stop = {});
};
