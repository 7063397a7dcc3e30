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
    _datetime = ManagementRecordFields::date(data, 2);
    const auto pos = ManagementRecordFields::position(data, 6, 9);
    _longitude = pos.longitude;
    _latitude = pos.latitude;
    if (pos.hasFlags) {
        _posWest = pos.posWest;
        _posSouth = pos.posSouth;
    }
    _speed = ManagementRecordFields::speedTenths(data, 12) / 10.0;
    _gX = ManagementRecordFields::gValue(data, 16);
    _gY = ManagementRecordFields::gValue(data, 18);
    _gZ = ManagementRecordFields::gValueZ(data, 20);
    _sw = data[30];
    _status = data[31];
    _pictureChannel = data[32];
    _frameSize = ManagementRecordFields::uint32(data, 36);
    _timeStamp = ManagementRecordFields::uint32(data, 40);
    _id = data[44];
    _timeStamp2 = ManagementRecordFields::uint32(data, 56);
    _fileName = ManagementRecordFields::fileName(data, 64);
    advModeStartFlg = data[80];
    _endDatetime = ManagementRecordFields::date(data, 81);
    return ManagementRecordFields::isMovieFileName(QFileInfo(_fileName).fileName());
}

int32_t AdvMoveProtectInfo::fileNumber() const
{
    return FileUtil::getFileNumber(QFileInfo(_fileName).fileName());
}

std::shared_ptr<ChapterData> AdvMoveProtectInfo::eventChapter() const
{
    std::lock_guard lock(_mutex);
    return _eventChapter.lock();
}

void AdvMoveProtectInfo::setEventChapter(std::shared_ptr<ChapterData> chapter)
{
    std::lock_guard lock(_mutex);
    _eventChapter = chapter;
}

std::optional<QUrl> AdvMoveProtectInfo::pathThumbnail() const
{
    std::lock_guard lock(_mutex);
    return _pathThumbnail;
}

void AdvMoveProtectInfo::setPathThumbnail(std::optional<QUrl> path)
{
    std::lock_guard lock(_mutex);
    _pathThumbnail = std::move(path);
}

int32_t AdvMoveProtectInfo::retryCntThumbnail() const
{
    std::lock_guard lock(_mutex);
    return _retryCntThumbnail;
}

void AdvMoveProtectInfo::addRetryCntThumbnail()
{
    std::lock_guard lock(_mutex);
    ++_retryCntThumbnail;
}
