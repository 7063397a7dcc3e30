// The main window's play operations: a trip, an adventure, an event or a surveillance recording loaded
// into the player with the list, the map, the stopwatch and the driving-data panel brought in line;
// the list's navigation, the player's event codes and the per-frame display that follows the clock.
#pragma once

#include "app/FrameFollower.h"
#include "card/TripData.h"
#include "graph/SpeedDurations.h"
#include "recording/CommonConst.h"

#include <QUrl>
#include <functional>
#include <memory>
#include <optional>

class CardData;
class ChapterDrivingData;
class DrivingInfoView;
class MoveProtectInfo;
class MoviePlayerView;
class PlayMovieValueInfo;
class StopWatchPanel;
class TripData;
class VideoListView;
class WebMapView;
struct EventClip;

class ItemPlayback
{
public:
    using ListType = CommonConst::ListType;

    struct Parts
    {
        MoviePlayerView &player;
        VideoListView &list;
        WebMapView &map;
        std::function<std::shared_ptr<CardData>()> card;
        std::function<DrivingInfoView *()> panel;    // null until the panel is hosted
        std::function<StopWatchPanel *()> stopWatch; // null while there is none
    };
    struct Hooks
    {
        std::function<bool()> confirmStopWatchReset;
        std::function<void()> showFileNotFound;
        std::function<void(const QString &text)> warn; // "Warning", critical, child windows lowered
        std::function<void()> updateWindowTitle;
        std::function<bool &()> loading;                          // the window's loading flag
        std::function<void()> leaveTrimMode;                      // the trim selection off
        std::function<void()> resetZoom;                          // the picture back to x1
        std::function<void(bool previous, bool next)> neighbours; // the player's item buttons
        std::function<void()> stopMeasurement;                    // the stopwatch's, on Stop
        std::function<void()> redisplayMap;                       // queued after the car moved
    };

    ItemPlayback(Parts parts, Hooks hooks);
    ~ItemPlayback();

    // found: chapters whose files were found a moment ago (the card's read); a trip of exactly those is
    // not looked for again.
    bool playTripItem(int tripIndex, int chapterIndex, bool switchTab, bool resetTools,
                      const ChapterList &found = {});
    bool playAdventureItem(int advIndex, int chapterIndex, bool switchTab);
    bool playEventItem(int index, bool switchTab);
    bool playSurveillanceItem(int index, bool switchTab);

    bool listRowSelected(ListType type, int row);
    void selectListItem(ListType type, int row, int chapterIndex, bool switchTab);
    void playNextItem() { playNeighbour(1); }
    void playPreviousItem() { playNeighbour(-1); }
    bool syncChapterSelection();
    void moviePlayerNotify(int code);

    // Once per clock tick; and with false after seeks, steps, pauses and item changes.
    void updateFrameWithStopWatch();
    void updateFrameDisplay(bool playing);
    // A chapter's driving data was handed over: a timeline that waited for its length takes it.
    void chapterRead();

    const FrameFollower &frames() const { return _frames; }

private:
    enum class Protect
    {
        Event,
        Surveillance
    };
    bool playMovieItem(TripData &trip, int index, int chapterIndex, bool switchTab, bool adventure,
                       const ChapterList &found = {});
    bool playProtectItem(int index, bool switchTab, Protect kind);
    // playing: the trip or adventure about to play, whose route the page may keep.
    bool beginChange(int index, ListType type, bool switchTab, bool leaveTrim, TripData *playing = nullptr);
    void clearMapRoute(TripData *playing = nullptr);
    bool giveUp();
    void unreadable();
    void loadPanels(const std::function<void()> &load);
    void playNeighbour(int step);
    bool isPlayerReady() const;
    void selectChapterOf(ListType type, int row, int chapterIndex, bool switchTab);

    Parts _parts;
    Hooks _hooks;
    FrameFollower _frames;
};
