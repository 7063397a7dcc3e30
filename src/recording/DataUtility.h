// Turns the card's binary fields into numbers, dates and text: big-endian integers, packed BCD, G samples.
#pragma once

#include "recording/Date.h"

#include <QByteArray>
#include <QString>
#include <cstdint>
#include <optional>
#include <span>

// All multi-byte fields on the card are big-endian. Every operation checks its range: a field that runs
// past the end (or starts before the beginning) gives the operation's failure value, or for the BCD
// readers a PlatformError with domain "Orvalind" and code 0, the same error as a bad BCD digit.
class DataUtility
{
public:
    DataUtility() = delete;

    using Bytes = std::span<const std::uint8_t>;

    static Bytes asBytes(const QByteArray &data)
    {
        return Bytes(reinterpret_cast<const std::uint8_t *>(data.constData()), std::size_t(data.size()));
    }

    // Packed BCD byte (0x59 is 59) to 0...99. Throws PlatformError("Orvalind", 0) on a nibble of 10 or more.
    static std::uint8_t bcdToInt(std::uint8_t value);

    // 4 bytes: unsigned seconds since 1970-01-01 00:00:00 UTC (the full unsigned range, never negative).
    // Distant past when the field runs past the end.
    static Date getUnixDate(Bytes data, qsizetype offset);
    // 6 BCD bytes year (2000-2099), month, day, hour, minute, second, read as UTC. A bad digit throws the
    // "Orvalind" code 0 error; a date or time that does not exist throws code -1 with the description as
    // domain.
    static Date getBcdDate(Bytes data, qsizetype offset);
    // The same date, or none where getBcdDate throws: for walks that meet many bad dates, where a
    // thrown error each time would cost more than the read.
    static std::optional<Date> bcdDate(Bytes data, qsizetype offset);
    static std::uint32_t getBcdUInt32(Bytes data, qsizetype offset); // 0...99,999,999
    static std::uint16_t getBcdUInt16(Bytes data, qsizetype offset); // 0...9,999
    // Sign in bit 7 of the first byte; -7,999...7,999.
    static std::int16_t getBcdInt16(Bytes data, qsizetype offset);

    // Big-endian fields; 0 when the field runs past the end.
    static std::uint32_t getUInt32(Bytes data, qsizetype offset);
    static std::int32_t getUInt24(Bytes data, qsizetype offset); // zero-extended, 0...16,777,215
    static std::uint16_t getUInt16(Bytes data, qsizetype offset);

    // The whole array as one big-endian number: 0 when empty or longer than 4 bytes; a 4-byte value with
    // the top bit set is negative (two's complement), shorter arrays never are.
    static std::int32_t toUInt32(Bytes data);

    // "%02X" per byte, no separator.
    static QString toHexString(Bytes data);
    // Of the bytes offset ..< offset + length; empty text when that range is not inside the data.
    static QString toHexString(Bytes data, qsizetype offset, qsizetype length);
    // Copy of the bytes offset ..< offset + length; empty when that range is not inside the data.
    static QByteArray subArray(Bytes data, qsizetype offset, qsizetype length);

    // Hexadecimal text of one 16-bit G-sensor sample to milli-g: the top 12 bits are a two's-complement
    // count of 2 milli-g. 0 when the text is not hexadecimal.
    static std::int16_t hexToGValue(const QString &hex);
    // The same for the sample word itself, for readers that decode thousands of samples per file.
    static std::int16_t gValueOfSample(std::uint16_t raw);

    // True when width bytes from offset lie inside data.
    static bool inRange(Bytes data, qsizetype offset, qsizetype width)
    {
        return offset >= 0 && width >= 0 && offset <= qsizetype(data.size()) &&
               width <= qsizetype(data.size()) - offset;
    }
};
