#include "app/MapReachabilityWatcher.h"

#include <QPointer>
#include <QTimer>

MapReachabilityWatcher::MapReachabilityWatcher(Probe probe, std::function<bool()> loadPage, QObject *parent)
    : QObject(parent), _probe(std::move(probe)), _loadPage(std::move(loadPage)), _timer(new QTimer(this))
{
    _timer->setInterval(REPROBE_INTERVAL_MS);
    connect(_timer, &QTimer::timeout, this, &MapReachabilityWatcher::reachabilityCheckTimer);
}

bool MapReachabilityWatcher::isReprobing() const
{
    return _timer->isActive();
}

void MapReachabilityWatcher::start()
{
    _probeInFlight = true;
    QPointer<MapReachabilityWatcher> self(this);
    _probe([self](bool reachable) {
        if (self)
            self->onAnswer(reachable, true);
    });
}

void MapReachabilityWatcher::reachabilityCheckTimer()
{
    // A slow name lookup may outlast the interval; one question at a time.
    if (_probeInFlight || !isReprobing())
        return;
    _probeInFlight = true;
    QPointer<MapReachabilityWatcher> self(this);
    _probe([self](bool reachable) {
        if (self)
            self->onAnswer(reachable, false);
    });
}

void MapReachabilityWatcher::onAnswer(bool reachable, bool startUp)
{
    _probeInFlight = false;
    if (startUp) {
        // The page loaded with the window; only an unreachable server needs watching.
        if (!reachable)
            _timer->start();
        return;
    }
    if (!reachable || !isReprobing())
        return;
    if (!_loadPage())
        return; // no page in this language: keep trying, as a missing resource changes nothing
    ++_pageLoads;
    _timer->stop();
}
