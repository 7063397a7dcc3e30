// The keyboard's ring over the player and its driving data: Tab on the driving panel's circle chart
// button goes on to the player's open button, and Shift-Tab on the open button back to the circle chart
// button, whatever the window's own order puts after or before them.
#pragma once

#include <QPointer>
#include <QWidget>

class TabFocusWrap
{
public:
    TabFocusWrap(QWidget *circleChartButton, QWidget *openButton);

    // Where Tab (forward) or Shift-Tab takes the focus from the focused widget instead of the window's
    // next or previous control; none when the window's own order holds, or the control is out of reach
    // (hidden in full screen, disabled).
    QWidget *target(const QWidget *focus, bool forward) const;

private:
    QPointer<QWidget> _circleChartButton;
    QPointer<QWidget> _openButton;
};
