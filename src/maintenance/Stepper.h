// A pair of small arrow buttons beside a number field; the owner keeps the number and its range.
#pragma once

#include <QWidget>

class QToolButton;

class Stepper : public QWidget
{
    Q_OBJECT
public:
    explicit Stepper(QWidget *parent = nullptr);

signals:
    // +1 for the up arrow, -1 for the down arrow.
    void stepped(int steps);

private:
    QToolButton *_up;
    QToolButton *_down;
};
