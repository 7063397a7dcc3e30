// The one pattern of the enum headers: a table of every case (value and name, in declaration order)
// answers both whether a raw value is a case and what the case is called.
#pragma once

#include <QString>
#include <array>
#include <cstddef>
#include <optional>

template <typename Enum> struct EnumCase
{
    Enum value;
    const char *name;
};

// The case with this raw value; none for a value that is no case.
template <typename Enum, std::size_t N>
constexpr std::optional<Enum> enumFromRaw(const std::array<EnumCase<Enum>, N> &cases, long long raw)
{
    for (const EnumCase<Enum> &c : cases) {
        if (static_cast<long long>(c.value) == raw)
            return c.value;
    }
    return std::nullopt;
}

// The case's name as the code spells it; empty for a value that is no case.
template <typename Enum, std::size_t N>
QString enumCaseName(const std::array<EnumCase<Enum>, N> &cases, Enum value)
{
    for (const EnumCase<Enum> &c : cases) {
        if (c.value == value)
            return QString::fromLatin1(c.name);
    }
    return {};
}
