// The KML document tree the route documents fill and KmlUtil writes: plain data, no behaviour.
#pragma once

#include "recording/Date.h"

#include <QString>
#include <cstdint>
#include <deque>
#include <optional>
#include <vector>

// The node types of one tree live together: none has behaviour of its own. An empty list and a
// list that was never made mean the same to the writer, so lists are plain vectors.

struct TimeSpanData
{
    std::optional<Date> Begin;
    std::optional<Date> End;
};

struct LookAtData
{
    enum class StructAltitudeMode
    {
        clampToGround,
        relativeToGround,
        absolute
    };
    static QString rawValue(StructAltitudeMode mode)
    {
        switch (mode) {
        case StructAltitudeMode::relativeToGround:
            return QStringLiteral("relativeToGround");
        case StructAltitudeMode::absolute:
            return QStringLiteral("absolute");
        case StructAltitudeMode::clampToGround:
            break;
        }
        return QStringLiteral("clampToGround");
    }
    // None for any text but the three raw values.
    static std::optional<StructAltitudeMode> fromRawValue(const QString &text)
    {
        for (auto mode : {StructAltitudeMode::clampToGround, StructAltitudeMode::relativeToGround,
                          StructAltitudeMode::absolute}) {
            if (rawValue(mode) == text)
                return mode;
        }
        return std::nullopt;
    }

    std::optional<TimeSpanData> TimeStan; // (sic) the time span the view shows
    std::optional<Date> TimeStamp;
    // Degrees (east and north positive), metres, degrees, degrees, metres.
    std::optional<double> Longitude;
    std::optional<double> Latitude;
    std::optional<double> Altitude;
    std::optional<double> Heading;
    std::optional<double> Tilt;
    std::optional<double> Range;
    StructAltitudeMode AltitudeMode = StructAltitudeMode::clampToGround;
};

// One gx:Track sample.
struct TrackData
{
    std::optional<Date> When;
    double Longitude = 0.0;
    double Latitude = 0.0;
    double Altitude = 0.0;
};

// A Point.
struct CoordinatesData
{
    double Longitude = 0.0;
    double Latitude = 0.0;
    double Altitude = 0.0;
};

// A long gx:Track kept small (a trip's): each sample's time and its position in the recording's
// 1/36,000 degrees, written as a TrackData of KmlUtil::degrees of them would be. Held in blocks, so that
// growing it never copies what it holds.
struct PackedTrackSample
{
    Date When;
    std::int32_t Longitude = 0;
    std::int32_t Latitude = 0;
};
using PackedTrack = std::deque<PackedTrackSample>;

struct PlacemarkData
{
    QString Name;
    QString StyleUrl;
    std::vector<TrackData> TrackList;
    QString Description;         // written inside CDATA, so it may carry markup ("<br>")
    std::optional<CoordinatesData> Coordinates;
    std::optional<LookAtData> LookAt;
    PackedTrack PackedTrackList; // written after TrackList's samples, where a placemark has both
};

struct FolderData
{
    QString Name;
    std::vector<PlacemarkData> PlacemarkList;
};

struct XmlData
{
    QString Name;
    std::optional<LookAtData> LookAt; // fitted to the first track by the writer when absent
    std::vector<FolderData> FolderList;
};
