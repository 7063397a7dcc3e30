// The fields that the records of both 512-byte protection files (MOV_PRCT.DAT and ADV_PRCT.DAT) keep at
// the same offsets; ManagementRecordFields::decodeProtectRecord fills them.
#pragma once

#include "recording/Date.h"

#include <QString>
#include <cstdint>

struct ProtectRecordFields
{
    uint8_t _detectType = 0; // type byte read as packed BCD
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
};
