#include "card/MoveProtectInfo.h"

#include "card/ManagementRecordFields.h"
#include "recording/DataUtility.h"

namespace {
constexpr uint8_t kEndMarker = 0xFF;

bool isEventType(uint8_t type)
{
    return type == 0x10 || type == 0x12 || type == 0x17 || type == 0x20;
}
} // namespace

MoveProtectInfo::MoveProtectInfo(std::span<const uint8_t> data, DetectStatus detect) : _detect(detect)
{
    _isInfoEnable = parse(data);
}

bool MoveProtectInfo::parse(std::span<const uint8_t> data)
{
    if (data.size() < static_cast<size_t>(RECORD_SIZE))
        return false;
    if (data[0] == kEndMarker)
        _isReadStopFlag = true;
    if (!isEventType(data[0]))
        return false;
    _detectType = DataUtility::bcdToInt(data[0]);
    ManagementRecordFields::decodeProtectRecord(*this, data);
    _protectType = data[80];
    _survRecValidData = data[81];
    if (!ManagementRecordFields::isMovieFileName(_fileName))
        return false;
    return _detect != DetectStatus::SURV || _survRecValidData != 0;
}
