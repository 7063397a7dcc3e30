// One 512-byte record of the card's event protection file "MOV_PRCT.DAT" (G, surveillance or switch event).
#pragma once

#include "card/EventRecordCache.h"
#include "recording/Date.h"

#include <QString>
#include <cstdint>
#include <mutex>
#include <span>

// The thread-safe caches (eventChapter, pathThumbnail, retryCntThumbnail) come from EventRecordCache.
class MoveProtectInfo : public EventRecordCache
{
public:
    // The section of the file a record comes from; the raw value is the section number.
    enum class DetectStatus
    {
        NON = 0,
        G = 1,
        SURV = 2,
        SW = 3
    };

    static constexpr qsizetype RECORD_SIZE = 512;
    static constexpr qsizetype HEADER_SIZE = 512;

    MoveProtectInfo(std::span<const uint8_t> data, DetectStatus detect);
    MoveProtectInfo(const MoveProtectInfo &) = delete;
    MoveProtectInfo &operator=(const MoveProtectInfo &) = delete;

    bool parse(std::span<const uint8_t> data);

    // Set by the parser, read-only afterwards.
    bool _isInfoEnable = false;
    bool _isReadStopFlag = false; // type byte 0xFF: end marker
    uint8_t _detectType = 0;      // type byte read as packed BCD: 10, 12, 17 or 20
    Date _datetime = Date::distantPast();
    uint16_t _posWest = 0;
    uint16_t _posSouth = 0;
    int32_t _longitude = 0; // 1/36000 degree, negative for west
    int32_t _latitude = 0;  // 1/36000 degree, negative for south
    double _speed = 0;      // one decimal: stored tenths / 10
    double _gX = 0;
    double _gY = 0;
    double _gZ = 0; // 1 g of gravity taken out
    int32_t _sw = 0;
    int32_t _status = 0;
    int32_t _pictureChannel = 0;
    uint32_t _frameSize = 0;
    uint32_t _timeStamp = 0; // ms, on the same counter as the chapters' time stamps
    uint8_t _id = 0;
    uint32_t _timeStamp2 = 0;
    QString _fileName;
    int32_t _protectType = 0;
    int32_t _survRecValidData = 0; // a surveillance record counts only when not 0
    DetectStatus _detect = DetectStatus::NON;

    // Held while the record's still is being made, so that two callers never make it at once.
    std::unique_lock<std::mutex> lockThumbnailBuild() const { return std::unique_lock(_thumbnailBuildMutex); }

private:
    mutable std::mutex _thumbnailBuildMutex; // taken before the cache's lock
};
