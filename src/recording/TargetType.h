// Destination (market) a camera was built for, as its version file names it.
#pragma once

#include "recording/EnumCases.h"

enum class TargetType : int
{
    Common = 0,
    Gyomu12 = 1,
    None = 153,
};

inline constexpr auto TARGET_TYPE_CASES = std::to_array<EnumCase<TargetType>>({
    {TargetType::Common, "Common"},
    {TargetType::Gyomu12, "Gyomu12"},
    {TargetType::None, "None"},
});

constexpr std::optional<TargetType> targetTypeFromRaw(int raw)
{
    return enumFromRaw(TARGET_TYPE_CASES, raw);
}

inline QString caseName(TargetType value)
{
    return enumCaseName(TARGET_TYPE_CASES, value);
}
