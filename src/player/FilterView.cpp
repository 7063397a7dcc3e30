#include "player/FilterView.h"

#include "player/FilterViewDelegate.h"

#include <QMouseEvent>

void FilterView::mousePressEvent(QMouseEvent *event)
{
    event->accept();
    if (_delegate)
        _delegate->closeZoomMenu();
}
