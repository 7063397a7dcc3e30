// The map markers of the lists: one per event, surveillance recording and trip chapter that has a
// position, with its date as the balloon; the map centred once per opened card on the first of them;
// and a clicked marker played through the main window's list operations.
#pragma once

#include "recording/CommonConst.h"
#include "recording/Date.h"

#include <functional>
#include <memory>

class CardData;
class MapPoint;
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
    void mapMarkerClicked(const MapPoint &point);

private:
    struct First
    {
        double lat = 0.0;
        double lng = 0.0;
    };
    QString balloon(const Date &date) const;
    void put(const QString &key, const MapPoint &point, First &first);
    void finish(const std::shared_ptr<First> &first);
    void centerOnFirstMarker(const First &first);

    Parts _parts;
    Hooks _hooks;
};
