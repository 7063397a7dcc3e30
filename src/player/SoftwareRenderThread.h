// Draws the pictures of one mpv core with mpv's software renderer on a thread of its own, so that the main
// thread only shows them: a picture is drawn as soon as the core hands it over and passed on at its
// display time, at the size the video widget asks for, with the brightness offset laid on.
#pragma once

#include <QImage>
#include <QSize>

#include <array>
#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <functional>
#include <mutex>
#include <optional>
#include <thread>

struct mpv_render_context;

class SoftwareRenderThread
{
public:
    struct Picture
    {
        QImage image;
        // Its display time on mpv's clock (us); 0 when the core gave none (a picture drawn again).
        int64_t targetUs = 0;
        // A new picture of the movie, not the one on screen drawn again (a redraw or a repeat).
        bool newFrame = false;
        // The requestRedraw calls made before it was drawn: it shows the core's picture as of the latest.
        uint64_t redraws = 0;
        // The new pictures drawn so far, this one or the one it draws again included: those drawn over
        // before the main thread took one were on screen as long as it let them be.
        uint64_t drawnNumber = 0;
    };
    // Called on the render thread when a picture is due: takePicture has it.
    using Notify = std::function<void()>;
    // The time on mpv's clock (us), safe to read from any thread.
    using MpvClock = std::function<int64_t()>;

    // Takes over the context's update callback; the caller frees the context after this is gone.
    SoftwareRenderThread(mpv_render_context *context, MpvClock clock, Notify notify);
    ~SoftwareRenderThread();
    SoftwareRenderThread(const SoftwareRenderThread &) = delete;
    SoftwareRenderThread &operator=(const SoftwareRenderThread &) = delete;

    // The size to draw at (device pixels); empty keeps the last one.
    void setSize(QSize size);
    // Brightness offset -1 to 1 added to every colour component; the current picture is drawn again.
    void setBrightness(double brightness);
    // Draws the current picture again (a paused seek whose picture the core made current undrawn, the
    // item's end); the picture drawn for it counts this request in its redraws, which this returns.
    uint64_t requestRedraw();
    // The latest picture due, once: one that came before it and was not taken yet is never shown. A new
    // picture drawn again before it was taken is still handed over as a new one, with its display time.
    std::optional<Picture> takePicture();

    // Makes a picture as mpv drew it opaque and adds the brightness offset (-1 to 1 of full scale) to its
    // colours: 0 leaves them as they are, positive lightens, negative darkens.
    static void finishPicture(QImage &image, double brightness);
    // The picture due once `next` comes while `untaken` still waits: the later image, still counted as
    // the new picture it draws again.
    static Picture supersede(const std::optional<Picture> &untaken, Picture next);

private:
    void run();
    QImage &freeBuffer(QSize size);
    // Changes a setting of the drawing under the lock and draws the current picture again with it.
    template <typename T> void redrawWith(T &setting, const T &value);

    mpv_render_context *_context;
    MpvClock _clock;
    Notify _notify;
    std::mutex _mutex;
    std::condition_variable _wake;
    // Guarded by _mutex.
    bool _updatePending = false;
    bool _redrawPending = false;
    bool _stopping = false;
    uint64_t _redrawsAsked = 0;
    QSize _size{960, 540};
    double _brightness = 0.0;
    // Handed to the main thread under the lock: its own, which the sanitizer sees, unlike Qt's event queue.
    std::optional<Picture> _due;
    // The render thread's own: a picture the main thread still shows is not drawn over.
    std::array<QImage, 3> _buffers;
    bool _hasPicture = false;
    uint64_t _drawnNumber = 0;
    std::thread _thread;
};
