// Camera build: camera and recorder in one body, in two, or not known.
#pragma once

#include <QString>
#include <optional>

enum class TerminalType : int
{
    Separate = 0,
    AllInOne = 1,
    None = 2,
};

constexpr std::optional<TerminalType> terminalTypeFromRaw(int raw)
{
    if (raw < 0 || raw > 2)
        return std::nullopt;
    return static_cast<TerminalType>(raw);
}

inline QString caseName(TerminalType value)
{
    static const char *const names[] = {"Separate", "AllInOne", "None"};
    return QString::fromLatin1(names[static_cast<int>(value)]);
}
