#include "player/EngineTeardown.h"

#include <atomic>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

namespace {

class Endings
{
public:
    // Waits for every ending handed over.
    ~Endings() { waitAll(); }

    void run(std::function<void()> ending)
    {
        const std::lock_guard lock(_mutex);
        joinDone();
        auto done = std::make_shared<std::atomic<bool>>(false);
        _running.push_back({std::thread([ending = std::move(ending), done] {
                                ending();
                                *done = true;
                            }),
                            done});
    }

    void waitAll()
    {
        std::vector<Running> running;
        {
            const std::lock_guard lock(_mutex);
            running.swap(_running);
        }
        for (Running &each : running)
            each.thread.join();
    }

private:
    struct Running
    {
        std::thread thread;
        std::shared_ptr<std::atomic<bool>> done;
    };

    // Under the lock: the threads that have ended are joined, so that they do not pile up.
    void joinDone()
    {
        std::erase_if(_running, [](Running &each) {
            if (!*each.done)
                return false;
            each.thread.join();
            return true;
        });
    }

    std::mutex _mutex;
    std::vector<Running> _running;
};

// Destroyed at exit, after the engines: it waits for their endings.
Endings &endings()
{
    static Endings instance;
    return instance;
}

} // namespace

void EngineTeardown::run(std::function<void()> ending)
{
    endings().run(std::move(ending));
}
