// Decoders for the field encodings the three management files share (date, position, speed, G, time stamp,
// name).
#pragma once

#include "recording/Date.h"

#include <QString>
#include <cstdint>
#include <span>

class ManagementRecordFields
{
public:
    struct Position
    {
        int32_t longitude = 0; // 1/36000 degree, negative for west
        int32_t latitude = 0;  // 1/36000 degree, negative for south
        // Hemisphere flags; absent when the longitude bytes are FF FF FF ("no position"),
        // in which case the record keeps its previous flags.
        bool hasFlags = false;
        uint16_t posWest = 0;
        uint16_t posSouth = 0;
    };

    // The record bytes handed to these decoders are always a whole record, so every
    // offset used lies inside them.
    static Date date(std::span<const uint8_t> record, qsizetype offset);
    static Position position(std::span<const uint8_t> record, qsizetype lonOffset, qsizetype latOffset);
    static uint16_t speedTenths(std::span<const uint8_t> record, qsizetype offset);
    // X and Y in g; Z in g with the 1 g of gravity taken out.
    static double gValue(std::span<const uint8_t> record, qsizetype offset);
    static double gValueZ(std::span<const uint8_t> record, qsizetype offset);
    static uint32_t uint32(std::span<const uint8_t> record, qsizetype offset);
    // The 16 ASCII bytes of the movie file name; empty when they are not ASCII.
    static QString fileName(std::span<const uint8_t> record, qsizetype offset);
    // The movie file name gives a trip key and a non-zero file number.
    static bool isMovieFileName(const QString &name);

    // Fills the fields every record of the three files keeps at the same offsets: date, position, G,
    // switch and status. A position of "none" leaves the record's hemisphere flags as they were.
    template <class Record> static void decodeCommon(Record &record, std::span<const uint8_t> data)
    {
        record._datetime = date(data, 2);
        const auto pos = position(data, 6, 9);
        record._longitude = pos.longitude;
        record._latitude = pos.latitude;
        if (pos.hasFlags) {
            record._posWest = pos.posWest;
            record._posSouth = pos.posSouth;
        }
        record._gX = gValue(data, 16);
        record._gY = gValue(data, 18);
        record._gZ = gValueZ(data, 20);
        record._sw = data[30];
        record._status = data[31];
    }

    // The further fields the two 512-byte protection files share: speed with its decimal, picture
    // channel, frame size, both time stamps, id and movie file name.
    template <class Record> static void decodeProtectRecord(Record &record, std::span<const uint8_t> data)
    {
        decodeCommon(record, data);
        record._speed = speedTenths(data, 12) / 10.0;
        record._pictureChannel = data[32];
        record._frameSize = uint32(data, 36);
        record._timeStamp = uint32(data, 40);
        record._id = data[44];
        record._timeStamp2 = uint32(data, 56);
        record._fileName = fileName(data, 64);
    }
};
