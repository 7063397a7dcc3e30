#include "app/StopWatchWindow.h"

#include "videotools/StopWatchView.h"

StopWatchWindow::StopWatchWindow(const UserDefaultUtil &settings, QWidget *parent, Calls calls)
    : _view(new StopWatchView(settings, parent)), _calls(std::move(calls))
{
    // A child widget until setupWindow makes it a tool window; not shown before.
    _view->setWindowFlags(Qt::Tool);
    _view->hide();
    _view->setDelegate(this);
}

StopWatchWindow::~StopWatchWindow()
{
    if (_view)
        _view->setDelegate(nullptr);
}

StopWatchWindow::TrackUpdate StopWatchWindow::trackUpdate(const StopWatchMarkers &markers)
{
    // The stopwatch says 0 for a mark it has not set, but 0 is also the start of the timeline: a
    // start counts from Start on and a stop only in Stop, whatever their values.
    TrackUpdate update;
    update.status = markers.status;
    if (markers.status == StopWatchStatus::Ready)
        return update;
    update.startMs = markers.startMs;
    update.lapMs = markers.lapMs;
    if (markers.status == StopWatchStatus::Stop)
        update.stopMs = markers.stopMs;
    else
        update.holdFromMs = markers.lastMarkMs;
    return update;
}

StopWatchView *StopWatchWindow::view() const
{
    return _view;
}

bool StopWatchWindow::isLoaded() const
{
    return _view && _view->isLoaded();
}

bool StopWatchWindow::isMeasuring() const
{
    return _view && _view->model().status() != StopWatchStatus::Ready;
}

QWidget *StopWatchWindow::window()
{
    return _view;
}

void StopWatchWindow::setupWindow()
{
    if (!_view)
        return;
    // New window flags hide a window: the one just shown stays shown, where it was put.
    const bool visible = _view->isVisible();
    const QPoint place = _view->pos();
    _view->setupWindow();
    if (visible) {
        _view->move(place);
        _view->show();
    }
}

void StopWatchWindow::clearData()
{
    if (_view)
        _view->clearData();
}

void StopWatchWindow::resetMeasurement()
{
    if (_view)
        _view->resetMeasurement();
}

void StopWatchWindow::stopMeasurement()
{
    if (_view)
        _view->stopMeasurement();
}

void StopWatchWindow::setChapters(const ChapterTimeline &played)
{
    if (_view)
        _view->model().setTimeline(played);
}

void StopWatchWindow::setEventChapters(CardData &card, MoveProtectInfo &record)
{
    if (_view)
        _view->setEventChapters(card, record);
}

void StopWatchWindow::setCurrentSumFrameTimeSpan(int64_t ms)
{
    if (_view)
        _view->setCurrentSumFrameTimeSpan(ms);
}

void StopWatchWindow::refreshTimeline()
{
    if (_view)
        _view->refreshTimeline();
}

void StopWatchWindow::redrawLaps()
{
    if (_view)
        _view->redrawLaps();
}

void StopWatchWindow::updateStopWatchMarkers(const StopWatchMarkers &markers)
{
    if (_calls.showOnTrackBar)
        _calls.showOnTrackBar(trackUpdate(markers));
}

void StopWatchWindow::stopWatchHidden()
{
    if (_calls.stopWatchButtonOff)
        _calls.stopWatchButtonOff();
}
