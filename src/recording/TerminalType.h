// Camera build: camera and recorder in one body, in two, or not known.
#pragma once

#include "recording/EnumCases.h"

enum class TerminalType : int
{
    Separate = 0,
    AllInOne = 1,
    None = 2,
};

inline constexpr auto TERMINAL_TYPE_CASES = std::to_array<EnumCase<TerminalType>>({
    {TerminalType::Separate, "Separate"},
    {TerminalType::AllInOne, "AllInOne"},
    {TerminalType::None, "None"},
});

constexpr std::optional<TerminalType> terminalTypeFromRaw(int raw)
{
    return enumFromRaw(TERMINAL_TYPE_CASES, raw);
}

inline QString caseName(TerminalType value)
{
    return enumCaseName(TERMINAL_TYPE_CASES, value);
}
