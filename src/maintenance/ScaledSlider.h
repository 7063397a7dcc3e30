// A horizontal slider over a real range: it holds the value times a scale as an integer (0.45 with
// scale 100 is 45) and draws tick marks every tickStep of those integers.
#pragma once

#include <QSlider>

class ControlRange;

class ScaledSlider : public QSlider
{
    Q_OBJECT
public:
    ScaledSlider(const ControlRange &range, double scale, int tickStep, QWidget *parent = nullptr);

    double scaledValue() const;
    // Sets the knob without emitting scaledValueMoved.
    void setScaledValue(double value);

signals:
    // The user moved the knob (drag, click, keys, wheel).
    void scaledValueMoved(double value);

private:
    double _scale;
};
