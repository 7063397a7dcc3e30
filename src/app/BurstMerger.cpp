#include "app/BurstMerger.h"

BurstMerger::BurstMerger(std::function<void()> task, QObject *parent)
    : QObject(parent), _task(std::move(task))
{
    _timer.setSingleShot(true);
    _timer.setInterval(MERGE_MSEC);
    connect(&_timer, &QTimer::timeout, this, [this] { _task(); });
}

void BurstMerger::request()
{
    if (!_timer.isActive())
        _timer.start();
}
