#include "card/WorkerGroup.h"

#include <QMetaObject>
#include <algorithm>
#include <cerrno>
#include <sys/resource.h>
#include <sys/syscall.h>
#include <unistd.h>

namespace {

// Linux keeps a nice value per thread; raising it needs no privilege.
void lowerThisThreadsPriority()
{
    const auto thread = id_t(syscall(SYS_gettid));
    errno = 0;
    const int nice = getpriority(PRIO_PROCESS, thread);
    if (errno == 0)
        setpriority(PRIO_PROCESS, thread, std::min(nice + 10, 19));
}

} // namespace

WorkerGroup::WorkerGroup(QObject *context, std::function<bool()> shouldStop,
                         std::chrono::milliseconds idlePause, HandOff finished)
    : _relay(new WorkerGroupRelay(context)), _shouldStop(std::move(shouldStop)), _idlePause(idlePause),
      _finished(std::move(finished))
{
    _relayForLoops = _relay.data();
}

WorkerGroup::~WorkerGroup()
{
    wake();
    join();
    // Later: this may run inside the relay's own delivery (the end handler may drop the group).
    if (_relay)
        _relay->deleteLater();
}

void WorkerGroup::start(Step step, Priority priority)
{
    ++_running;
    ++_started;
    _threads.emplace_back([this, step = std::move(step), priority] { run(step, priority); });
}

void WorkerGroup::wake()
{
    {
        std::lock_guard lock(_pauseMutex);
        _isWoken = true;
    }
    _pauseEnded.notify_all();
}

void WorkerGroup::join()
{
    for (std::thread &thread : _threads) {
        if (thread.joinable())
            thread.join();
    }
}

void WorkerGroup::run(const Step &step, Priority priority)
{
    if (priority == Priority::Background)
        lowerThisThreadsPriority();
    bool isIdle = false;
    if (!_shouldStop()) {
        do {
            HandOff handOff = step();
            if (isIdle != !handOff) {
                isIdle = !handOff;
                _idleLoops += isIdle ? 1 : -1;
            }
            if (handOff) {
                post(std::move(handOff));
            } else {
                std::unique_lock lock(_pauseMutex);
                _pauseEnded.wait_for(lock, _idlePause, [this] { return _isWoken; });
            }
        } while (!_shouldStop());
    }
    // The last loop to end reports the group's end, queued behind every hand-off.
    if (--_running == 0 && _finished)
        post(std::move(_finished));
}

void WorkerGroup::post(HandOff handOff)
{
    _relayForLoops->post(std::move(handOff));
}

void WorkerGroupRelay::post(WorkerGroup::HandOff handOff)
{
    {
        std::lock_guard lock(_mailbox->mutex);
        _mailbox->queue.push_back(std::move(handOff));
    }
    QMetaObject::invokeMethod(this, "deliver", Qt::QueuedConnection);
}

void WorkerGroupRelay::deliver()
{
    // A hand-off may delete this relay's group, or its context and with it this relay; the queue
    // stays alive for this call, and what waits behind such a hand-off was meant for the dead owner.
    const std::shared_ptr<Mailbox> mailbox = _mailbox;
    const QPointer<WorkerGroupRelay> self(this);
    for (;;) {
        WorkerGroup::HandOff next;
        {
            std::lock_guard lock(mailbox->mutex);
            if (mailbox->queue.empty())
                return;
            next = std::move(mailbox->queue.front());
            mailbox->queue.pop_front();
        }
        next();
        if (!self)
            return;
    }
}
