#include "map/EmptyMapView.h"

#include <QVBoxLayout>

EmptyMapView::EmptyMapView(QWidget *parent) : QWidget(parent)
{
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
}

void EmptyMapView::addMapView(QWidget *view)
{
    if (!view)
        return;
    layout()->removeWidget(view);
    view->setParent(this);
    view->setGeometry(0, 0, 360, 220);
    view->lower();
    layout()->addWidget(view);
    view->show();
}
