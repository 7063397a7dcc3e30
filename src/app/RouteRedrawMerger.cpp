#include "app/RouteRedrawMerger.h"

RouteRedrawMerger::RouteRedrawMerger(std::function<TripData *()> selectedTrip,
                                     std::function<void(TripData &)> redraw,
                                     std::function<quint64()> routeRemovals, QObject *parent)
    : QObject(parent), _selectedTrip(std::move(selectedTrip)), _redraw(std::move(redraw)),
      _routeRemovals(std::move(routeRemovals))
{
    _timer.setSingleShot(true);
    _timer.setInterval(MERGE_MSEC);
    connect(&_timer, &QTimer::timeout, this, &RouteRedrawMerger::redrawNow);
}

void RouteRedrawMerger::request()
{
    _removalsAtRequest = _routeRemovals();
    // Not restarted: a steady stream of chapters still redraws every wait.
    if (!_timer.isActive())
        _timer.start();
}

void RouteRedrawMerger::redrawNow()
{
    if (_routeRemovals() != _removalsAtRequest)
        return;
    // The selection may have changed, or the card been closed, since the request.
    if (TripData *trip = _selectedTrip())
        _redraw(*trip);
}
