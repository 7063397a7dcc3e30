#include "player/PausePictureKeeper.h"

#include "player/FrameSteps.h"
#include "player/MoviePlayerView.h"
#include "player/MoviePlayerViewDelegate.h"

#include <QMetaObject>

#include <cmath>
#include <utility>

using PlayStatus = CommonConst::PlayStatus;

void PausePictureKeeper::pause(bool wasPlaying)
{
    MediaEngine *engine = _panel.engine();
    if (!engine)
        return;
    // At the item's end the playing movie runs on to its last picture, the end's own, and stops there
    // by itself; paused and sought there, it would hold the picture before it while it decodes.
    const bool runsOut = wasPlaying && _panel.isAtItemEnd() && engine->rate() > 0.0 && restingMovieTime();
    if (runsOut)
        return;
    engine->pause();
    // A move pauses on its way to a position of its own.
    if (wasPlaying && !_panel._isPlayerSeek)
        keep();
}

void PausePictureKeeper::keep()
{
    // At the item's end the picture is its last; at the rates that seek on every tick the picture is on its
    // way to the position, which is ahead of it. Either way the seek goes on forward.
    if (_panel.isAtItemEnd() || _panel._settingRate > PlaybackSync::SETTING_RATE_PLAY) {
        if (const auto target = restingMovieTime())
            _panel.engine()->seekExact(*target);
        return;
    }
    // Playing, the picture may be up to the sync margin off the clock: seeking it to the clock's position
    // stepped it back. The position comes to the picture on screen instead, and to the pictures the core
    // still shows, which it had queued before the pause.
    _isKeeping = _panel.engine()->isSettlingPause();
    takeShownPicture(_panel.engine()->currentTime());
}

void PausePictureKeeper::pictureShown(double timeSec)
{
    if (_isKeeping)
        takeShownPicture(timeSec);
}

void PausePictureKeeper::takeShownPicture(double timeSec)
{
    MediaEngine *player = _panel.engine();
    const auto index = _panel._engines->loadedIndex();
    const auto &info = _panel._valueInfo;
    if (_panel._currentStatus != PlayStatus::Pause || !player || !player->isReadyToPlay() || !index ||
        *index < 0 || *index >= info->chapterCount() ||
        _panel.currentChapterData() != info->chapterDataList()[static_cast<size_t>(*index)])
        return;
    const double fps = player->frameRate();
    const FrameSteps::Picture shown{*index, FrameSteps::pictureAt(std::llround(timeSec * 1000.0), fps)};
    // A position that shows the picture already stays, wherever it lies between the picture's records.
    const ChapterTimeline &timeline = info->timeline();
    if (FrameSteps::pictureAtPosition(timeline, info->currentValue(), fps, _panel.pictureCounts()) == shown)
        return;
    const auto position = FrameSteps::positionOf(timeline, shown, fps, _panel.pictureCounts());
    if (!position)
        return;
    info->setCurrentValue(*position);
    _panel.trackbarValueChanged();
    if (auto *d = _panel.delegate())
        d->updateFrameDisplay(false);
}

void PausePictureKeeper::stopKeeping()
{
    _isKeeping = false;
    // Queued: a waiter may open a window of its own, which must not run inside the engine's call.
    for (auto &then : std::exchange(_waiters, {}))
        QMetaObject::invokeMethod(&_panel, std::move(then), Qt::QueuedConnection);
}

void PausePictureKeeper::whenAtRest(std::function<void()> then)
{
    if (!then)
        return;
    if (!_isKeeping) {
        then();
        return;
    }
    _waiters.push_back(std::move(then));
}

std::optional<int64_t> PausePictureKeeper::restingMovieTime() const
{
    if (!_panel.isPlayerReady() || _panel.currentChapterData() != _panel._valueInfo->currentChapter() ||
        !_panel._valueInfo->movieTimeOfCurrentFrame())
        return std::nullopt;
    return _panel.seekTarget();
}
