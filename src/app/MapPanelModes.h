// The map panel's three modes: docked under its title bar, hidden (the title bar stays), or detached
// into a floating window of its own; closing that window docks the map again. Playback is paused
// around each change and put back as it was.
#pragma once

#include "app/NewWindowViewDelegate.h"
#include "map/MapTitleViewDelegate.h"

#include <QObject>
#include <functional>

class ChildWindows;
class EmptyMapView;
class MapTitleView;
class NewWindowView;
class PlaybackControl;
class QWidget;

class MapPanelModes : public QObject, public MapTitleViewDelegate, public NewWindowViewDelegate
{
    Q_OBJECT
public:
    static constexpr int MAP_HEIGHT = 220;
    static constexpr int TITLE_HEIGHT = 30;

    struct Parts
    {
        PlaybackControl &player;
        QWidget *mapView;
        MapTitleView *titleView;
        EmptyMapView *placeholder;
        ChildWindows &childWindows;
        QWidget *windowParent;                         // the main window
        std::function<void(bool hidden)> setMapHidden; // the page bridge's hidden flag
        std::function<void(bool playing)> updateFrameDisplay;
    };

    explicit MapPanelModes(Parts parts, QObject *parent = nullptr);
    ~MapPanelModes() override;

    void setMapType(MapType type) override;
    void mapWindowClosed() override;
    void updateFrameDisplay(bool playing) override;

    NewWindowView &newWindowView() const { return *_newViewController; }

private:
    void detach();

    Parts _parts;
    NewWindowView *_newViewController;
};
