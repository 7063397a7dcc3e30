// Positions written as BCD digits (degrees, minutes, tenths of seconds) by the older DAT layouts.
#pragma once

#include <QString>

#include <cstdint>
#include <vector>

class BcdPosition
{
public:
    BcdPosition() = delete;

    // One value per character; throws PlatformError("数値に変換できません。", 0) on a non-digit.
    static std::vector<int> splitDigits(const QString &text);
    // DDDMMTTT (8 digits) and DDMMTTT (7 digits, an eighth ignored) to 1/3,600,000 degree, never negative.
    // Throws as splitDigits, also when the text is too short.
    static int64_t convertLongitude(const QString &longitude);
    static int64_t convertLatitude(const QString &latitude);
    // The unit of VideoFrame positions (1/36000 degree) from a converted value.
    static constexpr int32_t toFrameUnit(int64_t milliArcSeconds) { return int32_t(milliArcSeconds / 100); }
};
