// Destination (market) a camera was built for, as its version file names it.
#pragma once

#include <QString>

#include <optional>

enum class TargetType : int
{
    Common = 0,
    Gyomu12 = 1,
    None = 153,
};

// None for any raw value other than 0, 1 and 153.
constexpr std::optional<TargetType> targetTypeFromRaw(int raw)
{
    switch (raw) {
    case 0:
        return TargetType::Common;
    case 1:
        return TargetType::Gyomu12;
    case 153:
        return TargetType::None;
    default:
        return std::nullopt;
    }
}

inline QString caseName(TargetType value)
{
    switch (value) {
    case TargetType::Common:
        return QStringLiteral("Common");
    case TargetType::Gyomu12:
        return QStringLiteral("Gyomu12");
    case TargetType::None:
        break;
    }
    return QStringLiteral("None");
}
