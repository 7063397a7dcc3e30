// The track bar under the video: draws its CustomSliderCell and hands it the mouse.
#pragma once

#include <QPointF>
#include <QPointer>
#include <QWidget>

class CustomSliderCell;

class TrackSlider : public QWidget
{
    Q_OBJECT
public:
    // The cell is owned by the slider (Qt parent).
    explicit TrackSlider(CustomSliderCell *cell, QWidget *parent = nullptr);

    CustomSliderCell *cell() const { return _cell; }
    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void endWatch();

    CustomSliderCell *_cell;
    QPointF _lastPoint;
    // The window watched during a press: a modal window over it takes the release.
    QPointer<QWidget> _pressedIn;
};
