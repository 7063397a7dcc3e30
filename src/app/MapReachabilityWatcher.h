// Loads the map page again once the map's tile server can be reached, when it could not be at start:
// probes every 5 s until a probe succeeds and the page has loaded, then stops.
#pragma once

#include <QObject>
#include <functional>

class QTimer;

class MapReachabilityWatcher : public QObject
{
    Q_OBJECT
public:
    static constexpr int REPROBE_INTERVAL_MS = 5000;

    // probe answers (possibly later, on this thread) whether the server is reachable; loadPage loads
    // the page in the current language and says whether the application carries it.
    using Probe = std::function<void(std::function<void(bool)>)>;
    MapReachabilityWatcher(Probe probe, std::function<bool()> loadPage, QObject *parent = nullptr);

    // The start-up probe: an unreachable server starts the re-probe timer.
    void start();
    // One re-probe (the timer's action).
    void reachabilityCheckTimer();

    bool isReprobing() const;
    int pageLoads() const { return _pageLoads; }

private:
    void onAnswer(bool reachable, bool startUp);

    Probe _probe;
    std::function<bool()> _loadPage;
    QTimer *_timer;
    bool _probeInFlight = false;
    int _pageLoads = 0;
};
