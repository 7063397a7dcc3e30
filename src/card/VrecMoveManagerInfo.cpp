#include "card/VrecMoveManagerInfo.h"

#include "card/ManagementRecordFields.h"
#include "recording/DataUtility.h"

namespace {
constexpr uint8_t kMovieRecord = 0x17;
constexpr uint8_t kEndMarker = 0xFF;
} // namespace

VrecMoveManagerInfo::VrecMoveManagerInfo(std::span<const uint8_t> data)
{
    _infoEnable = parse(data);
}

bool VrecMoveManagerInfo::parse(std::span<const uint8_t> data)
{
    if (data.size() < static_cast<size_t>(RECORD_SIZE))
        return false;
    if (data[0] == kEndMarker)
        _readStopFlag = true;
    if (data[0] != kMovieRecord)
        return false;
    _detectType = DataUtility::bcdToInt(kMovieRecord);
    ManagementRecordFields::decodeCommon(*this, data);
    // This file keeps whole units only: 57 tenths give 5.
    _speed = static_cast<double>(ManagementRecordFields::speedTenths(data, 12) / 10);
    _timeStamp = ManagementRecordFields::uint32(data, 40);
    _fileName = ManagementRecordFields::fileName(data, 64);
    return ManagementRecordFields::isMovieFileName(_fileName);
}
