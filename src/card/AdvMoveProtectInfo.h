// One 512-byte record of the card's adventure protection file "ADV_PRCT.DAT".
#pragma once

#include "card/EventRecordCache.h"
#include "recording/Date.h"

#include <QString>
#include <cstdint>
#include <span>

// The thread-safe caches (eventChapter, pathThumbnail, retryCntThumbnail) come from EventRecordCache.
class AdvMoveProtectInfo : public EventRecordCache
{
public:
    static constexpr qsizetype RECORD_SIZE = 512;
    static constexpr qsizetype HEADER_SIZE = 512;

    explicit AdvMoveProtectInfo(std::span<const uint8_t> data);
    AdvMoveProtectInfo(const AdvMoveProtectInfo &) = delete;
    AdvMoveProtectInfo &operator=(const AdvMoveProtectInfo &) = delete;

    bool parse(std::span<const uint8_t> data);
    // The file number of `_fileName`: the last four characters of its base name, 0 when not a number.
    int32_t fileNumber() const;

    // Set by the parser, read-only afterwards.
    bool _infoEnable = false;
    bool _readStopFlag = false; // cleared again by the constructor: this file has no end marker
    uint8_t _detectType = 0;    // type byte read as packed BCD (25)
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
    uint32_t _timeStamp = 0; // ms
    uint8_t _id = 0;
    uint32_t _timeStamp2 = 0;
    QString _fileName;
    Date _endDatetime = Date::distantPast();
    uint8_t advModeStartFlg = 0;
};
