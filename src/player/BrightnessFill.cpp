#include "player/BrightnessFill.h"

#include <algorithm>

std::optional<QColor> brightnessFill(double alphVal)
{
    // Qt takes no alpha above 1: a value past 5 or below -3 would make an invalid colour.
    const auto alpha = [](double a) { return float(std::clamp(a, 0.0, 1.0)); };
    if (alphVal < 1.0)
        return QColor::fromRgbF(0.0f, 0.0f, 0.0f, alpha((1.0 - alphVal) * 0.25));
    if (alphVal > 1.0)
        return QColor::fromRgbF(1.0f, 1.0f, 1.0f, alpha(alphVal * 0.3 * 0.25));
    // Exactly 1.0, or not a number.
    return std::nullopt;
}
