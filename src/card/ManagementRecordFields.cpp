#include "card/ManagementRecordFields.h"

#include "recording/DataUtility.h"
#include "recording/Date.h"
#include "recording/FileUtil.h"

namespace {
constexpr qsizetype kFileNameLength = 16;
constexpr uint32_t kHemisphereBit = 0x800000;
constexpr double kMilliG = 1000.0;

int32_t signedCoordinate(uint32_t word, uint16_t &flag)
{
    flag = word >= kHemisphereBit ? 1 : 0;
    const auto magnitude = static_cast<int32_t>(flag ? word - kHemisphereBit : word);
    return flag ? -magnitude : magnitude;
}
} // namespace

Date ManagementRecordFields::date(std::span<const uint8_t> record, qsizetype offset)
{
    return DataUtility::getUnixDate(record, offset);
}

ManagementRecordFields::Position ManagementRecordFields::position(std::span<const uint8_t> record,
                                                                  qsizetype lonOffset, qsizetype latOffset)
{
    Position pos;
    const auto lon = record.subspan(lonOffset, 3);
    if (lon[0] == 0xFF && lon[1] == 0xFF && lon[2] == 0xFF)
        return pos;
    pos.hasFlags = true;
    pos.longitude = signedCoordinate(DataUtility::getUInt24(record, lonOffset), pos.posWest);
    pos.latitude = signedCoordinate(DataUtility::getUInt24(record, latOffset), pos.posSouth);
    return pos;
}

uint16_t ManagementRecordFields::speedTenths(std::span<const uint8_t> record, qsizetype offset)
{
    return DataUtility::getUInt16(record, offset);
}

double ManagementRecordFields::gValue(std::span<const uint8_t> record, qsizetype offset)
{
    return DataUtility::hexToGValue(DataUtility::toHexString(record.subspan(offset, 2))) / kMilliG;
}

double ManagementRecordFields::gValueZ(std::span<const uint8_t> record, qsizetype offset)
{
    return (DataUtility::hexToGValue(DataUtility::toHexString(record.subspan(offset, 2))) - kMilliG) /
           kMilliG;
}

uint32_t ManagementRecordFields::uint32(std::span<const uint8_t> record, qsizetype offset)
{
    return DataUtility::getUInt32(record, offset);
}

QString ManagementRecordFields::fileName(std::span<const uint8_t> record, qsizetype offset)
{
    const auto bytes = record.subspan(offset, kFileNameLength);
    QString name;
    name.reserve(kFileNameLength);
    for (uint8_t b : bytes) {
        if (b > 0x7F)
            return {};
        name.append(QChar(b));
    }
    return name;
}

bool ManagementRecordFields::isMovieFileName(const QString &name)
{
    return !FileUtil::getTripKey(name).isEmpty() && FileUtil::getFileNumber(name) != 0;
}
