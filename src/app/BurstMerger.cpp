#include "app/BurstMerger.h"

#include <algorithm>
#include <utility>

BurstBeat::BurstBeat(QObject *parent) : QObject(parent)
{
    _timer.setSingleShot(true);
    _timer.setInterval(WAIT_MSEC);
    connect(&_timer, &QTimer::timeout, this, [this] { run(); });
}

void BurstBeat::due(BurstMerger *merger)
{
    if (!isDue(merger))
        _due.push_back(merger);
    if (!_timer.isActive())
        _timer.start();
}

bool BurstBeat::isDue(const BurstMerger *merger) const
{
    return std::find(_due.begin(), _due.end(), merger) != _due.end();
}

void BurstBeat::forget(const BurstMerger *merger)
{
    std::erase(_due, merger);
    std::erase(_running, merger);
}

void BurstBeat::run()
{
    const QPointer<BurstBeat> self(this);
    // What is asked for while these run waits for the next beat; a merger that ends meanwhile is taken
    // off the list before its turn.
    _running = std::exchange(_due, {});
    const auto runDue = [this, self] {
        while (self && !_running.empty()) {
            BurstMerger *merger = _running.front();
            _running.erase(_running.begin());
            merger->_task();
        }
    };
    if (_around)
        _around(runDue);
    else
        runDue();
}

BurstMerger::BurstMerger(std::function<void()> task, BurstBeat *beat, QObject *parent)
    : QObject(parent), _task(std::move(task)), _beat(beat), _onBeat(beat != nullptr)
{
    if (_onBeat)
        return;
    _timer.setSingleShot(true);
    _timer.setInterval(MERGE_MSEC);
    connect(&_timer, &QTimer::timeout, this, [this] { _task(); });
}

BurstMerger::~BurstMerger()
{
    if (_beat)
        _beat->forget(this);
}

void BurstMerger::request()
{
    if (_onBeat) {
        if (_beat)
            _beat->due(this);
        return;
    }
    if (!_timer.isActive())
        _timer.start();
}

bool BurstMerger::isPending() const
{
    return _onBeat ? _beat && _beat->isDue(this) : _timer.isActive();
}
