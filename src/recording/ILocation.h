// A plain latitude/longitude pair, the base of frames and map locations.
#pragma once

#include <cstdint>

class ILocation
{
public:
    ILocation() = default;
    virtual ~ILocation() = default;

    std::int32_t latitude = 0;
    std::int32_t longitude = 0;

protected:
    ILocation(const ILocation &) = default;
    ILocation &operator=(const ILocation &) = default;
};
