// Turns the KML document tree into its text, and the small pieces the route documents share: date
// texts, the view fitted to a track and the point placemark of one recorded position.
#pragma once

#include "map/XmlData.h"

#include <cstdint>
#include <optional>

class QIODevice;
class UserDefaultUtil;

// How the viewer shows dates: the export date format and the zone and summer time of the settings.
struct KmlDateSettings
{
    QString kmlDisplayDateFormat; // one of DateFormatTypeUtil::exportFormats
    QString timeZone;             // zone identifier of the TimeZone setting
    bool summerTime = false;

    // None when the DateFormat setting has no export format.
    static std::optional<KmlDateSettings> fromSettings(const UserDefaultUtil &settings);
};

class KmlUtil
{
public:
    KmlUtil() = delete;

    // Host of the "track-directional" icons the style block refers to.
    static constexpr const char *ICON_HOST = "earth.google.com";

    // The whole document. Sets the document's LookAt to the first track's fitted view when it has
    // none, so writing the same tree twice gives the same text.
    static QString kmlText(XmlData &document);
    // The same text, UTF-8, written out piece by piece: a long track never stands whole in memory as
    // text. False when the device refused a write.
    static bool writeKml(XmlData &document, QIODevice &out);
    // One LookAt element without a line end; empty for none.
    static QString lookAtText(const std::optional<LookAtData> &lookAt);
    // The instant in UTC, as KML time elements expect ("2024-05-01T12:30:05Z").
    static QString kmlDateText(const Date &date);
    // The date as the viewer shows it.
    static QString kmlDisplayDateText(const Date &date, const KmlDateSettings &settings);
    static LookAtData fitLookAt(const std::vector<TrackData> &tracks);
    // The view of a placemark's samples, TrackList's then PackedTrackList's.
    static LookAtData fitLookAt(const PlacemarkData &placemark);
    // None when either raw coordinate is 0.
    static std::optional<PlacemarkData> makeFramePlacemark(const Date &date, std::int32_t longitude,
                                                           std::int32_t latitude,
                                                           const KmlDateSettings &settings);

    // 1/36000 degree to degrees with six decimals, halves away from zero.
    static double degrees(std::int32_t value);
    // Character data and attribute values: & < > " ' as entities; characters XML cannot carry as U+FFFD.
    static QString escapeText(const QString &text);
    // The document skeleton with its four slots "{0}" to "{3}".
    static QString templateText();
    // The 18 styles every document carries.
    static QString styleBlock(const QString &iconHost = QString::fromLatin1(ICON_HOST));
};
