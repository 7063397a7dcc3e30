#include "player/RenderPathChoice.h"

#include <QGuiApplication>
#include <QLoggingCategory>
#include <QOffscreenSurface>
#include <QOpenGLContext>
#include <QOpenGLFunctions>

namespace {
Q_LOGGING_CATEGORY(lcRenderPath, "orv.player.renderpath", QtWarningMsg)
}

bool RenderPathChoice::isSoftwareDriver(const Driver &driver)
{
    // Mesa names its CPU rasterizers in the renderer string, also when another layer wraps them
    // ("zink (llvmpipe ...)", "D3D12 (Microsoft Basic Render Driver)" under WSL).
    static const char *const softwareNames[] = {"llvmpipe", "softpipe", "swrast", "software rasterizer",
                                                "microsoft basic render driver"};
    for (const char *name : softwareNames) {
        const QLatin1StringView text(name);
        if (driver.renderer.contains(text, Qt::CaseInsensitive) ||
            driver.vendor.contains(text, Qt::CaseInsensitive))
            return true;
    }
    return false;
}

std::optional<RenderPathChoice::Driver> RenderPathChoice::probeDriver()
{
    // A context of another format than the application's shared one makes the software driver set up a
    // second screen of its own, which stays in memory (about 30 MB on llvmpipe): share it and its format.
    QOffscreenSurface surface;
    QOpenGLContext context;
    if (QOpenGLContext *global = QOpenGLContext::globalShareContext(); global && global->isValid()) {
        context.setShareContext(global);
        context.setFormat(global->format());
        surface.setFormat(global->format());
    }
    surface.create();
    if (!surface.isValid() || !context.create() || !context.makeCurrent(&surface))
        return std::nullopt;
    QOpenGLFunctions *gl = context.functions();
    const auto text = [gl](GLenum name) {
        return QString::fromLatin1(reinterpret_cast<const char *>(gl->glGetString(name)));
    };
    Driver driver{text(GL_VENDOR), text(GL_RENDERER)};
    context.doneCurrent();
    return driver;
}

bool RenderPathChoice::isHeadlessPlatform(const QString &platformName)
{
    return platformName == QLatin1String("offscreen") || platformName == QLatin1String("minimal");
}

bool RenderPathChoice::isSoftwarePreferred(const QString &platformName, const std::optional<Driver> &driver)
{
    // Without a context the OpenGL widget would stay black.
    return isHeadlessPlatform(platformName) || !driver || isSoftwareDriver(*driver);
}

bool RenderPathChoice::isSoftwarePreferredHere()
{
    // The driver cannot change while the program runs: one throwaway context answers for every caller.
    static const bool software = [] {
        const QString platform = QGuiApplication::platformName();
        if (isHeadlessPlatform(platform))
            return true;
        const auto driver = probeDriver();
        if (driver)
            qCInfo(lcRenderPath, "[RenderPathChoice] OpenGL renderer \"%s\" by \"%s\"",
                   qPrintable(driver->renderer), qPrintable(driver->vendor));
        return isSoftwarePreferred(platform, driver);
    }();
    return software;
}
