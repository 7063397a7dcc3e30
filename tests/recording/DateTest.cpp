#include "recording/Date.h"
#include "recording/DateFormatTypeUtil.h"
#include "recording/RecordingRead.h"
#include <QLocale>
#include <QTimeZone>

namespace {

const QString ISO = QStringLiteral("yyyy.MM.dd HH:mm:ss");

QString show(const Date &date, int zoneSetting, bool summer)
{
    return date.toString(ISO, DateFormatTypeUtil::timeZoneIdentifier(zoneSetting), summer);
}

} // namespace

TEST(DateTest, InstantsConversionsPatternsAndAmPmWhateverTheLocale)
{
    EXPECT_LT(Date::distantPast(), Date::fromUnixSeconds(0));
    EXPECT_LT(Date::fromUnixSeconds(4294967295LL), Date::distantFuture());
    const Date date = utc(2019, 12, 31, 23, 59, 59);
    EXPECT_EQ(date.toUnixSeconds(), 1577836799);
    EXPECT_EQ(Date::fromDateTime(date.toDateTime()), date);
    EXPECT_EQ(Date::fromUnixMilliseconds(-1).toUnixSeconds(), -1);
    EXPECT_EQ(Date::fromDateTime(QDateTime()), Date::distantPast());

    const QTimeZone chicago("America/Chicago");
    EXPECT_EQ(utc(2019, 7, 1, 12, 0, 5).toCompactText(chicago), QStringLiteral("20190701070005"));
    EXPECT_EQ(Date::fromCompactText(QStringLiteral("20190701070005"), chicago), utc(2019, 7, 1, 12, 0, 5));
    for (const char *bad : {"2019070107000", "20191301070005", "2019070107000x"})
        EXPECT_FALSE(Date::fromCompactText(QString::fromLatin1(bad), chicago)) << bad;

    const QLocale saved;
    QLocale::setDefault(QLocale(QLocale::Japanese, QLocale::Japan));
    const QTimeZone utcZone = QTimeZone::utc();
    for (const auto &[hour, shown] : {std::pair{13, "07.01.2019 01:05:09 PM"},
                                      {0, "07.01.2019 12:05:09 AM"},
                                      {12, "07.01.2019 12:05:09 PM"}})
        EXPECT_EQ(utc(2019, 7, 1, hour, 5, 9).toString(QStringLiteral("MM.dd.yyyy hh:mm:ss a"), utcZone),
                  QString::fromLatin1(shown));
    EXPECT_EQ(utc(2019, 7, 1, 13, 5, 9)
                  .toString(QStringLiteral("MM.dd.yyyy hh:mm:ss a"), QStringLiteral("UTC"), false),
              QStringLiteral("07.01.2019 01:05:09 PM"));
    QLocale::setDefault(saved);

    const Date withMs = Date::fromUnixMilliseconds(utc(2024, 5, 1, 2, 3, 4).toUnixMilliseconds() + 56);
    EXPECT_EQ(withMs.toString(QStringLiteral("yyyy-MM-dd'T'HH:mm:ss.SSS'Z'"), utcZone),
              QStringLiteral("2024-05-01T02:03:04.056Z"));
    EXPECT_EQ(withMs.toString(QStringLiteral("yy/M/d H 'o''clock' EEE MMM"), utcZone),
              QStringLiteral("24/5/1 2 o'clock Wed May"));
}

TEST(DateTest, EightZonesWithAndWithoutSummerTime)
{
    // Summer time applies in July only when asked for; Honolulu has none.
    const char *summer[] = {"09:30", "09:00", "08:00", "07:00", "06:00", "05:00", "04:00", "02:00"};
    const char *standard[] = {"08:30", "08:00", "07:00", "06:00", "05:00", "04:00", "03:00", "02:00"};
    for (int zone = 0; zone < 8; ++zone) {
        SCOPED_TRACE(zone);
        EXPECT_EQ(show(utc(2019, 7, 1, 12, 0), zone, true),
                  QStringLiteral("2019.07.01 %1:00").arg(summer[zone]));
        EXPECT_EQ(show(utc(2019, 7, 1, 12, 0), zone, false),
                  QStringLiteral("2019.07.01 %1:00").arg(standard[zone]));
        for (const bool flag : {true, false})
            EXPECT_EQ(show(utc(2019, 1, 15, 12, 0), zone, flag),
                      QStringLiteral("2019.01.15 %1:00").arg(standard[zone]));
    }
    // Settings outside the list are the first zone; "CST" is Chicago, not a fixed offset.
    EXPECT_EQ(DateFormatTypeUtil::timeZoneIdentifier(9), QStringLiteral("America/St_Johns"));
    EXPECT_EQ(DateFormatTypeUtil::timeZoneIdentifier(-1), QStringLiteral("America/St_Johns"));
    EXPECT_EQ(utc(2019, 7, 1, 12, 0).toString(ISO, QStringLiteral("CST"), true),
              QStringLiteral("2019.07.01 07:00:00"));

    // An identifier the zone database does not know shows the system's zone.
    const Date date = utc(2019, 7, 1, 12, 0);
    EXPECT_EQ(date.toString(ISO, QStringLiteral("Nowhere/Zone"), true),
              date.toString(ISO, QTimeZone::systemTimeZone()));
    EXPECT_EQ(Date::resolveTimeZone(QStringLiteral("Canada/Pacific")).offsetFromUtc(date.toDateTime()),
              -7 * 3600);
}

TEST(DateTest, SummerTimeOffShowsStandardTimeAcrossTheChanges)
{
    // Chicago springs forward at 2019-03-10 08:00 UTC and falls back at 2019-11-03 07:00 UTC;
    // Newfoundland's half-hour zone springs forward at 2019-03-10 05:30 UTC.
    // (UTC month, day, hour, minute; zone; summer time; shown)
    const std::tuple<int, int, int, int, int, bool, const char *> changes[] = {
        {3, 10, 7, 30, 3, false, "03.10 01:30"}, {3, 10, 8, 30, 3, false, "03.10 02:30"},
        {3, 10, 8, 30, 3, true, "03.10 03:30"},  {3, 10, 9, 30, 3, false, "03.10 03:30"},
        {11, 3, 6, 30, 3, false, "11.03 00:30"}, {11, 3, 6, 30, 3, true, "11.03 01:30"},
        {11, 3, 7, 30, 3, false, "11.03 01:30"}, {11, 3, 7, 30, 3, true, "11.03 01:30"},
        {3, 10, 5, 0, 0, false, "03.10 01:30"},  {3, 10, 6, 0, 0, false, "03.10 02:30"},
        {3, 10, 6, 0, 0, true, "03.10 03:30"},
    };
    for (const auto &[month, day, hour, minute, zone, summer, shown] : changes) {
        const Date date = utc(2019, month, day, hour, minute);
        EXPECT_EQ(show(date, zone, summer), QStringLiteral("2019.%1:00").arg(shown))
            << date.toUnixSeconds() << " " << zone << " " << summer;
    }
}
