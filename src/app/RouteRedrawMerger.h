// Merges the route redraws the card's workers ask for: the chapters finished within one short wait
// reach the map together, drawn for the trip the list selects when the wait ends.
#pragma once

#include "app/BurstMerger.h"

#include <QObject>
#include <functional>

class TripData;

class RouteRedrawMerger : public QObject
{
public:
    // selectedTrip: the trip whose route the map shows, or none; redraw: draws that trip's route;
    // routeRemovals: how often the map's route has been removed so far; beat: the wait shared with the
    // markers, or none for a wait of its own.
    RouteRedrawMerger(std::function<TripData *()> selectedTrip, std::function<void(TripData &)> redraw,
                      std::function<quint64()> routeRemovals, BurstBeat *beat = nullptr,
                      QObject *parent = nullptr);

    // Main thread; any number of calls within the wait give one redraw. A route removed after the
    // last call (another item was played meanwhile) is left as its new owner drew it: without the
    // wait, those chapters would have been drawn before it was removed.
    void request();
    bool isPending() const { return _burst.isPending(); }

private:
    void redrawNow();

    std::function<TripData *()> _selectedTrip;
    std::function<void(TripData &)> _redraw;
    std::function<quint64()> _routeRemovals;
    quint64 _removalsAtRequest = 0;
    BurstMerger _burst;
};
