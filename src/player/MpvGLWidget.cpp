#include "player/MpvGLWidget.h"

#include "player/MpvEngine.h"

#include <QMetaObject>
#include <QOpenGLContext>

#include <mpv/client.h>
#include <mpv/render_gl.h>

namespace {

void *procAddress(void *, const char *name)
{
    QOpenGLContext *context = QOpenGLContext::currentContext();
    return context ? reinterpret_cast<void *>(context->getProcAddress(name)) : nullptr;
}

} // namespace

MpvGLWidget::MpvGLWidget(MpvEngine *engine, QWidget *parent) : QOpenGLWidget(parent), _engine(engine)
{
    // The core goes with the engine; the render context has to be freed first.
    connect(engine, &MpvEngine::aboutToClose, this, &MpvGLWidget::freeContext, Qt::DirectConnection);
    _drawTimer.setSingleShot(true);
    _drawTimer.setTimerType(Qt::PreciseTimer);
    connect(&_drawTimer, &QTimer::timeout, this, &MpvGLWidget::drawFrame);
    connect(engine, &MpvEngine::pausedSeekFinished, this, &MpvGLWidget::onUpdate, Qt::QueuedConnection);
    // Drawn on this thread, the render draws the core's latest picture: at the end, its last.
    connect(engine, &MpvEngine::endPictureDue, this, [this] {
        draw();
        if (_engine)
            _engine->noteEndPictureDrawn();
    });
}

MpvGLWidget::~MpvGLWidget()
{
    freeContext();
}

void MpvGLWidget::initializeGL()
{
    if (!_engine || _context)
        return;
    mpv_opengl_init_params glInit{&procAddress, nullptr};
    mpv_render_param params[] = {
        {MPV_RENDER_PARAM_API_TYPE, const_cast<char *>(MPV_RENDER_API_TYPE_OPENGL)},
        {MPV_RENDER_PARAM_OPENGL_INIT_PARAMS, &glInit},
        {MPV_RENDER_PARAM_INVALID, nullptr},
    };
    if (mpv_render_context_create(&_context, _engine->handle(), params) < 0) {
        qWarning("[MpvGLWidget] OpenGL render context could not be created");
        _context = nullptr;
        return;
    }
    // Runs on mpv's threads: only hop to the main thread.
    mpv_render_context_set_update_callback(
        _context,
        [](void *ctx) {
            auto *widget = static_cast<MpvGLWidget *>(ctx);
            QMetaObject::invokeMethod(widget, &MpvGLWidget::onUpdate, Qt::QueuedConnection);
        },
        this);
    _engine->renderContextCreated();
}

void MpvGLWidget::paintGL()
{
    if (!_context)
        return;
    const qreal ratio = devicePixelRatioF();
    mpv_opengl_fbo fbo{static_cast<int>(defaultFramebufferObject()), static_cast<int>(width() * ratio),
                       static_cast<int>(height() * ratio), 0};
    int flipY = 1;
    // By default a render waits for its frame's display time, on the main thread that also runs
    // the clock and the second engine's widget: the frame is due when mpv asks for the update.
    int block = 0;
    mpv_render_param params[] = {
        {MPV_RENDER_PARAM_OPENGL_FBO, &fbo},
        {MPV_RENDER_PARAM_FLIP_Y, &flipY},
        {MPV_RENDER_PARAM_BLOCK_FOR_TARGET_TIME, &block},
        {MPV_RENDER_PARAM_INVALID, nullptr},
    };
    mpv_render_context_render(_context, params);
}

// Main thread.
void MpvGLWidget::onUpdate()
{
    if (!_context)
        return;
    if (!(mpv_render_context_update(_context) & MPV_RENDER_UPDATE_FRAME)) {
        if (_engine && _engine->isPausedAfterSeek() && !_drawTimer.isActive())
            drawFrame();
        return;
    }
    // mpv hands a playing frame over before its display time: draw it when it is due.
    mpv_render_frame_info info{};
    mpv_render_param next{MPV_RENDER_PARAM_NEXT_FRAME_INFO, &info};
    int64_t waitUs = 0;
    const bool known = _engine && mpv_render_context_get_info(_context, next) >= 0;
    if (known && info.target_time > 0)
        waitUs = info.target_time - mpv_get_time_us(_engine->handle());
    // A redraw or a repeat shows the picture on screen again: no new picture to count.
    if (known && !(info.flags & (MPV_RENDER_FRAME_INFO_REDRAW | MPV_RENDER_FRAME_INFO_REPEAT)))
        _engine->noteFrameHandedOver(info.target_time > 0 ? std::optional(info.target_time) : std::nullopt);
    if (waitUs > 1000) {
        _drawTimer.start(static_cast<int>(waitUs / 1000));
        return;
    }
    drawFrame();
}

void MpvGLWidget::drawFrame()
{
    if (!draw())
        return;
    if (_engine)
        _engine->noteFrameRendered();
}

bool MpvGLWidget::draw()
{
    _drawTimer.stop();
    if (!_context)
        return false;
    if (window()->isMinimized() || !isVisible()) {
        // No paint event comes while hidden; draw anyway so mpv's frame queue keeps moving.
        makeCurrent();
        paintGL();
        doneCurrent();
    } else {
        update();
    }
    return true;
}

void MpvGLWidget::freeContext()
{
    if (!_context)
        return;
    makeCurrent();
    mpv_render_context_set_update_callback(_context, nullptr, nullptr);
    mpv_render_context_free(_context);
    _context = nullptr;
    doneCurrent();
    if (_engine)
        _engine->renderContextFreed();
}
