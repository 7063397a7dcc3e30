// The analogue speed meter: dial, needle (greyed without a GPS fix), three digit places and the unit,
// painted from the meter model at the moment of drawing.
#pragma once

#include "graph/GraphImages.h"
#include "graph/SpeedMeterModel.h"

#include <QTimer>
#include <QWidget>

class SpeedMeterView : public QWidget
{
    Q_OBJECT
public:
    static constexpr int METER_WIDTH = 142; // the dial's size
    static constexpr int METER_HEIGHT = 144;
    static constexpr int HAND_WIDTH = 18; // the needle's size, turned about its centre
    static constexpr int HAND_HEIGHT = 125;

    explicit SpeedMeterView(QWidget *parent = nullptr, std::function<int64_t()> clockMs = {});

    void setSpeedType(SpeedMeterType type) { _model.isSpeedType = type; }
    SpeedMeterType speedType() const { return _model.isSpeedType; }
    void updateSpeed(const DrivingSample &frame, bool animated, const SpeedDurationTable &durInfo);
    void resetMeter();
    const SpeedMeterModel &model() const { return _model; }

    QSize sizeHint() const override { return {METER_WIDTH, METER_HEIGHT}; }

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    void changed();

    SpeedMeterModel _model;
    GraphImages _images;
    QTimer _tickTimer;      // the model's 0.1 s timer while it runs
    QTimer _animationTimer; // repaints while the needle or the digits move
};
