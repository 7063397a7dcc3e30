// What the main window needs of the stopwatch window; the stopwatch's own view implements it through a
// small adapter, tests give a fake.
#pragma once

#include "card/ChapterTimeline.h"

#include <cstdint>

class CardData;
class MoveProtectInfo;
class QWidget;

class StopWatchPanel
{
public:
    virtual ~StopWatchPanel() = default;
    virtual bool isLoaded() const = 0;
    // Started or stopped, with a result a new item would drop.
    virtual bool isMeasuring() const = 0;
    // The floating window, made on first use; the main window places it and registers it as a child.
    virtual QWidget *window() = 0;
    // After the window is first shown: floating, and from now on isLoaded.
    virtual void setupWindow() = 0;
    virtual void clearData() = 0;
    virtual void resetMeasurement() = 0;
    virtual void stopMeasurement() = 0;
    // The player's timeline as it stands: both read a position alike until the next refresh.
    virtual void setChapters(const ChapterTimeline &played) = 0;
    virtual void setEventChapters(CardData &card, MoveProtectInfo &record) = 0;
    virtual void setCurrentSumFrameTimeSpan(int64_t ms) = 0;
    virtual void redrawLaps() = 0;
    // A chapter's driving data was handed over: the measurement's timeline takes a length it waited for.
    virtual void refreshTimeline() = 0;
};
