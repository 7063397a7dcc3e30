// The three modes of the map panel: hidden, docked in the main window, or in its own window.
#pragma once

enum class MapType : int
{
    Hidden = 0,
    Show = 1,
    Window = 2,
};
