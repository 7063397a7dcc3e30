#include "maintenance/ControlRange.h"

#include <algorithm>
#include <cmath>

ControlRange::ControlRange(double minimum, double maximum, int tickCount)
    : _minimum(minimum), _maximum(std::max(minimum, maximum)), _tickCount(std::max(tickCount, 0))
{
}

bool ControlRange::contains(double value) const
{
    return _minimum <= value && value <= _maximum;
}

double ControlRange::clamp(double value) const
{
    return std::clamp(value, _minimum, _maximum);
}

double ControlRange::closestTick(double value) const
{
    if (_tickCount == 0) {
        return value;
    }
    if (_tickCount == 1) {
        return _minimum;
    }
    const double step = (_maximum - _minimum) / (_tickCount - 1);
    // Marks are computed from their index so that e.g. 0.45 stays 0.45 and not 0.45000000000000007.
    const double index = std::clamp(std::round((value - _minimum) / step), 0.0, double(_tickCount - 1));
    const double mark = _minimum + index * step;
    return std::round(mark * 1e9) / 1e9;
}
