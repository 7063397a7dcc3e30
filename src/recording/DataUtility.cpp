#include "recording/DataUtility.h"

#include "platform/PlatformError.h"

#include <QDate>
#include <QTime>

#include <cctype>
#include <cstdint>

namespace {

const QString ERROR_DOMAIN = QStringLiteral("Orvalind");

void requireRange(DataUtility::Bytes data, qsizetype offset, qsizetype width)
{
    // A short field is a malformed file, reported like a bad digit.
    if (!DataUtility::inRange(data, offset, width))
        throw PlatformError(ERROR_DOMAIN, 0);
}

std::uint32_t bigEndian(DataUtility::Bytes data, qsizetype offset, int width)
{
    std::uint32_t value = 0;
    for (int i = 0; i < width; ++i)
        value = (value << 8) | data[std::size_t(offset + i)];
    return value;
}

} // namespace

std::uint8_t DataUtility::bcdToInt(std::uint8_t value)
{
    const int high = value >> 4;
    const int low = value & 0x0F;
    if (high >= 10 || low >= 10)
        throw PlatformError(ERROR_DOMAIN, 0);
    return std::uint8_t(high * 10 + low);
}

Date DataUtility::getUnixDate(Bytes data, qsizetype offset)
{
    if (!inRange(data, offset, 4))
        return Date::distantPast();
    return Date::fromUnixSeconds(std::int64_t(bigEndian(data, offset, 4)));
}

std::optional<Date> DataUtility::bcdDate(Bytes data, qsizetype offset)
{
    if (!inRange(data, offset, 6))
        return std::nullopt;
    int values[6];
    for (int i = 0; i < 6; ++i) {
        const std::uint8_t byte = data[std::size_t(offset + i)];
        if (byte >> 4 >= 10 || (byte & 0x0F) >= 10)
            return std::nullopt;
        values[i] = (byte >> 4) * 10 + (byte & 0x0F);
    }
    const QDate date(2000 + values[0], values[1], values[2]);
    const QTime time(values[3], values[4], values[5]);
    if (!date.isValid() || !time.isValid())
        return std::nullopt;
    return Date::fromDateTime(QDateTime(date, time, Qt::UTC));
}

Date DataUtility::getBcdDate(Bytes data, qsizetype offset)
{
    requireRange(data, offset, 6);
    int values[6];
    for (int i = 0; i < 6; ++i)
        values[i] = bcdToInt(data[std::size_t(offset + i)]);
    const int year = 2000 + values[0];
    const QDate date(year, values[1], values[2]);
    const QTime time(values[3], values[4], values[5]);
    if (!date.isValid() || !time.isValid()) {
        const QString description =
            QStringLiteral(
                "BCD日時データの変換に失敗しました。addr:0x%1 year=[%2] mon=[%3] mday=[%4] hour=[%5] "
                "min=[%6] sec=[%7]")
                .arg(QString::number(offset, 16).toUpper().rightJustified(5, QLatin1Char('0')))
                .arg(year)
                .arg(values[1])
                .arg(values[2])
                .arg(values[3])
                .arg(values[4])
                .arg(values[5]);
        throw PlatformError(description, -1);
    }
    return Date::fromDateTime(QDateTime(date, time, Qt::UTC));
}

std::uint32_t DataUtility::getBcdUInt32(Bytes data, qsizetype offset)
{
    requireRange(data, offset, 4);
    std::uint32_t result = 0;
    for (int i = 0; i < 4; ++i)
        result = result * 100 + bcdToInt(data[std::size_t(offset + i)]);
    return result;
}

std::uint16_t DataUtility::getBcdUInt16(Bytes data, qsizetype offset)
{
    requireRange(data, offset, 2);
    const int high = bcdToInt(data[std::size_t(offset)]);
    const int low = bcdToInt(data[std::size_t(offset + 1)]);
    return std::uint16_t(high * 100 + low);
}

std::int16_t DataUtility::getBcdInt16(Bytes data, qsizetype offset)
{
    requireRange(data, offset, 2);
    const std::uint8_t first = data[std::size_t(offset)];
    const int magnitude = bcdToInt(first & 0x7F) * 100 + bcdToInt(data[std::size_t(offset + 1)]);
    return std::int16_t((first & 0x80) ? -magnitude : magnitude);
}

std::uint32_t DataUtility::getUInt32(Bytes data, qsizetype offset)
{
    return inRange(data, offset, 4) ? bigEndian(data, offset, 4) : 0;
}

std::int32_t DataUtility::getUInt24(Bytes data, qsizetype offset)
{
    return inRange(data, offset, 3) ? std::int32_t(bigEndian(data, offset, 3)) : 0;
}

std::uint16_t DataUtility::getUInt16(Bytes data, qsizetype offset)
{
    return inRange(data, offset, 2) ? std::uint16_t(bigEndian(data, offset, 2)) : 0;
}

std::int32_t DataUtility::toUInt32(Bytes data)
{
    if (data.empty() || data.size() > 4)
        return 0;
    return std::int32_t(bigEndian(data, 0, int(data.size())));
}

QString DataUtility::toHexString(Bytes data)
{
    static const char digits[] = "0123456789ABCDEF";
    QString text;
    text.reserve(qsizetype(data.size()) * 2);
    for (std::uint8_t byte : data) {
        text += QLatin1Char(digits[byte >> 4]);
        text += QLatin1Char(digits[byte & 0x0F]);
    }
    return text;
}

QString DataUtility::toHexString(Bytes data, qsizetype offset, qsizetype length)
{
    if (!inRange(data, offset, length))
        return {};
    return toHexString(data.subspan(std::size_t(offset), std::size_t(length)));
}

QByteArray DataUtility::subArray(Bytes data, qsizetype offset, qsizetype length)
{
    if (!inRange(data, offset, length))
        return {};
    return QByteArray(reinterpret_cast<const char *>(data.data()) + offset, length);
}

std::int16_t DataUtility::hexToGValue(const QString &hex)
{
    // Strict base-16 parse: an optional sign and hexadecimal digits only (no "0x", no blanks).
    const qsizetype start = hex.startsWith(QLatin1Char('+')) || hex.startsWith(QLatin1Char('-')) ? 1 : 0;
    if (hex.size() <= start || hex.size() > start + 8)
        return 0;
    for (qsizetype i = start; i < hex.size(); ++i) {
        if (!isxdigit(hex.at(i).unicode() < 128 ? hex.at(i).toLatin1() : 'x'))
            return 0;
    }
    bool ok = false;
    const qlonglong raw = hex.toLongLong(&ok, 16);
    if (!ok)
        return 0;
    qlonglong result = raw / 16 * 2;
    if (raw > 0x7FFF)
        result -= 8192;
    // Text of more than one 16-bit sample gives no value rather than a wrapped one.
    if (result < INT16_MIN || result > INT16_MAX)
        return 0;
    return std::int16_t(result);
}

std::int16_t DataUtility::gValueOfSample(std::uint16_t raw)
{
    int result = int(raw / 16) * 2;
    if (raw > 0x7FFF)
        result -= 8192;
    return std::int16_t(result);
}
