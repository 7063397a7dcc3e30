#include "app/FrameFollower.h"

#include "app/FrameDisplay.h"
#include "app/StopWatchPanel.h"
#include "card/ChapterData.h"
#include "graph/ChapterDrivingData.h"
#include "graph/CircleChartView.h"
#include "graph/DrivingInfoView.h"
#include "map/KmlUtil.h"
#include "map/WebMapView.h"
#include "player/MediaEngine.h"
#include "player/MoviePlayerView.h"
#include "player/PlayMovieValueInfo.h"
#include "recording/PictureData.h"

#include <limits>

FrameFollower::FrameFollower(MoviePlayerView &player, WebMapView &map,
                             std::function<DrivingInfoView *()> panel, std::function<void()> redisplayMap)
    : _player(player), _map(map), _panel(std::move(panel)), _redisplayMap(std::move(redisplayMap))
{
}

FrameFollower::~FrameFollower() = default;

void FrameFollower::adoptSource(std::shared_ptr<PlayMovieValueInfo> item,
                                std::shared_ptr<ChapterDrivingData> source)
{
    _sourceOf = std::move(item);
    _source = std::move(source);
}

bool FrameFollower::refreshTimeline()
{
    return _source && _source->refreshTimeline();
}

namespace {
int32_t narrow(int64_t value)
{
    return static_cast<int32_t>(
        std::clamp<int64_t>(value, std::numeric_limits<int32_t>::min(), std::numeric_limits<int32_t>::max()));
}
} // namespace

bool FrameFollower::isPlayerReady(const MoviePlayerView &player)
{
    // The player's own readiness: it stays while the item of another chapter opens, so a chapter
    // change neither empties the panel nor loses the title.
    const MediaEngine *engine = player.engine();
    return engine && engine->isPlayerReady();
}

void FrameFollower::updateFrameWithStopWatch(StopWatchPanel *stopWatch)
{
    MoviePlayerView &player = _player;
    updateFrameDisplay(isPlayerReady(_player) && player.currentStatus() == CommonConst::PlayStatus::Play);
    if (stopWatch && player.valueInfo()) {
        stopWatch->setCurrentSumFrameTimeSpan(player.valueInfo()->currentValue());
        stopWatch->redrawLaps();
    }
}

void FrameFollower::updateFrameDisplay(bool playing)
{
    MoviePlayerView &player = _player;
    DrivingInfoView *panel = _panel ? _panel() : nullptr;
    const std::shared_ptr<PlayMovieValueInfo> valueInfo = player.valueInfo();
    const auto picture = valueInfo && valueInfo->chapterCount() > 0 ? player.currentPictureData() : nullptr;
    const bool ready = isPlayerReady(_player) && player.currentStatus() != CommonConst::PlayStatus::NotReady;
    if (!picture || !ready) {
        if (panel)
            panel->clearFrame();
        // Within a trip, a chapter without driving data, or a player not ready yet, empties the panel; the
        // next frame with data loads it again, as the item's start did.
        const auto type = valueInfo ? valueInfo->playType() : CommonConst::PlayType::Event;
        const bool chapters =
            type == CommonConst::PlayType::Movie || type == CommonConst::PlayType::Adventure;
        _emptiedItem = chapters && valueInfo->chapterCount() > 0 ? valueInfo : nullptr;
        return;
    }
    if (player.isPlayerSeek())
        return;
    const std::optional<FrameTable> frames =
        picture->video ? std::optional(picture->video->getCameraFrames(0)) : std::nullopt;
    const auto chapter = valueInfo->currentChapter();
    std::optional<CarFix> car =
        FrameDisplay::frameFix(frames ? &*frames : nullptr, valueInfo->currentFrame());
    if (!car)
        car = _lastKnownCar.at(valueInfo, chapter, [&] {
            return FrameDisplay::lastKnownPosition(chapter, valueInfo->chapterDataList());
        });
    if (car) {
        _map.drawMyCar(KmlUtil::degrees(car->latitude), KmlUtil::degrees(car->longitude), car->icon,
                       car->gps);
        _map.setFlgCar(true);
        if (_redisplayMap)
            _redisplayMap();
    }
    const int32_t position = narrow(valueInfo->currentValue());
    if (_sourceOf != valueInfo) {
        _sourceOf = valueInfo;
        _source = std::make_shared<ChapterDrivingData>(valueInfo->chapterDataList());
    }
    const std::optional<DrivingSample> frame = _source->sampleAtPosition(position);
    if (!frame)
        return;
    if (chapter && (!_currentMp4Path || *_currentMp4Path != chapter->_pathMp4)) {
        const auto chapterPicture = chapter->getPicture(true);
        if (chapterPicture && chapterPicture->video) {
            _durInfo = FrameDisplay::speedRunTableOf(*chapterPicture->video);
            _currentMp4Path = chapter->_pathMp4;
            ++_tableBuilds;
        }
    }
    if (panel && _emptiedItem == valueInfo) {
        panel->loadMovieChapters(_source);
        panel->circleChartView()->loadMovieChapters(_source);
    }
    _emptiedItem.reset();
    if (panel)
        panel->showFrame(position, frame,
                         isPlayerReady(_player) ? player.currentStatus() : CommonConst::PlayStatus::NotReady,
                         playing, _durInfo);
}
