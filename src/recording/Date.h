// An absolute instant (UTC), millisecond resolution, with the distant past and future that stand for "no
// date".
#pragma once

#include <QDateTime>
#include <QString>
#include <compare>
#include <cstdint>
#include <optional>

class QTimeZone;

class Date
{
public:
    // 0001-01-01 00:00:00 UTC and 4001-01-01 00:00:00 UTC, the platform's conventional bounds.
    static constexpr std::int64_t DISTANT_PAST_MS = -62135596800000LL;
    static constexpr std::int64_t DISTANT_FUTURE_MS = 64092211200000LL;
    // Pattern of dates written as text in records and folder names.
    static constexpr const char *COMPACT_FORMAT = "yyyyMMddHHmmss";

    // A default-made date is the distant past, the value every record uses for "no date".
    constexpr Date() = default;

    static constexpr Date distantPast() { return Date(DISTANT_PAST_MS); }
    static constexpr Date distantFuture() { return Date(DISTANT_FUTURE_MS); }
    static Date now();
    static constexpr Date fromUnixMilliseconds(std::int64_t milliseconds) { return Date(milliseconds); }
    static constexpr Date fromUnixSeconds(std::int64_t seconds) { return Date(seconds * 1000); }
    // An invalid QDateTime gives the distant past.
    static Date fromDateTime(const QDateTime &dateTime);
    // Parses "yyyyMMddHHmmss" read as wall-clock time in the zone; none when the text is not such a time.
    static std::optional<Date> fromCompactText(const QString &text, const QTimeZone &zone);

    constexpr std::int64_t toUnixMilliseconds() const { return _msecs; }
    // Whole seconds, rounded toward negative infinity.
    constexpr std::int64_t toUnixSeconds() const
    {
        return _msecs >= 0 ? _msecs / 1000 : -((-_msecs + 999) / 1000);
    }
    QDateTime toDateTime() const;
    QString toCompactText(const QTimeZone &zone) const;

    constexpr bool isDistantPast() const { return _msecs == DISTANT_PAST_MS; }
    constexpr bool isDistantFuture() const { return _msecs == DISTANT_FUTURE_MS; }

    constexpr Date addingMilliseconds(std::int64_t milliseconds) const { return Date(_msecs + milliseconds); }
    constexpr Date addingSeconds(std::int64_t seconds) const { return Date(_msecs + seconds * 1000); }
    // This instant minus the other, in milliseconds.
    constexpr std::int64_t millisecondsSince(const Date &other) const { return _msecs - other._msecs; }

    // Formats with a Unicode date pattern ("yyyy.MM.dd hh:mm:ss a") in the zone of the identifier; AM/PM are
    // always "AM"/"PM". With summerTimeFlg false the zone's standard time is shown all year round. An
    // identifier the zone database does not know gives the system's zone.
    QString toString(const QString &format, const QString &timeZone, bool summerTimeFlg) const;
    // The same in a zone resolved once (resolveTimeZone) for many dates.
    QString toString(const QString &format, const QTimeZone &zone, bool summerTimeFlg) const;
    // Formats with a Unicode date pattern in the given zone, daylight saving included.
    QString toString(const QString &format, const QTimeZone &zone) const;

    // The zone an identifier names: legacy ids missing from the zone database are mapped to the zone they
    // mean ("CST" to "America/Chicago", "Canada/Pacific" to "America/Vancouver"...); unknown ids give the
    // system's zone.
    static QTimeZone resolveTimeZone(const QString &identifier);
    // Applies a Unicode date pattern to wall-clock fields (no zone arithmetic).
    static QString formatPattern(const QString &format, const QDateTime &wallClock);

    constexpr auto operator<=>(const Date &) const = default;
    constexpr bool operator==(const Date &) const = default;

private:
    constexpr explicit Date(std::int64_t msecs) : _msecs(msecs) {}

    std::int64_t _msecs = DISTANT_PAST_MS;
};
