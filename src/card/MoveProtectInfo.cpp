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
    _protectType = data[80];
    _survRecValidData = data[81];
    if (!ManagementRecordFields::isMovieFileName(_fileName))
        return false;
    return _detect != DetectStatus::SURV || _survRecValidData != 0;
}

std::shared_ptr<ChapterData> MoveProtectInfo::eventChapter() const
{
    std::lock_guard lock(_mutex);
    return _eventChapter.lock();
}

void MoveProtectInfo::setEventChapter(std::shared_ptr<ChapterData> chapter)
{
    std::lock_guard lock(_mutex);
    _eventChapter = chapter;
}

std::optional<QUrl> MoveProtectInfo::pathThumbnail() const
{
    std::lock_guard lock(_mutex);
    return _pathThumbnail;
}

void MoveProtectInfo::setPathThumbnail(std::optional<QUrl> path)
{
    std::lock_guard lock(_mutex);
    _pathThumbnail = std::move(path);
}

int32_t MoveProtectInfo::retryCntThumbnail() const
{
    std::lock_guard lock(_mutex);
    return _retryCntThumbnail;
}

void MoveProtectInfo::addRetryCntThumbnail()
{
    std::lock_guard lock(_mutex);
    ++_retryCntThumbnail;
}
