// Decoders for the field encodings the three management files share (date, position, speed, G, time stamp,
// name).
#pragma once

#include <QString>
#include <cstdint>
#include <span>

class Date;

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
};
