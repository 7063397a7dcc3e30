// Unit of an axis step of the graph: seconds and minutes of the time axis, plain values otherwise.
#pragma once

#include <cstdint>

enum class GranularityType
{
    Second,
    Minute,
    Default,
};

// Milliseconds (or value units) per step unit.
constexpr int64_t granularityUnit(GranularityType type)
{
    switch (type) {
    case GranularityType::Second:
        return 1000;
    case GranularityType::Minute:
        return 60000;
    case GranularityType::Default:
        break;
    }
    return 1;
}

constexpr double granularityDivisor(GranularityType type)
{
    return static_cast<double>(granularityUnit(type));
}
