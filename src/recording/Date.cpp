#include "recording/Date.h"

#include <QTimeZone>

namespace {

QString padded(qint64 value, int width)
{
    const bool negative = value < 0;
    QString digits = QString::number(negative ? -value : value).rightJustified(width, QLatin1Char('0'));
    return negative ? QLatin1Char('-') + digits : digits;
}

const char *const MONTHS_SHORT[] = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                    "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
const char *const MONTHS_LONG[] = {"January", "February", "March",     "April",   "May",      "June",
                                   "July",    "August",   "September", "October", "November", "December"};
const char *const DAYS_SHORT[] = {"Mon", "Tue", "Wed", "Thu", "Fri", "Sat", "Sun"};
const char *const DAYS_LONG[] = {"Monday", "Tuesday",  "Wednesday", "Thursday",
                                 "Friday", "Saturday", "Sunday"};

QString field(QChar letter, int count, const QDate &date, const QTime &time)
{
    switch (letter.unicode()) {
    case 'y':
    case 'u':
        if (count == 2)
            return padded(date.year() % 100, 2);
        return padded(date.year(), count);
    case 'M':
    case 'L':
        if (count >= 4)
            return QString::fromLatin1(MONTHS_LONG[date.month() - 1]);
        if (count == 3)
            return QString::fromLatin1(MONTHS_SHORT[date.month() - 1]);
        return padded(date.month(), count);
    case 'd':
        return padded(date.day(), count);
    case 'E':
        return QString::fromLatin1(count >= 4 ? DAYS_LONG[date.dayOfWeek() - 1]
                                              : DAYS_SHORT[date.dayOfWeek() - 1]);
    case 'H':
        return padded(time.hour(), count);
    case 'k':
        return padded(time.hour() == 0 ? 24 : time.hour(), count);
    case 'h': {
        const int hour = time.hour() % 12;
        return padded(hour == 0 ? 12 : hour, count);
    }
    case 'K':
        return padded(time.hour() % 12, count);
    case 'm':
        return padded(time.minute(), count);
    case 's':
        return padded(time.second(), count);
    case 'S': {
        // Fractions are cut, not rounded, as the platform formatter does.
        QString millis = padded(time.msec(), 3);
        return count <= 3 ? millis.left(count) : millis + QString(count - 3, QLatin1Char('0'));
    }
    case 'a':
        return time.hour() < 12 ? QStringLiteral("AM") : QStringLiteral("PM");
    default:
        return QString(count, letter);
    }
}

// Zone database entries that some systems only ship as "legacy" links, and the one id that names no zone
// at all ("CST", which would otherwise fall back to a wrong zone without a word).
const char *const ZONE_ALIASES[][2] = {
    {"CST", "America/Chicago"},
    {"Canada/Eastern", "America/Toronto"},
    {"Canada/Mountain", "America/Edmonton"},
    {"Canada/Pacific", "America/Vancouver"},
    {"US/Alaska", "America/Anchorage"},
};

} // namespace

Date Date::now()
{
    return Date(QDateTime::currentMSecsSinceEpoch());
}

Date Date::fromDateTime(const QDateTime &dateTime)
{
    if (!dateTime.isValid())
        return distantPast();
    return Date(dateTime.toMSecsSinceEpoch());
}

std::optional<Date> Date::fromCompactText(const QString &text, const QTimeZone &zone)
{
    if (text.size() != 14)
        return std::nullopt;
    for (QChar c : text) {
        if (!c.isDigit() || c.unicode() > 127)
            return std::nullopt;
    }
    const QDate date = QDate::fromString(text.left(8), QStringLiteral("yyyyMMdd"));
    const QTime time = QTime::fromString(text.mid(8), QStringLiteral("HHmmss"));
    if (!date.isValid() || !time.isValid())
        return std::nullopt;
    const QDateTime dateTime(date, time, zone);
    if (!dateTime.isValid())
        return std::nullopt;
    return fromDateTime(dateTime);
}

QDateTime Date::toDateTime() const
{
    return QDateTime::fromMSecsSinceEpoch(_msecs, Qt::UTC);
}

QString Date::toCompactText(const QTimeZone &zone) const
{
    return toString(QString::fromLatin1(COMPACT_FORMAT), zone);
}

QTimeZone Date::resolveTimeZone(const QString &identifier)
{
    const QByteArray id = identifier.toUtf8();
    if (QTimeZone::isTimeZoneIdAvailable(id)) {
        QTimeZone zone(id);
        if (zone.isValid())
            return zone;
    }
    for (const auto &alias : ZONE_ALIASES) {
        if (id == alias[0]) {
            QTimeZone zone(alias[1]);
            if (zone.isValid())
                return zone;
        }
    }
    return QTimeZone::systemTimeZone();
}

QString Date::formatPattern(const QString &format, const QDateTime &wallClock)
{
    const QDate date = wallClock.date();
    const QTime time = wallClock.time();
    QString out;
    out.reserve(format.size() + 8);
    for (qsizetype i = 0; i < format.size();) {
        const QChar c = format.at(i);
        if (c == QLatin1Char('\'')) {
            // Quoted literal; '' is a single quote.
            if (i + 1 < format.size() && format.at(i + 1) == QLatin1Char('\'')) {
                out += QLatin1Char('\'');
                i += 2;
                continue;
            }
            ++i;
            while (i < format.size()) {
                if (format.at(i) == QLatin1Char('\'')) {
                    if (i + 1 < format.size() && format.at(i + 1) == QLatin1Char('\'')) {
                        out += QLatin1Char('\'');
                        i += 2;
                        continue;
                    }
                    ++i;
                    break;
                }
                out += format.at(i++);
            }
            continue;
        }
        if ((c >= QLatin1Char('a') && c <= QLatin1Char('z')) ||
            (c >= QLatin1Char('A') && c <= QLatin1Char('Z'))) {
            qsizetype run = 1;
            while (i + run < format.size() && format.at(i + run) == c)
                ++run;
            out += field(c, int(run), date, time);
            i += run;
            continue;
        }
        out += c;
        ++i;
    }
    return out;
}

QString Date::toString(const QString &format, const QTimeZone &zone) const
{
    const QDateTime utc = toDateTime();
    const int offset = zone.isValid() ? zone.offsetFromUtc(utc) : 0;
    return formatPattern(format, QDateTime::fromMSecsSinceEpoch(_msecs + qint64(offset) * 1000, Qt::UTC));
}

QString Date::toString(const QString &format, const QString &timeZone, bool summerTimeFlg) const
{
    return toString(format, resolveTimeZone(timeZone), summerTimeFlg);
}

QString Date::toString(const QString &format, const QTimeZone &zone, bool summerTimeFlg) const
{
    const QDateTime utc = toDateTime();
    // Without summer time the zone's standard offset is used directly: taking the daylight-saving offset
    // off an instant and formatting the result in the zone shows a wrong hour near the changes.
    const int offset = summerTimeFlg ? zone.offsetFromUtc(utc) : zone.standardTimeOffset(utc);
    return formatPattern(format, QDateTime::fromMSecsSinceEpoch(_msecs + qint64(offset) * 1000, Qt::UTC));
}
