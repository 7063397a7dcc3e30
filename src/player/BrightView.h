// A view that darkens or lightens whatever lies beneath it by a brightness value (brightnessFill).
// Nothing in the program lays one out yet.
#pragma once

#include <QWidget>

class BrightView : public QWidget
{
    Q_OBJECT
public:
    explicit BrightView(QWidget *parent = nullptr) : QWidget(parent) {}

    // 1.0 is neutral, lower values darken, higher ones lighten; 0.0 at creation.
    double alphVal() const { return _alphVal; }
    void setAlphVal(double alphVal);

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    double _alphVal = 0.0;
};
