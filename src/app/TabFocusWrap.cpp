#include "app/TabFocusWrap.h"

TabFocusWrap::TabFocusWrap(QWidget *circleChartButton, QWidget *openButton)
    : _circleChartButton(circleChartButton), _openButton(openButton)
{
}

QWidget *TabFocusWrap::target(const QWidget *focus, bool forward) const
{
    const QPointer<QWidget> &from = forward ? _circleChartButton : _openButton;
    QWidget *to = forward ? _openButton : _circleChartButton;
    if (!focus || focus != from || !to || !to->isVisible() || !to->isEnabled())
        return nullptr;
    return to;
}
