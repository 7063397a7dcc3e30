// The dimmed overlay over the video surface that previews the zoom window: dark everywhere
// except a clear rectangle.
#pragma once

#include <QRectF>
#include <QWidget>

class ZoomSelectOverlay : public QWidget
{
    Q_OBJECT
public:
    explicit ZoomSelectOverlay(QWidget *parent = nullptr);

    void setWindowRect(const QRectF &rect);
    QRectF windowRect() const { return _windowRect; }

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    QRectF _windowRect;
};
