// The brightness rule of BrightView: the colour laid over what lies beneath for a brightness value.
#pragma once

#include <QColor>

#include <optional>

// 1.0 is neutral and gives nothing; below it black darkens, at alpha (1 - alphVal) x 0.25; above it
// white lightens, at alpha alphVal x 0.3 x 0.25. Alpha stops at 1 for values far out.
std::optional<QColor> brightnessFill(double alphVal);
