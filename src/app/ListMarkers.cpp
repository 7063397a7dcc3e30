#include "app/ListMarkers.h"

#include "app/VideoListModel.h"
#include "card/CardData.h"
#include "card/ChapterData.h"
#include "card/MoveProtectInfo.h"
#include "card/TripData.h"
#include "card/VrecMoveManagerInfo.h"
#include "map/KmlUtil.h"
#include "map/MapPoint.h"
#include "map/WebMapView.h"
#include "recording/DateFormatTypeUtil.h"
#include "recording/PictureData.h"
#include "recording/UserDefaultUtil.h"
#include "recording/VideoInfo.h"

namespace {
// The first frame of a chapter's recording, read when missing.
std::optional<VideoFrame> firstFrame(ChapterData &chapter, Date *date = nullptr)
{
    const auto picture = chapter.getPicture(true);
    if (!picture || !picture->video)
        return std::nullopt;
    if (date)
        *date = picture->video->firstTime;
    return picture->video->findFrame(0, 0, false);
}
} // namespace

ListMarkers::ListMarkers(Parts parts, Hooks hooks) : _parts(std::move(parts)), _hooks(std::move(hooks)) {}

QString ListMarkers::balloon(const Date &date) const
{
    const UserDefaultUtil &settings = _parts.settings;
    const auto format = DateFormatTypeUtil::format(DateFormatTypeUtil::displayFormats(), settings.dateFormat);
    return date.toString(format.value_or(QString()),
                         DateFormatTypeUtil::timeZoneIdentifier(settings.timeZone), settings.summerTime);
}

void ListMarkers::put(const QString &key, const MapPoint &point, First &first)
{
    _parts.map.markerList()[key] = std::make_shared<MapPoint>(point);
    if (first.lat == 0.0 && first.lng == 0.0)
        first = {point.lat, point.lng};
}

void ListMarkers::finish(const std::shared_ptr<First> &first)
{
    _parts.map.drawMarkers();
    _hooks.post([this, first] { centerOnFirstMarker(*first); });
}

void ListMarkers::setEventMapMarkers()
{
    auto first = std::make_shared<First>();
    const auto &events = _parts.list.eventList();
    for (size_t i = 0; i < events.size(); ++i) {
        const MoveProtectInfo &record = *events[i];
        const double lat = KmlUtil::degrees(record._latitude);
        const double lng = KmlUtil::degrees(record._longitude);
        if (lat == 0.0 && lng == 0.0)
            continue;
        put(QStringLiteral("E%1").arg(i),
            MapPoint(lat, lng, balloon(record._datetime), MarkerType::EVENT, static_cast<int>(i)), *first);
    }
    finish(first);
}

void ListMarkers::setSurveillanceMapMarkers()
{
    auto first = std::make_shared<First>();
    const auto &records = _parts.list.surveillanceList();
    for (size_t i = 0; i < records.size(); ++i) {
        const MoveProtectInfo &record = *records[i];
        // Each record's own position: one without a readable first frame gets no marker, rather than
        // the previous record's.
        const auto chapter = record.eventChapter();
        const std::optional<VideoFrame> frame = chapter ? firstFrame(*chapter) : std::nullopt;
        if (!frame)
            continue;
        const double lat = KmlUtil::degrees(frame->_latitude);
        const double lng = KmlUtil::degrees(frame->_longitude);
        if (lat == 0.0 && lng == 0.0)
            continue;
        put(QStringLiteral("S%1").arg(i),
            MapPoint(lat, lng, balloon(record._datetime), MarkerType::SURVEILLANCE, static_cast<int>(i)),
            *first);
    }
    finish(first);
}

void ListMarkers::setTripMapMarkers()
{
    auto first = std::make_shared<First>();
    const std::shared_ptr<CardData> card = _parts.card();
    for (size_t i = 0; i < card->_tripList_tab.size(); ++i) {
        const ChapterList chapters = card->_tripList_tab[i]->sortedChapters();
        for (size_t j = 0; j < chapters.size(); ++j) {
            ChapterData &chapter = *chapters[j];
            Date date = Date::distantPast();
            int32_t latitude = 0;
            int32_t longitude = 0;
            if (chapter._vmmInfo) {
                date = chapter._vmmInfo->_datetime;
                latitude = chapter._vmmInfo->_latitude;
                longitude = chapter._vmmInfo->_longitude;
            } else if (const std::optional<VideoFrame> frame = firstFrame(chapter, &date)) {
                latitude = frame->_latitude;
                longitude = frame->_longitude;
            }
            const double lat = KmlUtil::degrees(latitude);
            const double lng = KmlUtil::degrees(longitude);
            if (lat == 0.0 && lng == 0.0)
                continue;
            put(QStringLiteral("C%1_%2").arg(i).arg(j),
                MapPoint(lat, lng, balloon(date), MarkerType::NORMAL, static_cast<int>(i),
                         static_cast<int>(j)),
                *first);
        }
    }
    finish(first);
}

void ListMarkers::centerOnFirstMarker(const First &first)
{
    bool &centred = _hooks.centred();
    if (centred || (first.lat == 0.0 && first.lng == 0.0))
        return;
    WebMapView &map = _parts.map;
    const int zoom = _parts.settings.mapZoom;
    map.setCenter(first.lat, first.lng);
    map.setZoom(zoom);
    map.setFlgCar(true);
    map.updateMap();
    map.setZoom(zoom);
    centred = true;
}

void ListMarkers::mapMarkerClicked(const MapPoint &point)
{
    using LT = CommonConst::ListType;
    switch (point.marker) {
    case MarkerType::NORMAL:
        _hooks.selectListItem(LT::TripChapter, point.tripIndex, point.chapterIndex, true);
        return;
    case MarkerType::EVENT:
        if (_hooks.selectRow(LT::Event, point.eventIndex, true) && point.eventIndex >= 0 &&
            point.eventIndex < static_cast<int>(_parts.list.eventList().size()))
            _hooks.playEventItem(point.eventIndex, true);
        return;
    case MarkerType::SURVEILLANCE:
        if (point.eventIndex >= 0 &&
            point.eventIndex < static_cast<int>(_parts.list.surveillanceList().size()))
            _hooks.playSurveillanceItem(point.eventIndex, true);
        return;
    default:
        return;
    }
}
