// Driving violation signalled at a frame (All means none).
#pragma once

#include "recording/EnumCases.h"

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

inline constexpr auto VIOLATION_TYPE_CASES = std::to_array<EnumCase<ViolationType>>({
    {ViolationType::All, "All"},
    {ViolationType::Overspeed, "Overspeed"},
    {ViolationType::Accel, "Accel"},
    {ViolationType::Decel, "Decel"},
    {ViolationType::Swerve, "Swerve"},
    {ViolationType::Idling, "Idling"},
    {ViolationType::GDetection, "GDetection"},
    {ViolationType::LongRun, "LongRun"},
    {ViolationType::OverEnginespeed, "OverEnginespeed"},
    {ViolationType::VelocityGDetection, "VelocityGDetection"},
});

constexpr std::optional<ViolationType> violationTypeFromRaw(int raw)
{
    return enumFromRaw(VIOLATION_TYPE_CASES, raw);
}

inline QString caseName(ViolationType value)
{
    return enumCaseName(VIOLATION_TYPE_CASES, value);
}
