// The map markers of the lists: one per event, surveillance recording and trip chapter that has a
// position, with its date as the balloon; the map centred once per opened card on the first of them;
// and a clicked marker played through the main window's list operations. A marker that needs a
// recording's first frame waits for the card's workers to read it: the window reads none itself, and
// the markers the workers' hand-overs put within a short wait reach the map together.
#pragma once

#include "app/BurstMerger.h"
#include "map/MapPoint.h"
#include "recording/CommonConst.h"
#include "recording/Date.h"

#include <QString>
#include <QTimeZone>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <vector>

class CardData;
class ChapterData;
class UserDefaultUtil;
class VideoListModel;
class WebMapView;

class ListMarkers
{
public:
    struct Parts
    {
        WebMapView &map;
        VideoListModel &list;
        std::function<std::shared_ptr<CardData>()> card;
        const UserDefaultUtil &settings;
        BurstBeat *beat = nullptr; // the wait the markers put are drawn on; their own without
    };
    struct Hooks
    {
        std::function<void(std::function<void()>)> post; // runs the task later on the main thread, if the
                                                         // window still exists
        std::function<bool &()> centred;                 // the window's isMapZoomAndCenter
        std::function<bool(CommonConst::ListType, int row, bool switchTab)> selectRow;
        std::function<void(CommonConst::ListType, int row, int chapter, bool switchTab)> selectListItem;
        std::function<bool(int index, bool switchTab)> playEventItem;
        std::function<bool(int index, bool switchTab)> playSurveillanceItem;
    };

    ListMarkers(Parts parts, Hooks hooks);

    void setEventMapMarkers();
    void setSurveillanceMapMarkers();
    void setTripMapMarkers();
    // The workers have read the chapter's recording: the markers that waited for it are put, and drawn
    // with the others put within the wait.
    void chapterRead(const ChapterData &chapter);
    void mapMarkerClicked(const MapPoint &point);
    // Markers waiting for a recording to be read.
    size_t waitingCount() const { return _waiting.size(); }
    // Markers put but not yet drawn.
    bool isDrawPending() const { return _drawing.isPending(); }

private:
    struct First
    {
        double lat = 0.0;
        double lng = 0.0;
    };
    // A marker of a chapter whose recording has not been read yet.
    struct Waiting
    {
        std::weak_ptr<ChapterData> chapter;
        QString key;
        MarkerType marker;
        int index;
        int chapterIndex;
        std::optional<Date> date; // the record's; the recording's first time when none
    };
    QString balloon(const Date &date) const;
    // Puts the marker at the chapter's first frame; false while its recording has not been read.
    bool putAtFirstFrame(const ChapterData &chapter, const Waiting &marker, First &first);
    void forgetWaiting(MarkerType marker);
    void put(const QString &key, const MapPoint &point, First &first);
    void finish(const std::shared_ptr<First> &first);
    void centerOnFirstMarker(const First &first);
    void drawPut();

    Parts _parts;
    Hooks _hooks;
    mutable std::optional<std::pair<QString, QTimeZone>> _zone; // the balloons' zone, by its identifier
    std::multimap<const ChapterData *, Waiting> _waiting;
    // Keys put by the hand-overs since the last drawing, in the order put; the whole list drawn meanwhile
    // took them along.
    std::vector<QString> _undrawn;
    quint64 _listDrawsAtPut = 0;
    BurstMerger _drawing{[this] { drawPut(); }, _parts.beat};
};
