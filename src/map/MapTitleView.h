// The title bar above the map panel; its buttons hide, show or detach the map, and show only
// the modes that can be chosen next (Window only from Show).
#pragma once

#include "map/MapType.h"

#include <QWidget>

class MapTitleViewDelegate;
class QLabel;
class QToolButton;

class MapTitleView : public QWidget
{
    Q_OBJECT
public:
    explicit MapTitleView(QWidget *parent = nullptr);

    void setDelegate(MapTitleViewDelegate *delegate) { _delegate = delegate; }
    MapType mapType() const { return _mapType; }
    // The detached window closing puts the mode back without touching the buttons.
    void resetMapType(MapType type) { _mapType = type; }

    // Shows the controls of the mode, then reports it to the delegate.
    void setMapType(MapType type);

    void onMapShowButton();
    void onMapHideButton();
    void onMapWindowButton();

    QLabel *lblMapTitle() const { return _lblMapTitle; }
    QToolButton *mapShowButton() const { return _mapShowButton; }
    QToolButton *mapHideButton() const { return _mapHideButton; }
    QToolButton *mapWindowButton() const { return _mapWindowButton; }

private:
    MapType _mapType = MapType::Show;
    MapTitleViewDelegate *_delegate = nullptr;
    QLabel *_lblMapTitle;
    QToolButton *_mapShowButton;
    QToolButton *_mapHideButton;
    QToolButton *_mapWindowButton;
};
