// mpv's software renderer on a core: its render context and the thread that draws with it
// (SoftwareRenderThread). It may end on another thread than the one that made it, but before its core.
#pragma once

#include "player/SoftwareRenderThread.h"

#include <QSize>

#include <memory>

struct mpv_handle;
struct mpv_render_context;

class MpvSoftwareRender
{
public:
    // Ends the program when mpv cannot make the context; notify is called on the render thread when a
    // picture is due.
    MpvSoftwareRender(mpv_handle *core, SoftwareRenderThread::Notify notify);
    // The thread goes first, then the context.
    ~MpvSoftwareRender();
    MpvSoftwareRender(const MpvSoftwareRender &) = delete;
    MpvSoftwareRender &operator=(const MpvSoftwareRender &) = delete;

    SoftwareRenderThread &thread() const { return *_thread; }
    // The size to draw at: the video widget's, in device pixels, up to full HD (the widget scales a larger
    // picture).
    void setSize(QSize size);

private:
    mpv_render_context *_context = nullptr;
    std::unique_ptr<SoftwareRenderThread> _thread;
};
