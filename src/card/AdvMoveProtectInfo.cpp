#include "card/AdvMoveProtectInfo.h"

#include "card/ManagementRecordFields.h"
#include "recording/DataUtility.h"
#include "recording/FileUtil.h"

#include <QFileInfo>

namespace {
constexpr uint8_t kAdventureRecord = 0x25;
constexpr uint8_t kEndMarker = 0xFF;
} // namespace

AdvMoveProtectInfo::AdvMoveProtectInfo(std::span<const uint8_t> data)
{
    _infoEnable = parse(data);
    _readStopFlag = false;
}

bool AdvMoveProtectInfo::parse(std::span<const uint8_t> data)
{
    if (data.size() < static_cast<size_t>(RECORD_SIZE))
        return false;
    if (data[0] == kEndMarker)
        _readStopFlag = true;
    if (data[0] != kAdventureRecord)
        return false;
    _detectType = DataUtility::bcdToInt(kAdventureRecord);
    ManagementRecordFields::decodeProtectRecord(*this, data);
    advModeStartFlg = data[80];
    _endDatetime = ManagementRecordFields::date(data, 81);
    return ManagementRecordFields::isMovieFileName(QFileInfo(_fileName).fileName());
}

int32_t AdvMoveProtectInfo::fileNumber() const
{
    return FileUtil::getFileNumber(QFileInfo(_fileName).fileName());
}
