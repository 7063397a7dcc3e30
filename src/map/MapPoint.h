// A point on the map page: the car, one route point or one marker of the lists, in degrees.
#pragma once

#include "recording/IconId.h"

#include <QString>

// Kinds of marker; the page receives the raw value + 1.
enum class MarkerType : int
{
    NORMAL = 0,
    EVENT = 1,
    SURVEILLANCE = 2,
    ADVENTURE = 3,
};

// One point of the route: only where it is, since a long trip has millions.
struct RoutePoint
{
    double lat = 0;
    double lng = 0;
};

class MapPoint
{
public:
    MapPoint() = default;
    MapPoint(double lat, double lng);
    // Event and surveillance markers.
    MapPoint(double lat, double lng, const QString &msg, MarkerType marker, int eventIndex);
    // Trip chapter and adventure markers.
    MapPoint(double lat, double lng, const QString &msg, MarkerType marker, int tripIndex, int chapterIndex);

    // Back to all defaults, so a later car drawing is never taken for an unchanged one.
    void clear();

    // The code the map page picks its image by.
    static qint64 iconCode(IconId icon);

    double lat = 0;
    double lng = 0;
    IconId icon = IconId::None;
    bool isGps = false;
    QString msg;
    MarkerType marker = MarkerType::NORMAL;
    int tripIndex = -1;    // in the trip list
    int chapterIndex = -1; // in the trip's sorted chapter list
    int eventIndex = -1;   // in the event or surveillance list
};
