// Shows the software renderer's picture of an MpvEngine, which draws it at the widget's size.
#pragma once

#include <QPointer>
#include <QWidget>

class MpvEngine;

class MpvImageWidget : public QWidget
{
    Q_OBJECT
public:
    MpvImageWidget(MpvEngine *engine, QWidget *parent = nullptr);
    MpvEngine *engine() const { return _engine; }

protected:
    void paintEvent(QPaintEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;

private:
    QPointer<MpvEngine> _engine;
};
