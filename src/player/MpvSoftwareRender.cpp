#include "player/MpvSoftwareRender.h"

#include <QtGlobal>

#include <chrono>
#include <cstdint>
#include <utility>

#include <mpv/client.h>
#include <mpv/render.h>

namespace {

// The software path serves headless runs and software OpenGL drivers: drawing bigger than this on the CPU
// for every picture would cost more than the picture's interval; the widget scales a larger picture.
constexpr int MAX_SOFTWARE_WIDTH = 1920, MAX_SOFTWARE_HEIGHT = 1080;

int64_t steadyUs()
{
    return std::chrono::duration_cast<std::chrono::microseconds>(
               std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

} // namespace

MpvSoftwareRender::MpvSoftwareRender(mpv_handle *core, SoftwareRenderThread::Notify notify)
{
    mpv_render_param params[] = {
        {MPV_RENDER_PARAM_API_TYPE, const_cast<char *>(MPV_RENDER_API_TYPE_SW)},
        {MPV_RENDER_PARAM_INVALID, nullptr},
    };
    if (mpv_render_context_create(&_context, core, params) < 0)
        qFatal("mpv software render context could not be created");
    // mpv's clock is the steady clock shifted; the render thread must not call into the core for it.
    const int64_t mpvClockOffsetUs = mpv_get_time_us(core) - steadyUs();
    _thread = std::make_unique<SoftwareRenderThread>(
        _context, [mpvClockOffsetUs] { return steadyUs() + mpvClockOffsetUs; }, std::move(notify));
}

MpvSoftwareRender::~MpvSoftwareRender()
{
    _thread.reset();
    mpv_render_context_free(_context);
}

void MpvSoftwareRender::setSize(QSize size)
{
    _thread->setSize(size.boundedTo(QSize(MAX_SOFTWARE_WIDTH, MAX_SOFTWARE_HEIGHT)));
}
