// The numeric range of a slider or stepper, with the slider's tick marks taken as values.
#pragma once

class ControlRange
{
public:
    // tickCount 0: no tick marks; otherwise tickCount evenly spaced marks from minimum to maximum.
    ControlRange(double minimum, double maximum, int tickCount = 0);

    double minimum() const { return _minimum; }
    double maximum() const { return _maximum; }
    int tickCount() const { return _tickCount; }

    // Inclusive at both ends.
    bool contains(double value) const;
    double clamp(double value) const;
    // The value of the tick mark nearest to value (halfway goes to the upper mark); without tick marks the
    // value itself.
    double closestTick(double value) const;

private:
    double _minimum;
    double _maximum;
    int _tickCount;
};
