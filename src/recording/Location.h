// A location with screen coordinates X and Y beside its latitude and longitude.
#pragma once

#include "recording/ILocation.h"

#include <cstdint>

class Location : public ILocation
{
public:
    Location() = default;
    Location(const Location &other) : ILocation(other), X(other.X), Y(other.Y) {}
    Location &operator=(const Location &other) = default;

    // The one shared location with all four fields 0, made on first use.
    static const Location &None();

    std::int64_t X = 0;
    std::int64_t Y = 0;
};
