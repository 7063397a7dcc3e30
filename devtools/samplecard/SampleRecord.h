// The raw values of one 64-byte driving-data record that samplecard writes, and its encoding.
#pragma once

#include <QByteArray>

#include <cstdint>

struct SampleRecord
{
    int blockNo = 1;          // 1-based number of the udat entry that holds the record
    uint8_t id = 0x55;        // 0x55 frame sample, 0xAA sound sample
    int64_t tripMs = 0;       // offset of the sample from the trip start
    uint32_t unixSeconds = 0; // wall-clock time, whole seconds
    uint32_t counter = 0;     // the camera's millisecond counter
    bool hasPosition = true;
    int32_t longitude = 0; // 1/36000 degree, west negative
    int32_t latitude = 0;  // 1/36000 degree, south negative
    uint16_t speedTenths = 0;
    int gXmg = 0; // milli-g, a multiple of 2 (the sensor's resolution)
    int gYmg = 0;
    int gZmg = 0; // without gravity
    uint8_t sw = 0;
    bool powerDown = false;
    bool gps = true;
    bool gps2 = true;
    uint8_t pictureChannel = 1;
    uint32_t frameSize = 0;
    uint8_t violation = 0;    // packed BCD at byte 45
    uint8_t violationSub = 0; // packed BCD at byte 46
    uint32_t blockKey = 0;

    // The 64 bytes as the camera stores them.
    QByteArray bytes() const;
    // The G sample word of a milli-g value: 12-bit two's complement count of 2 mg in the top bits.
    static uint16_t gWord(int milliG);
};
