// Which of mpv's two render paths the video widgets take: its OpenGL render context, or its software
// renderer painted as an image. A software OpenGL driver (Mesa's llvmpipe in a virtual machine or a
// remote desktop) runs every one of mpv's shader passes on the CPU and costs several times the software
// renderer, so OpenGL is only worth it on a driver that has a graphics card behind it.
#pragma once

#include <QString>
#include <optional>

class RenderPathChoice
{
public:
    // What an OpenGL context says of itself (GL_VENDOR and GL_RENDERER).
    struct Driver
    {
        QString vendor;
        QString renderer;
    };

    // True when the driver rasterizes on the CPU.
    static bool isSoftwareDriver(const Driver &driver);
    // The driver behind a throwaway context on the running platform; none when no context can be made.
    // Main thread; needs a QGuiApplication.
    static std::optional<Driver> probeDriver();
    // The platforms without a display, where no OpenGL context is tried.
    static bool isHeadlessPlatform(const QString &platformName);
    // The software path on the headless platforms, without any OpenGL, and on a software driver.
    static bool isSoftwarePreferred(const QString &platformName, const std::optional<Driver> &driver);
    // The same for the running application; probes a context once, only on a platform with a display.
    static bool isSoftwarePreferredHere();
};
