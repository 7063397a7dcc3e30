// The panel's small setting sliders (brightness, volume, speed): drawn from the track bar's images with
// a smaller knob, pressed only inside the 10-pixel bar band, and, while brightness or volume is
// dragged, showing the value in a bubble at the slider's top-left edge, inside the window.
#pragma once

#include <QSlider>

#include <map>
#include <memory>

class QLabel;
class QSvgRenderer;

class CustomSliderCellMin : public QSlider
{
    Q_OBJECT
public:
    // identifier: "bright", "volume" or "speed"; it picks the tool tip and the bubble. The slider
    // holds whole steps; doubleValue divides them by stepsPerUnit.
    CustomSliderCellMin(const QString &identifier, double minimum, double maximum, int stepsPerUnit,
                        QWidget *parent = nullptr);
    ~CustomSliderCellMin() override;

    QString identifier() const { return objectName(); }
    double doubleValue() const { return value() / static_cast<double>(_stepsPerUnit); }
    void setDoubleValue(double value);
    // The bubble's text for a value of the slider with the identifier; none for the speed slider.
    static QString bubbleText(const QString &identifier, double value);
    // The bubble, made at the first drag of brightness or volume.
    QLabel *valLabel() const { return _valLabel; }
    // Where a bubble of the given size goes for a slider, both in the coordinates of the area it must
    // stay in: on the slider's top edge, left-aligned, where that fits; else under the slider, moved
    // inside the area as far as needed.
    static QRect bubbleRect(const QRect &slider, const QSize &bubble, const QRect &area);

    static constexpr double volMaxVal = 16.0;

protected:
    void paintEvent(QPaintEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;

private:
    QRect trackingBand() const;
    void showBubble();

    int _stepsPerUnit;
    QLabel *_valLabel = nullptr;
    bool _tracking = false;
    std::map<QString, std::unique_ptr<QSvgRenderer>> _images;
};
