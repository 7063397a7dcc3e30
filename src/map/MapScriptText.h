// Builds the script texts the map page understands: numbers written the way the page's callers
// expect them and strings escaped so that no argument can break out of its quotes.
#pragma once

#include <QString>

#include <span>

struct RoutePoint;

class MapScriptText
{
public:
    // Shortest text that reads back to the same value, always with a fractional digit
    // ("12.0"), in exponent form below 1e-4 in magnitude ("1e-05").
    static QString number(double value);
    // A JSON string literal, quotes included.
    static QString string(const QString &text);
    static QString boolean(bool value) { return value ? QStringLiteral("true") : QStringLiteral("false"); }

    static QString movePosition(double lat, double lng);
    static QString setCenter(double lat, double lng);
    static QString setZoom(int zoom);
    static QString setMapTypeId(const QString &id);
    static QString setDispBalloon(bool show);
    static QString setLanguage(int language);
    static QString drawMyCar(double lat, double lng, qint64 iconCode, bool isGps);
    static QString addMarker(const QString &key, double lat, double lng, const QString &text, int kind);
    struct Marker
    {
        QString key;
        double lat = 0.0;
        double lng = 0.0;
        QString text;
        int kind = 0;
    };
    // Many markers in one call: "addMarkers([[key,lat,lng,text,kind],...])".
    static QString addMarkers(std::span<const Marker> markers);
    static QString addPolyPoint(double lat, double lng);
    // Many route points in one call: "addPolyPoints([[lat,lng],...])".
    static QString addPolyPoints(std::span<const RoutePoint> points);
    // The same packed, for long routes, the page taking the numbers without reading their text. Points in
    // whole millionths of a degree (the route's): "addPackedPolyPoints(\"<base64>\",1)", the base64 of
    // each point's latitude and longitude in millionths, each the step from the one before (the first
    // from 0) as a zigzag LEB128 number: some 3 to 6 characters a point. Others:
    // "addPackedPolyPoints(\"<base64>\")", of little-endian 64-bit numbers, some 21 characters a point.
    static QString addPackedPolyPoints(std::span<const RoutePoint> points);
};
