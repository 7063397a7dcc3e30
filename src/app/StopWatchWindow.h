// The stopwatch window as the main window sees it: its panel calls go to the stopwatch's view, and the
// view's markers and its hiding come back to the player through the given calls.
#pragma once

#include "app/StopWatchPanel.h"
#include "videotools/StopWatchViewDelegate.h"

#include <QPointer>
#include <functional>
#include <optional>

class StopWatchView;
class UserDefaultUtil;

class StopWatchWindow : public StopWatchPanel, public StopWatchViewDelegate
{
public:
    // What the track bar and its value model get: -1 for a mark that is not set, and the position the
    // player may not go back before while the stopwatch runs.
    struct TrackUpdate
    {
        StopWatchStatus status = StopWatchStatus::Ready;
        int64_t startMs = -1;
        std::vector<int64_t> lapMs;
        int64_t stopMs = -1;
        std::optional<int64_t> holdFromMs;

        bool operator==(const TrackUpdate &) const = default;
    };
    static TrackUpdate trackUpdate(const StopWatchMarkers &markers);

    struct Calls
    {
        std::function<void(const TrackUpdate &)> showOnTrackBar;
        std::function<void()> stopWatchButtonOff;
    };

    // The view is made at once as a child of parent, which owns it.
    StopWatchWindow(const UserDefaultUtil &settings, QWidget *parent, Calls calls);
    ~StopWatchWindow() override;

    StopWatchView *view() const;

    // StopWatchPanel
    bool isLoaded() const override;
    bool isMeasuring() const override;
    QWidget *window() override;
    void setupWindow() override;
    void clearData() override;
    void resetMeasurement() override;
    void stopMeasurement() override;
    void setChapters(const ChapterTimeline &played) override;
    void setEventChapters(CardData &card, MoveProtectInfo &record) override;
    void setCurrentSumFrameTimeSpan(int64_t ms) override;
    void refreshTimeline() override;
    void redrawLaps() override;

    // StopWatchViewDelegate
    void updateStopWatchMarkers(const StopWatchMarkers &markers) override;
    void stopWatchHidden() override;

private:
    QPointer<StopWatchView> _view;
    Calls _calls;
};
