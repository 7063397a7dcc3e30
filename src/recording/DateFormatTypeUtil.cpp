#include "recording/DateFormatTypeUtil.h"

namespace {

DateFormatTypeUtil::Table makeTable(const char *mdyAmPm, const char *mdy24, const char *ymdAmPm,
                                    const char *ymd24)
{
    return {{DateFormatType::MDYAMPM, QString::fromLatin1(mdyAmPm)},
            {DateFormatType::MDY24H, QString::fromLatin1(mdy24)},
            {DateFormatType::YMDAMPM, QString::fromLatin1(ymdAmPm)},
            {DateFormatType::YMD24H, QString::fromLatin1(ymd24)}};
}

} // namespace

const DateFormatTypeUtil::Table &DateFormatTypeUtil::dateTimeFormats()
{
    static const Table table = makeTable("MM.dd.yyyy hh:mm:ss a", "MM.dd.yyyy HH:mm:ss",
                                         "yyyy.MM.dd hh:mm:ss a", "yyyy.MM.dd HH:mm:ss");
    return table;
}

const DateFormatTypeUtil::Table &DateFormatTypeUtil::timeFormats()
{
    static const Table table = makeTable("hh:mm:ss", "HH:mm:ss", "hh:mm:ss", "HH:mm:ss");
    return table;
}

const DateFormatTypeUtil::Table &DateFormatTypeUtil::twoLineFormats()
{
    static const Table table = makeTable("MM.dd.yyyy\nhh:mm:ss a", "MM.dd.yyyy\nHH:mm:ss",
                                         "yyyy.MM.dd\nhh:mm:ss a", "yyyy.MM.dd\nHH:mm:ss");
    return table;
}

const DateFormatTypeUtil::Table &DateFormatTypeUtil::noDateTexts()
{
    static const Table table =
        makeTable("--.--.---- --:-- --", "--.--.---- --:--", "----.--.-- --:-- --", "----.--.-- --:--");
    return table;
}

const DateFormatTypeUtil::Table &DateFormatTypeUtil::hyphenFormats()
{
    static const Table table = makeTable("MM-dd-yyyy hh:mm:ss a", "MM-dd-yyyy HH:mm:ss",
                                         "yyyy-MM-dd hh:mm:ss a", "yyyy-MM-dd HH:mm:ss");
    return table;
}

const DateFormatTypeUtil::Table &DateFormatTypeUtil::subtitleFormats()
{
    static const Table table = makeTable("MM.dd.yyyy hh:mm:ss a", "MM.dd.yyyy HH:mm:ss",
                                         "yyyy.MM.dd hh:mm:ss a", "yyyy.MM.dd HH:mm:ss");
    return table;
}

std::optional<QString> DateFormatTypeUtil::format(const Table &table, DateFormatType type)
{
    const auto it = table.find(type);
    if (it == table.end())
        return std::nullopt;
    return it->second;
}

const QStringList &DateFormatTypeUtil::dateFormatLabels()
{
    static const QStringList labels = {
        QStringLiteral("MM/DD/YYYY HH:MM:SS(AM/PM)"), QStringLiteral("MM/DD/YYYY HH:MM:SS(24H)"),
        QStringLiteral("YYYY/MM/DD HH:MM:SS(AM/PM)"), QStringLiteral("YYYY/MM/DD HH:MM:SS(24H)")};
    return labels;
}

QString DateFormatTypeUtil::timeZoneIdentifier(int setting)
{
    switch (setting) {
    case 1:
        return QStringLiteral("Atlantic/Bermuda");
    case 2:
        return QStringLiteral("Canada/Eastern");
    case 3:
        return QStringLiteral("America/Chicago");
    case 4:
        return QStringLiteral("Canada/Mountain");
    case 5:
        return QStringLiteral("Canada/Pacific");
    case 6:
        return QStringLiteral("US/Alaska");
    case 7:
        return QStringLiteral("Pacific/Honolulu");
    default:
        return QStringLiteral("America/St_Johns");
    }
}

const QStringList &DateFormatTypeUtil::timeZoneLabels()
{
    static const QStringList labels = {QStringLiteral("NST-Newfoundland"), QStringLiteral("AST-Atlantic"),
                                       QStringLiteral("EST-Eastern"),      QStringLiteral("CST-Central"),
                                       QStringLiteral("MST-Mountain"),     QStringLiteral("PST-Pacific"),
                                       QStringLiteral("AKST-Alaska"),      QStringLiteral("HAST-Hawaii")};
    return labels;
}
