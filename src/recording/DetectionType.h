// Why a recording was made: the card's detection code as the recording model uses it.
#pragma once

#include <QString>
#include <optional>

enum class DetectionType : int
{
    All = -1,
    None = 0,
    GSensor = 1,
    ExtSW = 2,
    UrgencySW = 3,
    ExtTrigger = 4,
    SpeedTrigger = 5,
    D1 = 6,
    D2 = 7,
    D3 = 8,
    D4 = 9,
    Movie = 10,
};

// None for a raw value outside -1...10 (never a default case).
constexpr std::optional<DetectionType> detectionTypeFromRaw(int raw)
{
    if (raw < -1 || raw > 10)
        return std::nullopt;
    return static_cast<DetectionType>(raw);
}

inline QString caseName(DetectionType value)
{
    static const char *const names[] = {"All",          "None", "GSensor", "ExtSW", "UrgencySW", "ExtTrigger",
                                        "SpeedTrigger", "D1",   "D2",      "D3",    "D4",        "Movie"};
    return QString::fromLatin1(names[static_cast<int>(value) + 1]);
}
