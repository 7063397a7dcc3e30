// How Qt puts the main window together on screen. A window holding a Qt Quick item (the map's web view)
// is composed through OpenGL: every picture the player shows makes the whole window drawn again as
// textures. On a software OpenGL driver, where the player draws its pictures in software as well, that
// composition alone took most of a two-core machine at x2 and halved the pictures on screen. Qt Quick's
// own software renderer keeps the window a plain raster one, flushed only where it changed.
#pragma once

class WindowComposition
{
public:
    WindowComposition() = delete;

    // Qt Quick renders in software where the player does (RenderPathChoice). Main thread; takes effect
    // for Qt Quick windows made after the first call, so before the first web view.
    static void followRenderPath();
};
