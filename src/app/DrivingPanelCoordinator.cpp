#include "app/DrivingPanelCoordinator.h"

#include "app/PlaybackControl.h"
#include "recording/UserDefaultUtil.h"

DrivingPanelCoordinator::DrivingPanelCoordinator(UserDefaultUtil &settings, PlaybackControl &player,
                                                 Panel panel, std::function<void()> refreshFrame)
    : _settings(settings), _player(player), _panel(std::move(panel)), _refreshFrame(std::move(refreshFrame))
{
}

void DrivingPanelCoordinator::saveDisplaySetting(bool circleChart)
{
    const bool on = _panel.isButtonOn(circleChart);
    if (circleChart) {
        _settings.dispCircleChart = on;
        _settings.setValue(QString::fromLatin1(UserDefaultUtil::KEY_DISP_CIRCLE_CHART), on);
    } else {
        _settings.dispSpeedMeter = on;
        _settings.setValue(QString::fromLatin1(UserDefaultUtil::KEY_DISP_SPEED_METER), on);
    }
    _refreshFrame();
}

bool DrivingPanelCoordinator::seekToSelection(CommonConst::PlayStatus status)
{
    const std::optional<int> position = _panel.selectedPosition();
    if (!position)
        return false;
    _panel.setValue(*position);
    _player.moveToPosition(*position, status);
    _refreshFrame();
    return true;
}

void DrivingPanelCoordinator::lineChartSeek(CommonConst::MouseStatus phase)
{
    switch (phase) {
    case CommonConst::MouseStatus::MouseDown:
        _tmpPlayStatus = _player.readyStatus();
        break;
    case CommonConst::MouseStatus::MouseDragged:
        seekToSelection(CommonConst::PlayStatus::Pause);
        break;
    case CommonConst::MouseStatus::MouseUp:
        // A release without a press seen (the press went to another window) changes nothing.
        if (_tmpPlayStatus)
            seekToSelection(*_tmpPlayStatus);
        _tmpPlayStatus.reset();
        break;
    }
}
