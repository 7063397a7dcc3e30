// The driving-data panel's calls into the main window: its display toggles are stored, and a drag on its
// line graphs seeks the player, paused while it moves and back to the status it had when it began.
#pragma once

#include "graph/DrivingInfoViewDelegate.h"

#include <functional>
#include <optional>

class PlaybackControl;
class UserDefaultUtil;

class DrivingPanelCoordinator : public DrivingInfoViewDelegate
{
public:
    // What the coordinator reads and moves on the panel.
    struct Panel
    {
        std::function<bool(bool circleChart)> isButtonOn;     // the toggle's state after the click
        std::function<std::optional<int>()> selectedPosition; // graph start + dragged value; none without
        std::function<void(int position)> setValue;
    };

    DrivingPanelCoordinator(UserDefaultUtil &settings, PlaybackControl &player, Panel panel,
                            std::function<void()> refreshFrame);

    void saveDisplaySetting(bool circleChart) override;
    void lineChartSeek(CommonConst::MouseStatus phase) override;

private:
    bool seekToSelection(CommonConst::PlayStatus status);

    UserDefaultUtil &_settings;
    PlaybackControl &_player;
    Panel _panel;
    std::function<void()> _refreshFrame;
    std::optional<CommonConst::PlayStatus> _tmpPlayStatus; // set from MouseDown to MouseUp
};
