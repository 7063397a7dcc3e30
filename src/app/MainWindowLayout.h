// The main window's panels: the player with the driving data below it on the left, the map title
// bar, the map and the video list on the right. Full screen leaves the player alone.
#pragma once

#include "app/PanelLayout.h"

#include <QWidget>

class EmptyMapView;
class MapTitleView;
class MoviePlayerView;

class MainWindowLayout : public QWidget
{
    Q_OBJECT
public:
    // Takes the player panel into the layout.
    MainWindowLayout(MoviePlayerView *player, QWidget *parent = nullptr);

    void apply(const PanelLayout::Sizes &sizes);

    MoviePlayerView *moviePlayerView() const { return _player; }
    MapTitleView *mapTitleView() const { return _mapTitleView; }
    EmptyMapView *emptyMapView() const { return _emptyMapView; }
    QWidget *drivingInfoSlot() const { return _drivingInfoSlot; }
    QWidget *videoListSlot() const { return _videoListSlot; }

private:
    static void setFixedExtent(QWidget *panel, int size, bool width);

    MoviePlayerView *_player;
    MapTitleView *_mapTitleView;
    EmptyMapView *_emptyMapView;
    // Places of the driving-data panel and the video list; each panel is put into its slot's layout
    // when it joins the program.
    QWidget *_drivingInfoSlot;
    QWidget *_videoListSlot;
};
