// The map panel's place in the main window; the map container is put into it edge to edge.
#pragma once

#include <QWidget>

class EmptyMapView : public QWidget
{
    Q_OBJECT
public:
    explicit EmptyMapView(QWidget *parent = nullptr);

    // Takes view from wherever it was (the detached window), starts it at 0, 0, 360 x 220 and
    // lets it follow the placeholder's edges from then on.
    void addMapView(QWidget *view);
};
