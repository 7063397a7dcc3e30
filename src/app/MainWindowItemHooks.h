// The main window's side of item playback and of the map's list markers: the hooks through which they
// reach the stopwatch, the alerts, the title, the window's flags, the player's buttons and the map.
#pragma once

#include "app/ItemPlayback.h"
#include "app/ListMarkers.h"

class MainWindow;

class MainWindowItemHooks
{
public:
    static ItemPlayback::Hooks itemPlayback(MainWindow &window);
    // The markers play through the window's item playback, which must exist first.
    static ListMarkers::Hooks listMarkers(MainWindow &window);
};
