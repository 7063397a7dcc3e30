// Icons of the map page: event kinds, the 16 compass headings and the pins; raw values are the page's codes.
#pragma once

#include "recording/EnumCases.h"

enum class IconId : int
{
    None = 1,
    GDetection = 2,
    SpeedOver = 3,
    Accel = 4,
    Brake = 5,
    Handle = 6,
    Idling = 53,
    OverEngineSpeed = 62,
    North = 9,
    NorthEast = 8,
    East = 7,
    SouthEast = 14,
    South = 13,
    SouthWest = 12,
    West = 11,
    NorthWest = 10,
    PlaybackGDetection = 15,
    PlaybackSpeedOver = 16,
    PlaybackAccel = 17,
    PlaybackBrake = 18,
    PlaybackHandle = 19,
    PlaybackIdling = 54,
    PlaybackOverEngineSpeed = 63,
    NNEast = 20,
    NorthEE = 21,
    SouthEE = 22,
    SSEast = 23,
    SSWest = 24,
    SouthWW = 25,
    NorthWW = 26,
    NNWest = 27,
    Pin_Red = 60,
    Pin_Blue = 61,
    Pin_Gray = 65,
    Pin_Red_focus = 66,
    Pin_Blue_focus = 67,
    Pin_Gray_focus = 68,
};

// All 37 cases in declaration order (the order is an index some tables use).
inline constexpr auto ICON_ID_CASES = std::to_array<EnumCase<IconId>>({
    {IconId::None, "None"},
    {IconId::GDetection, "GDetection"},
    {IconId::SpeedOver, "SpeedOver"},
    {IconId::Accel, "Accel"},
    {IconId::Brake, "Brake"},
    {IconId::Handle, "Handle"},
    {IconId::Idling, "Idling"},
    {IconId::OverEngineSpeed, "OverEngineSpeed"},
    {IconId::North, "North"},
    {IconId::NorthEast, "NorthEast"},
    {IconId::East, "East"},
    {IconId::SouthEast, "SouthEast"},
    {IconId::South, "South"},
    {IconId::SouthWest, "SouthWest"},
    {IconId::West, "West"},
    {IconId::NorthWest, "NorthWest"},
    {IconId::PlaybackGDetection, "PlaybackGDetection"},
    {IconId::PlaybackSpeedOver, "PlaybackSpeedOver"},
    {IconId::PlaybackAccel, "PlaybackAccel"},
    {IconId::PlaybackBrake, "PlaybackBrake"},
    {IconId::PlaybackHandle, "PlaybackHandle"},
    {IconId::PlaybackIdling, "PlaybackIdling"},
    {IconId::PlaybackOverEngineSpeed, "PlaybackOverEngineSpeed"},
    {IconId::NNEast, "NNEast"},
    {IconId::NorthEE, "NorthEE"},
    {IconId::SouthEE, "SouthEE"},
    {IconId::SSEast, "SSEast"},
    {IconId::SSWest, "SSWest"},
    {IconId::SouthWW, "SouthWW"},
    {IconId::NorthWW, "NorthWW"},
    {IconId::NNWest, "NNWest"},
    {IconId::Pin_Red, "Pin_Red"},
    {IconId::Pin_Blue, "Pin_Blue"},
    {IconId::Pin_Gray, "Pin_Gray"},
    {IconId::Pin_Red_focus, "Pin_Red_focus"},
    {IconId::Pin_Blue_focus, "Pin_Blue_focus"},
    {IconId::Pin_Gray_focus, "Pin_Gray_focus"},
});

// None for a number that is no icon code.
constexpr std::optional<IconId> iconIdFromRaw(int raw)
{
    return enumFromRaw(ICON_ID_CASES, raw);
}

inline QString caseName(IconId value)
{
    return enumCaseName(ICON_ID_CASES, value);
}
