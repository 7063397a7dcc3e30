// Opens the stopwatch window for the item being played and hides it again; a hidden stopwatch keeps its
// measurement, and showing it again shows the same window with its laps.
#pragma once

#include "recording/CommonConst.h"

#include "card/ChapterTimeline.h"

#include <QPoint>
#include <functional>
#include <memory>

class CardData;
class ChildWindows;
class MoveProtectInfo;
class StopWatchPanel;

class StopWatchCoordinator
{
public:
    // The played item as the player's value model holds it.
    struct PlayedItem
    {
        CommonConst::PlayType playType = CommonConst::PlayType::Movie;
        ChapterTimeline timeline; // the player's
        std::shared_ptr<MoveProtectInfo> protectInfo;
        int64_t positionMs = 0; // the track bar's value, clamped by the value model
    };

    struct Calls
    {
        std::function<PlayedItem()> playedItem;
        std::function<CardData *()> cardData;
        // Top-left of the window: the list panel's width left of the main window's right edge, 22 below
        // its top edge.
        std::function<QPoint()> windowTopLeft;
        std::function<void()> stopWatchButtonOff;
        // "The Stopwatch measurement result will be deleted. Proceed?", child windows lowered around it.
        std::function<bool()> askReset;
    };

    StopWatchCoordinator(StopWatchPanel &panel, ChildWindows &childWindows, Calls calls);

    void showStopWatch();
    void closeStopWatch();
    // Every tick of the player's clock, shown or not: the stopwatch's running lap follows the position.
    void updateStopWatchPosition(int64_t positionMs);
    // Before another source or item replaces the played one: true when nothing is measured, or the user
    // agreed and the measurement was reset.
    bool confirmStopWatchReset();
    // The player's Stop button (event code 7): a running measurement ends at the position.
    void stopMeasurement();

private:
    void loadPlayedItem(const PlayedItem &item);

    StopWatchPanel &_panel;
    ChildWindows &_childWindows;
    Calls _calls;
};
