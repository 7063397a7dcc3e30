#include "player/SoftwareRenderThread.h"

#include <mpv/render.h>

#include <algorithm>
#include <chrono>
#include <cmath>

namespace {

// mpv's software renderer writes four bytes a pixel in "bgr0" order: QImage::Format_RGB32 in memory once the
// fourth byte is made opaque, the format a window's backing store has, so that painting it is a plain copy
// (another format is converted on the main thread for every picture).
constexpr const char *SOFTWARE_FORMAT = "bgr0";
constexpr QImage::Format PICTURE_FORMAT = QImage::Format_RGB32;

} // namespace

SoftwareRenderThread::SoftwareRenderThread(mpv_render_context *context, MpvClock clock, Notify notify)
    : _context(context), _clock(std::move(clock)), _notify(std::move(notify))
{
    // Runs on mpv's threads, which must not wait here: only note it.
    mpv_render_context_set_update_callback(
        _context,
        [](void *self) {
            auto *thread = static_cast<SoftwareRenderThread *>(self);
            {
                const std::lock_guard lock(thread->_mutex);
                thread->_updatePending = true;
            }
            thread->_wake.notify_one();
        },
        this);
    _thread = std::thread([this] { run(); });
}

SoftwareRenderThread::~SoftwareRenderThread()
{
    {
        const std::lock_guard lock(_mutex);
        _stopping = true;
    }
    _wake.notify_one();
    _thread.join();
    mpv_render_context_set_update_callback(_context, nullptr, nullptr);
}

template <typename T> void SoftwareRenderThread::redrawWith(T &setting, const T &value)
{
    {
        const std::lock_guard lock(_mutex);
        if (setting == value)
            return;
        setting = value;
        _redrawPending = true;
    }
    _wake.notify_one();
}

void SoftwareRenderThread::setSize(QSize size)
{
    if (!size.isEmpty())
        redrawWith(_size, size);
}

void SoftwareRenderThread::setBrightness(double brightness)
{
    redrawWith(_brightness, brightness);
}

uint64_t SoftwareRenderThread::requestRedraw()
{
    uint64_t asked = 0;
    {
        const std::lock_guard lock(_mutex);
        _redrawPending = true;
        asked = ++_redrawsAsked;
    }
    _wake.notify_one();
    return asked;
}

void SoftwareRenderThread::finishPicture(QImage &image, double brightness)
{
    // Read once: the image's accessors are calls into Qt, too dear for every pixel.
    const int width = image.width(), height = image.height();
    if (brightness == 0.0) {
        for (int y = 0; y < height; ++y) {
            auto *pixel = reinterpret_cast<uint32_t *>(image.scanLine(y));
            for (int x = 0; x < width; ++x)
                pixel[x] |= 0xff000000u;
        }
        return;
    }
    std::array<uchar, 256> table{};
    const double offset = brightness * 255.0;
    for (int level = 0; level < 256; ++level)
        table[size_t(level)] = uchar(std::clamp<long>(std::lround(level + offset), 0, 255));
    for (int y = 0; y < height; ++y) {
        uchar *pixel = image.scanLine(y);
        for (int x = 0; x < width; ++x, pixel += 4) {
            pixel[0] = table[pixel[0]];
            pixel[1] = table[pixel[1]];
            pixel[2] = table[pixel[2]];
            pixel[3] = 0xff;
        }
    }
}

SoftwareRenderThread::Picture SoftwareRenderThread::supersede(const std::optional<Picture> &untaken,
                                                              Picture next)
{
    // A redraw (a brightness change, a paused seek's) drawn over a new picture not yet taken: dropping the
    // new one would lose it from the count of pictures shown while playing.
    if (untaken && untaken->newFrame && !next.newFrame) {
        next.newFrame = true;
        next.targetUs = untaken->targetUs;
    }
    return next;
}

std::optional<SoftwareRenderThread::Picture> SoftwareRenderThread::takePicture()
{
    const std::lock_guard lock(_mutex);
    return std::exchange(_due, std::nullopt);
}

QImage &SoftwareRenderThread::freeBuffer(QSize size)
{
    // The main thread drops its copy of a picture when the next one reaches it.
    for (QImage &buffer : _buffers) {
        if (buffer.isNull() || buffer.isDetached()) {
            if (buffer.size() != size)
                buffer = QImage(size, PICTURE_FORMAT);
            return buffer;
        }
    }
    // All three still shown somewhere: a new one rather than drawing over a picture on screen.
    _buffers[0] = QImage(size, PICTURE_FORMAT);
    return _buffers[0];
}

// The render thread: only mpv_render_* calls and the clock reading, as mpv's render API asks.
void SoftwareRenderThread::run()
{
    for (;;) {
        QSize size;
        double brightness = 0.0;
        bool update = false, redraw = false;
        uint64_t redraws = 0;
        {
            std::unique_lock lock(_mutex);
            _wake.wait(lock, [this] { return _stopping || _updatePending || _redrawPending; });
            if (_stopping)
                return;
            update = std::exchange(_updatePending, false);
            redraw = std::exchange(_redrawPending, false);
            size = _size;
            brightness = _brightness;
            redraws = _redrawsAsked;
        }
        int64_t targetUs = 0;
        bool newFrame = false;
        if (update && (mpv_render_context_update(_context) & MPV_RENDER_UPDATE_FRAME)) {
            mpv_render_frame_info info{};
            mpv_render_param next{MPV_RENDER_PARAM_NEXT_FRAME_INFO, &info};
            if (mpv_render_context_get_info(_context, next) >= 0) {
                targetUs = std::max<int64_t>(info.target_time, 0);
                // Without a frame present the core's current one is drawn again: one the core gave up waiting
                // for, which it counts as dropped.
                newFrame = (info.flags & MPV_RENDER_FRAME_INFO_PRESENT) &&
                           !(info.flags & (MPV_RENDER_FRAME_INFO_REDRAW | MPV_RENDER_FRAME_INFO_REPEAT));
            }
        } else if (!redraw || !_hasPicture) {
            continue;
        }
        QImage &buffer = freeBuffer(size);
        int wh[2] = {size.width(), size.height()};
        size_t stride = static_cast<size_t>(buffer.bytesPerLine());
        // Not blocking for the display time inside the render: the core may be told to pause or seek
        // meanwhile, and the wait below can be cut short for the end.
        int block = 0;
        mpv_render_param params[] = {
            {MPV_RENDER_PARAM_SW_SIZE, wh},
            {MPV_RENDER_PARAM_SW_FORMAT, const_cast<char *>(SOFTWARE_FORMAT)},
            {MPV_RENDER_PARAM_SW_STRIDE, &stride},
            {MPV_RENDER_PARAM_SW_POINTER, buffer.bits()},
            {MPV_RENDER_PARAM_BLOCK_FOR_TARGET_TIME, &block},
            {MPV_RENDER_PARAM_INVALID, nullptr},
        };
        if (mpv_render_context_render(_context, params) < 0)
            continue;
        _hasPicture = true;
        _drawnNumber += newFrame ? 1 : 0;
        finishPicture(buffer, brightness);
        // The core hands a picture over before its display time: it goes on screen then.
        if (targetUs > 0) {
            const int64_t waitUs = targetUs - _clock();
            if (waitUs > 0) {
                std::unique_lock lock(_mutex);
                _wake.wait_for(lock, std::chrono::microseconds(waitUs), [this] { return _stopping; });
                if (_stopping)
                    return;
            }
        }
        {
            const std::lock_guard lock(_mutex);
            _due = supersede(_due, Picture{buffer, targetUs, newFrame, redraws, _drawnNumber});
        }
        _notify();
    }
}
