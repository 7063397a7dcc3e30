#include "app/PlayerPanelControl.h"

#include "player/MediaEngine.h"
#include "player/MoviePlayerView.h"

CommonConst::PlayStatus PlayerPanelControl::readyStatus() const
{
    if (!_player.engine() || !_player.engine()->isReadyToPlay())
        return CommonConst::PlayStatus::NotReady;
    return _player.currentStatus();
}

void PlayerPanelControl::pauseMovie()
{
    _player.pauseMovie();
}

void PlayerPanelControl::playMovie()
{
    _player.playMovie();
}

void PlayerPanelControl::stopMovie()
{
    _player.stopMovie();
}

void PlayerPanelControl::moveToPosition(int64_t position, CommonConst::PlayStatus status)
{
    _player.moveToPosition(position, status);
}
