// Opens the stopwatch window for the item being played and hides it again; a hidden stopwatch keeps its
// measurement, and showing it again shows the same window with its laps.
#pragma once

#include "recording/CommonConst.h"

#include "card/TripData.h"

#include <QPoint>
#include <functional>
#include <memory>

class AdvMoveProtectInfo;
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
        ChapterList chapters;
        std::shared_ptr<MoveProtectInfo> protectInfo;
        std::shared_ptr<AdvMoveProtectInfo> advProtectInfo;
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
    };

    StopWatchCoordinator(StopWatchPanel &panel, ChildWindows &childWindows, Calls calls);

    void showStopWatch();
    void closeStopWatch();

private:
    void loadPlayedItem(const PlayedItem &item);

    StopWatchPanel &_panel;
    ChildWindows &_childWindows;
    Calls _calls;
};
