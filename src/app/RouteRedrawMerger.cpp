#include "app/RouteRedrawMerger.h"

RouteRedrawMerger::RouteRedrawMerger(std::function<TripData *()> selectedTrip,
                                     std::function<void(TripData &)> redraw,
                                     std::function<quint64()> routeRemovals, BurstBeat *beat, QObject *parent)
    : QObject(parent), _selectedTrip(std::move(selectedTrip)), _redraw(std::move(redraw)),
      _routeRemovals(std::move(routeRemovals)), _burst([this] { redrawNow(); }, beat)
{
}

void RouteRedrawMerger::request()
{
    _removalsAtRequest = _routeRemovals();
    _burst.request();
}

void RouteRedrawMerger::redrawNow()
{
    if (_routeRemovals() != _removalsAtRequest)
        return;
    // The selection may have changed, or the card been closed, since the request.
    if (TripData *trip = _selectedTrip())
        _redraw(*trip);
}
