// The per-frame display: on each clock tick (and after seeks, steps, pauses and item changes) the car on
// the map, the meter, the charts' position and the GPS icon follow the player's position. The meter's
// speed-run table and the panel's data source are made once per chapter and item, not per tick.
#pragma once

#include "app/LastKnownCar.h"
#include "graph/SpeedDurations.h"

#include <QUrl>
#include <functional>
#include <memory>
#include <optional>

class ChapterDrivingData;
class DrivingInfoView;
class MoviePlayerView;
class PlayMovieValueInfo;
class StopWatchPanel;
class WebMapView;

class FrameFollower
{
public:
    FrameFollower(MoviePlayerView &player, WebMapView &map, std::function<DrivingInfoView *()> panel,
                  std::function<void()> redisplayMap);
    ~FrameFollower();

    void updateFrameWithStopWatch(StopWatchPanel *stopWatch);
    void updateFrameDisplay(bool playing);
    // An item change: the next frame builds the table again.
    void forgetChapter() { _currentMp4Path.reset(); }
    // The trip's or adventure's data source, which the panel shows too: one source, so that the frames the
    // panel is given and its charts lie on one timeline.
    void adoptSource(std::shared_ptr<PlayMovieValueInfo> item, std::shared_ptr<ChapterDrivingData> source);
    // The data source takes the chapter lengths the workers learned; true when its timeline changed.
    bool refreshTimeline();

    // The chapter whose speed-run table is held; none makes the next frame rebuild it.
    const std::optional<QUrl> &currentMp4Path() const { return _currentMp4Path; }
    int speedRunTableBuilds() const { return _tableBuilds; }

    static bool isPlayerReady(const MoviePlayerView &player);

private:
    MoviePlayerView &_player;
    WebMapView &_map;
    std::function<DrivingInfoView *()> _panel;
    std::function<void()> _redisplayMap;
    std::optional<QUrl> _currentMp4Path;
    SpeedDurationTable _durInfo;
    int _tableBuilds = 0;
    std::shared_ptr<PlayMovieValueInfo> _sourceOf; // the item the panel source was made for
    std::shared_ptr<ChapterDrivingData> _source;
    // The trip or adventure whose panel a chapter without driving data emptied.
    std::shared_ptr<PlayMovieValueInfo> _emptiedItem;
    LastKnownCar _lastKnownCar;
};
