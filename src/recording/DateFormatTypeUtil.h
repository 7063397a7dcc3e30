// The date patterns of each date-format setting, and the eight time zones of the time-zone setting.
#pragma once

#include "recording/DateFormatType.h"

#include <QString>
#include <QStringList>
#include <map>
#include <optional>

// Patterns use Unicode date symbols ("hh" 12-hour, "HH" 24-hour, "a" AM/PM) for Date::toString. Every
// table holds all four types; format() gives none for a type missing from a table.
class DateFormatTypeUtil
{
public:
    DateFormatTypeUtil() = delete;

    using Table = std::map<DateFormatType, QString>;

    // One line, dotted: the player, map lists, backup and delete dialogs.
    static const Table &dateTimeFormats();
    // Time of day only: the driving-data panel.
    static const Table &timeFormats();
    // Date, one line feed, time: the recording list.
    static const Table &twoLineFormats();
    // Shown by the player instead of a time when there is none.
    static const Table &noDateTexts();
    // Hyphenated: map exports.
    static const Table &hyphenFormats();
    // Subtitles burned into exported clips.
    static const Table &subtitleFormats();

    // The names other parts of the program use for the same tables.
    static const Table &displayFormats() { return dateTimeFormats(); }
    static const Table &listFormats() { return twoLineFormats(); }
    static const Table &exportFormats() { return hyphenFormats(); }

    static std::optional<QString> format(const Table &table, DateFormatType type);

    // The settings dialog's labels of the four date formats, in raw-value order.
    static const QStringList &dateFormatLabels();

    static constexpr int TIME_ZONE_COUNT = 8;
    static constexpr int DEFAULT_TIME_ZONE = 5;
    // Zone identifier of a time-zone setting 0...7; any other setting gives "America/St_Johns". Setting 3
    // (Central) is "America/Chicago": the camera software's "CST" names no zone in the zone database.
    static QString timeZoneIdentifier(int setting);
    // The settings dialog's labels of the eight zones ("NST-Newfoundland" ... "HAST-Hawaii").
    static const QStringList &timeZoneLabels();
};
