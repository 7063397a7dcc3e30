#include "maintenance/BackupSizeText.h"

#include <QLocale>

namespace {
constexpr std::int64_t kMegabyte = 1048576;
}

QString BackupSizeText::backupText(std::int64_t bytes)
{
    if (bytes < 0)
        return {};
    // Integer arithmetic: tenths = round(bytes * 10 / 2^20), halves up (counts are never negative here).
    const std::int64_t tenths =
        (bytes / kMegabyte) * 10 + ((bytes % kMegabyte) * 10 + kMegabyte / 2) / kMegabyte;
    return formatTenths(tenths);
}

QString BackupSizeText::cleanupText(std::int64_t bytes)
{
    if (bytes < 0)
        return {};
    const std::int64_t hundredths = (bytes / kMegabyte) * 100 + ((bytes % kMegabyte) * 100) / kMegabyte;
    std::int64_t tenths = hundredths / 10;
    const std::int64_t rest = hundredths % 10;
    if (rest > 5 || (rest == 5 && tenths % 2 == 1))
        ++tenths;
    return formatTenths(tenths);
}

QString BackupSizeText::formatTenths(std::int64_t tenths)
{
    QString whole = QString::number(tenths / 10);
    for (qsizetype at = whole.size() - 3; at > 0; at -= 3)
        whole.insert(at, u',');
    return whole + QLocale().decimalPoint() + QString::number(tenths % 10) + QStringLiteral(" MB");
}
