#include "app/ListMarkers.h"

#include "app/VideoListModel.h"
#include "card/CardData.h"
#include "card/ChapterData.h"
#include "card/ChapterOutline.h"
#include "card/MoveProtectInfo.h"
#include "card/TripData.h"
#include "card/VrecMoveManagerInfo.h"
#include "map/KmlUtil.h"
#include "map/MapPoint.h"
#include "map/WebMapView.h"
#include "recording/DateFormatTypeUtil.h"
#include "recording/UserDefaultUtil.h"

ListMarkers::ListMarkers(Parts parts, Hooks hooks) : _parts(std::move(parts)), _hooks(std::move(hooks)) {}

QString ListMarkers::balloon(const Date &date) const
{
    const UserDefaultUtil &settings = _parts.settings;
    const auto format = DateFormatTypeUtil::format(DateFormatTypeUtil::displayFormats(), settings.dateFormat);
    // A full card has thousands of markers: the zone is looked up once for all of them.
    const QString zone = DateFormatTypeUtil::timeZoneIdentifier(settings.timeZone);
    if (!_zone || _zone->first != zone)
        _zone = std::pair(zone, Date::resolveTimeZone(zone));
    return date.toString(format.value_or(QString()), _zone->second, settings.summerTime);
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

bool ListMarkers::putAtFirstFrame(const ChapterData &chapter, const Waiting &marker, First &first)
{
    const std::shared_ptr<const ChapterOutline> outline = chapter.outline();
    if (!outline)
        return false;
    const double lat = KmlUtil::degrees(outline->first.latitude);
    const double lng = KmlUtil::degrees(outline->first.longitude);
    if (lat == 0.0 && lng == 0.0)
        return true;
    const QString text = balloon(marker.date.value_or(outline->firstTime));
    put(marker.key,
        marker.marker == MarkerType::NORMAL
            ? MapPoint(lat, lng, text, marker.marker, marker.index, marker.chapterIndex)
            : MapPoint(lat, lng, text, marker.marker, marker.index),
        first);
    return true;
}

void ListMarkers::forgetWaiting(MarkerType marker)
{
    std::erase_if(_waiting, [marker](const auto &entry) { return entry.second.marker == marker; });
}

void ListMarkers::setSurveillanceMapMarkers()
{
    forgetWaiting(MarkerType::SURVEILLANCE);
    auto first = std::make_shared<First>();
    const auto &records = _parts.list.surveillanceList();
    for (size_t i = 0; i < records.size(); ++i) {
        const MoveProtectInfo &record = *records[i];
        // Each record's own position: one without a readable first frame gets no marker, rather than
        // the previous record's.
        const std::shared_ptr<ChapterData> chapter = record.eventChapter();
        if (!chapter)
            continue;
        Waiting marker{
            chapter,         QStringLiteral("S%1").arg(i), MarkerType::SURVEILLANCE, static_cast<int>(i), -1,
            record._datetime};
        if (!putAtFirstFrame(*chapter, marker, *first))
            _waiting.emplace(chapter.get(), std::move(marker));
    }
    finish(first);
}

void ListMarkers::setTripMapMarkers()
{
    forgetWaiting(MarkerType::NORMAL);
    auto first = std::make_shared<First>();
    const std::shared_ptr<CardData> card = _parts.card();
    for (size_t i = 0; i < card->_tripList_tab.size(); ++i) {
        const ChapterList chapters = card->_tripList_tab[i]->sortedChapters();
        for (size_t j = 0; j < chapters.size(); ++j) {
            const std::shared_ptr<ChapterData> &chapter = chapters[j];
            const QString key = QStringLiteral("C%1_%2").arg(i).arg(j);
            if (!chapter->_vmmInfo) {
                Waiting marker{chapter,     key, MarkerType::NORMAL, static_cast<int>(i), static_cast<int>(j),
                               std::nullopt};
                if (!putAtFirstFrame(*chapter, marker, *first))
                    _waiting.emplace(chapter.get(), std::move(marker));
                continue;
            }
            const VrecMoveManagerInfo &record = *chapter->_vmmInfo;
            const double lat = KmlUtil::degrees(record._latitude);
            const double lng = KmlUtil::degrees(record._longitude);
            if (lat == 0.0 && lng == 0.0)
                continue;
            put(key,
                MapPoint(lat, lng, balloon(record._datetime), MarkerType::NORMAL, static_cast<int>(i),
                         static_cast<int>(j)),
                *first);
        }
    }
    finish(first);
}

void ListMarkers::chapterRead(const ChapterData &chapter)
{
    auto [from, to] = _waiting.equal_range(&chapter);
    if (from == to)
        return;
    First first;
    bool put = false;
    for (auto it = from; it != to;) {
        // A chapter of a card closed since may have left its address to this one.
        if (it->second.chapter.lock().get() != &chapter) {
            it = _waiting.erase(it);
            continue;
        }
        if (!putAtFirstFrame(chapter, it->second, first)) {
            ++it;
            continue;
        }
        put = true;
        if (_parts.map.markerListDraws() != _listDrawsAtPut) {
            _undrawn.clear();
            _listDrawsAtPut = _parts.map.markerListDraws();
        }
        _undrawn.push_back(it->second.key);
        it = _waiting.erase(it);
    }
    if (!put)
        return;
    _drawing.request();
    centerOnFirstMarker(first);
}

void ListMarkers::drawPut()
{
    if (_parts.map.markerListDraws() == _listDrawsAtPut)
        _parts.map.drawMarkers(_undrawn);
    _undrawn.clear();
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
