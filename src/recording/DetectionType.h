// Why a recording was made: the card's detection code as the recording model uses it.
#pragma once

#include "recording/EnumCases.h"

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

inline constexpr auto DETECTION_TYPE_CASES = std::to_array<EnumCase<DetectionType>>({
    {DetectionType::All, "All"},
    {DetectionType::None, "None"},
    {DetectionType::GSensor, "GSensor"},
    {DetectionType::ExtSW, "ExtSW"},
    {DetectionType::UrgencySW, "UrgencySW"},
    {DetectionType::ExtTrigger, "ExtTrigger"},
    {DetectionType::SpeedTrigger, "SpeedTrigger"},
    {DetectionType::D1, "D1"},
    {DetectionType::D2, "D2"},
    {DetectionType::D3, "D3"},
    {DetectionType::D4, "D4"},
    {DetectionType::Movie, "Movie"},
});

constexpr std::optional<DetectionType> detectionTypeFromRaw(int raw)
{
    return enumFromRaw(DETECTION_TYPE_CASES, raw);
}

inline QString caseName(DetectionType value)
{
    return enumCaseName(DETECTION_TYPE_CASES, value);
}
