// Driving violation signalled at a frame (All means none).
#pragma once

#include <QString>
#include <optional>

enum class ViolationType : int
{
    All = -1,
    Overspeed = 0,
    Accel = 1,
    Decel = 2,
    Swerve = 3,
    Idling = 4,
    GDetection = 5,
    LongRun = 6,
    OverEnginespeed = 7,
    VelocityGDetection = 8,
};

// None for a raw value outside -1...8.
constexpr std::optional<ViolationType> violationTypeFromRaw(int raw)
{
    if (raw < -1 || raw > 8)
        return std::nullopt;
    return static_cast<ViolationType>(raw);
}

inline QString caseName(ViolationType value)
{
    static const char *const names[] = {
        "All",    "Overspeed",  "Accel",   "Decel",           "Swerve",
        "Idling", "GDetection", "LongRun", "OverEnginespeed", "VelocityGDetection"};
    return QString::fromLatin1(names[static_cast<int>(value) + 1]);
}
