// Background loops that repeat a step until their owner stops them, pause while a step finds
// nothing to do, and deliver each step's result and their own end on the main thread.
#pragma once

#include <QObject>
#include <QPointer>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <deque>
#include <functional>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

class WorkerGroupRelay;

class WorkerGroup
{
public:
    // Runs on the main thread.
    using HandOff = std::function<void()>;
    // One unit of work on a loop's thread; an empty hand-off means there was nothing to do.
    using Step = std::function<HandOff()>;
    enum class Priority
    {
        Background, // a niced thread: below the user's own work
        Default,
    };

    // context: an object of the main thread. Hand-offs and the end are queued on its thread and are
    // dropped when it is deleted first; it must outlive this group. shouldStop is polled before the
    // first step and after every step (any thread). finished runs on the main thread once every
    // loop has returned, after their last hand-off.
    WorkerGroup(QObject *context, std::function<bool()> shouldStop, std::chrono::milliseconds idlePause,
                HandOff finished);
    WorkerGroup(const WorkerGroup &) = delete;
    WorkerGroup &operator=(const WorkerGroup &) = delete;
    // Cuts the pauses short and waits for the loops: the owner sets its stop flag first, or a
    // loop that never finds it set keeps running until its step does.
    ~WorkerGroup();

    // Starts one loop on a new thread.
    void start(Step step, Priority priority);
    // Ends every idle pause at once and keeps later ones from sleeping; the loops then see the
    // owner's stop flag without waiting out their second. Any thread.
    void wake();
    // Waits for every loop to return. Not from a loop's own thread.
    void join();
    // Loops that have not returned yet.
    int runningLoops() const { return _running.load(); }
    // True once every loop's latest step found nothing to do (any thread). Steps whose candidates
    // only ever shrink are then done for good.
    bool allLoopsIdle() const
    {
        const int started = _started.load();
        return started > 0 && _idleLoops.load() == started;
    }

private:
    void run(const Step &step, Priority priority);
    void post(HandOff handOff);

    // Lives on the main thread as a child of the context.
    QPointer<WorkerGroupRelay> _relay;
    const std::function<bool()> _shouldStop;
    const std::chrono::milliseconds _idlePause;
    HandOff _finished;
    // Results travel through this queue under our own lock, so that the main thread sees every
    // write a loop made before handing a result over.
    WorkerGroupRelay *_relayForLoops = nullptr;
    std::mutex _pauseMutex;
    std::condition_variable _pauseEnded;
    bool _isWoken = false;
    std::atomic<int> _running = 0;
    std::atomic<int> _idleLoops = 0;
    std::atomic<int> _started = 0;
    std::vector<std::thread> _threads;
};

// Carries results from the loops to the main thread. The queued call itself carries no data: the
// results wait in a queue under a lock of our own, which also orders every write a loop made
// before its hand-off ahead of the main thread's reads (Qt's own event queue lock is invisible
// to the thread sanitizer).
class WorkerGroupRelay : public QObject
{
    Q_OBJECT
public:
    explicit WorkerGroupRelay(QObject *parent) : QObject(parent) {}
    // Any thread.
    void post(WorkerGroup::HandOff handOff);

private:
    // Main thread. Runs the queued results in order; one call may find several, or none.
    Q_INVOKABLE void deliver();

    struct Mailbox
    {
        std::mutex mutex;
        std::deque<WorkerGroup::HandOff> queue;
    };
    const std::shared_ptr<Mailbox> _mailbox = std::make_shared<Mailbox>();
};
