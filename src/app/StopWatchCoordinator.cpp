#include "app/StopWatchCoordinator.h"

#include "app/ChildWindows.h"
#include "app/StopWatchPanel.h"

#include <QWidget>

StopWatchCoordinator::StopWatchCoordinator(StopWatchPanel &panel, ChildWindows &childWindows, Calls calls)
    : _panel(panel), _childWindows(childWindows), _calls(std::move(calls))
{
}

void StopWatchCoordinator::showStopWatch()
{
    if (_panel.isLoaded()) {
        // The same window with its measurement; the play operations keep its item current.
        if (QWidget *window = _panel.window())
            window->show();
        return;
    }
    QWidget *window = _panel.window();
    if (_calls.windowTopLeft && window)
        window->move(_calls.windowTopLeft());
    const PlayedItem item = _calls.playedItem ? _calls.playedItem() : PlayedItem{};
    loadPlayedItem(item);
    _panel.setCurrentSumFrameTimeSpan(item.positionMs);
    _panel.redrawLaps();
    if (window)
        window->show();
    _panel.setupWindow();
    _childWindows.add(window);
}

void StopWatchCoordinator::loadPlayedItem(const PlayedItem &item)
{
    CardData *card = _calls.cardData ? _calls.cardData() : nullptr;
    switch (item.playType) {
    case CommonConst::PlayType::Movie:
    case CommonConst::PlayType::Adventure:
        // The chapters as played: the card's records chain an adventure on across the file numbers'
        // wrap from 9999 to 1, where the played one ends, so their timeline is not the track bar's.
        _panel.clearData();
        _panel.resetMeasurement();
        _panel.setChapters(item.timeline);
        break;
    case CommonConst::PlayType::Event:
    case CommonConst::PlayType::Surveillance:
        if (item.protectInfo && card)
            _panel.setEventChapters(*card, *item.protectInfo);
        break;
    }
}

void StopWatchCoordinator::closeStopWatch()
{
    if (_panel.isLoaded()) {
        if (QWidget *window = _panel.window()) {
            window->hide();
            _childWindows.closed(window);
        }
    }
    if (_calls.stopWatchButtonOff)
        _calls.stopWatchButtonOff();
}

void StopWatchCoordinator::updateStopWatchPosition(int64_t positionMs)
{
    _panel.setCurrentSumFrameTimeSpan(positionMs);
    _panel.redrawLaps();
}

bool StopWatchCoordinator::confirmStopWatchReset()
{
    if (!_panel.isMeasuring())
        return true;
    if (_calls.askReset && !_calls.askReset())
        return false;
    _panel.resetMeasurement();
    return true;
}

void StopWatchCoordinator::stopMeasurement()
{
    _panel.stopMeasurement();
}
