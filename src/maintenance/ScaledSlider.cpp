#include "maintenance/ScaledSlider.h"

#include "maintenance/ControlRange.h"

#include <QSignalBlocker>
#include <cmath>

ScaledSlider::ScaledSlider(const ControlRange &range, double scale, int tickStep, QWidget *parent)
    : QSlider(Qt::Horizontal, parent), _scale(scale)
{
    setRange(int(std::lround(range.minimum() * scale)), int(std::lround(range.maximum() * scale)));
    setSingleStep(1);
    setPageStep(std::max(tickStep, 1));
    setTickInterval(tickStep);
    setTickPosition(tickStep > 0 ? QSlider::TicksBelow : QSlider::NoTicks);
    // valueChanged also fires for setValue from code; those calls block signals.
    connect(this, &QSlider::valueChanged, this, [this](int value) { emit scaledValueMoved(value / _scale); });
}

double ScaledSlider::scaledValue() const
{
    return value() / _scale;
}

void ScaledSlider::setScaledValue(double value)
{
    const QSignalBlocker blocker(this);
    setValue(int(std::lround(value * _scale)));
}
