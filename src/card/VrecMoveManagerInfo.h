// One 80-byte record of the card's recording management file "VREC_MOV_MNG.DAT".
#pragma once

#include "recording/Date.h"

#include <QString>
#include <cstdint>
#include <span>

class VrecMoveManagerInfo
{
public:
    static constexpr qsizetype RECORD_SIZE = 80;
    static constexpr qsizetype HEADER_SIZE = 64;

    // Decodes one record; `_infoEnable` tells whether it is a valid movie record.
    explicit VrecMoveManagerInfo(std::span<const uint8_t> data);

    bool parse(std::span<const uint8_t> data);

    bool _infoEnable = false;
    bool _readStopFlag = false; // type byte 0xFF: end marker
    uint8_t _detectType = 0;    // type byte read as packed BCD (17)
    Date _datetime = Date::distantPast();
    uint16_t _posWest = 0;
    uint16_t _posSouth = 0;
    int32_t _longitude = 0; // 1/36000 degree, negative for west
    int32_t _latitude = 0;  // 1/36000 degree, negative for south
    double _speed = 0;      // whole units: the stored tenths divided by 10, truncated
    double _gX = 0;
    double _gY = 0;
    double _gZ = 0; // 1 g of gravity taken out
    int32_t _sw = 0;
    int32_t _status = 0;
    uint32_t _timeStamp = 0; // camera millisecond counter at the movie's start
    QString _fileName;       // 16 ASCII characters: trip key and file number
};
