// PlaybackControl over the main window's player panel.
#pragma once

#include "app/PlaybackControl.h"

class MoviePlayerView;

class PlayerPanelControl : public PlaybackControl
{
public:
    explicit PlayerPanelControl(MoviePlayerView &player) : _player(player) {}

    CommonConst::PlayStatus readyStatus() const override;
    void pauseMovie() override;
    void playMovie() override;
    void stopMovie() override;
    void moveToPosition(int64_t position, CommonConst::PlayStatus status) override;

private:
    MoviePlayerView &_player;
};
