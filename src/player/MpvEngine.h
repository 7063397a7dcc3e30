// The media engine over libmpv: one mpv core per engine, the picture through mpv's render API.
#pragma once

#include "player/MediaEngine.h"
#include "player/MpvItemLoad.h"
#include "player/PauseSettle.h"
#include "player/SeekMerger.h"
#include "player/ShownFrameTracker.h"

#include <QImage>
#include <QSize>
#include <QString>

#include <memory>
#include <mutex>
#include <optional>
#include <utility>

struct mpv_handle;
struct mpv_event;
class MpvSoftwareRender;

class MpvEngine : public MediaEngine
{
    Q_OBJECT
public:
    enum class RenderMode
    {
        // OpenGL on a display with a hardware driver; software without a display (the offscreen
        // platform) and on a software OpenGL driver (RenderPathChoice).
        Automatic,
        // mpv's OpenGL render context inside the video widget.
        OpenGL,
        // mpv's software renderer into a QImage, on a thread of the engine's own; the video widget paints it.
        Software
    };

    explicit MpvEngine(RenderMode mode = RenderMode::Automatic, QObject *parent = nullptr);
    ~MpvEngine() override;

    bool canPlay(const QString &path) const override;
    void replaceItem(const QString &path) override;
    void removeItem() override;
    bool hasItem() const override { return _hasItem; }
    Status status() const override { return _status; }
    bool isPlayerReady() const override { return _playerReady; }
    void setRate(double rate) override;
    double rate() const override { return _rate; }
    void presetRate(double rate) override;
    bool isSettlingPause() const override { return _settle.isSettling(); }
    void seekExact(qint64 timeMs) override;
    double currentTime() const override { return _shownTime; }
    double frameRate() const override { return _hasItem ? _frameRate : 0.0; }
    qint64 durationMs() const override { return _hasItem ? _durationMs : 0; }
    void setVolume(double volume) override;
    double volume() const override { return _volume; }
    void setMuted(bool muted) override;
    bool isMuted() const override { return _muted; }
    void setBrightness(double brightness) override;
    double brightness() const override { return _brightness; }
    QWidget *createVideoWidget(QWidget *parent) override;

    bool isSoftwareRender() const { return _mode == RenderMode::Software; }
    // The last picture of the software renderer (null in OpenGL mode or before the first frame).
    const QImage &softwareFrame() const { return _softwareFrame; }
    // The size the software renderer draws at: the video widget's, in device pixels.
    void setSoftwareSize(QSize size);
    // mpv's own "brightness" property (-100 to 100) as last set.
    int mpvBrightness() const;

    // For the OpenGL widget: the core its render context attaches to, and the hand-shake that
    // lets items load only once a render context exists (mpv disables video without one).
    mpv_handle *handle() const { return _mpv; }
    void renderContextCreated();
    void renderContextFreed();
    // Called when a render context has a new picture to draw (its display time on mpv's clock, if the
    // core gave one), and after it drew it or drew the picture on screen again.
    void noteFrameHandedOver(std::optional<int64_t> targetUs);
    void noteFrameRendered();
    // Called after the core's current picture was drawn once the item reached its end (endPictureDue): the
    // item rests on it, its last picture, and ends.
    void noteEndPictureDrawn();
    // Paused since a seek finished: an update without a new frame may mean the core made the seek's
    // frame current undrawn, after waiting 200 ms for a busy main thread; drawing the current frame
    // shows it.
    bool isPausedAfterSeek() const { return _rate == 0.0 && _pausedAfterSeek && isReadyToPlay(); }

signals:
    // The render contexts of video widgets must be freed now: the core is going away.
    void aboutToClose();
    // The software renderer produced a new picture.
    void softwareFrameChanged();
    // A seek finished while paused: its picture is due.
    void pausedSeekFinished();
    // The item reached its end: the core's current picture, its last, is to be drawn again (OpenGL).
    void endPictureDue();

private:
    void drainEvents();
    void handleEvent(const mpv_event &event);
    // What one of the core's events meant for the item; false when nothing.
    bool applyLoad(MpvItemLoad::Outcome outcome);
    void onFileLoaded();
    void issueLoad();
    // Main thread: the software renderer's latest picture, at its display time.
    Q_INVOKABLE void takeSoftwarePicture();
    // The core paused at the end of the file; the item ends once its last picture is drawn.
    void reachEnd();
    // Sends the core's playing speed when it changed.
    void sendSpeed(double speed);
    // Sends the merged seek target, when the core has none in flight.
    void flushSeek();
    // Seconds into the item of the start of the picture at or before the target.
    double pictureStart(qint64 targetMs) const;
    // The pictures gone by the one on screen, where the renderer numbers them.
    std::optional<ShownFrameTracker::Tally> tally() const;
    // A pause from play is over: the picture the core rests on is on screen, at restSec if known.
    void onSettled(std::optional<double> restSec);

    RenderMode _mode;
    mpv_handle *_mpv = nullptr;
    // Software mode only; it goes before the core.
    std::shared_ptr<MpvSoftwareRender> _software;
    // Where the render thread's pictures are announced: this engine until it goes.
    struct PictureReceiver
    {
        explicit PictureReceiver(MpvEngine *receiver) : engine(receiver) {}
        std::mutex mutex;
        MpvEngine *engine;
    };
    std::shared_ptr<PictureReceiver> _pictureReceiver = std::make_shared<PictureReceiver>(this);
    int _renderContexts = 0;
    SeekMerger _seeks;
    MpvItemLoad _load;

    bool _playerReady = false;
    bool _hasItem = false;
    Status _status = Status::Unknown;
    double _rate = 0.0;
    // The speed last sent to the core: a change makes it rebuild its sound filters, which holds the
    // picture for a while (130 ms at 2x).
    double _speed = 1.0;
    double _timePos = 0.0;
    // Time of the frame last rendered: the one on screen.
    double _shownTime = 0.0;
    // The time frameShown last reported for the item.
    std::optional<double> _reportedTime;
    // Which picture shows while playing.
    ShownFrameTracker _shown;
    // The software renderer's number of the picture on screen (SoftwareRenderThread::Picture::drawnNumber),
    // and the core's count of the pictures it dropped, as last reported.
    std::optional<uint64_t> _drawnNumber;
    int64_t _droppedPictures = 0;
    double _frameRate = 0.0;
    qint64 _durationMs = 0;
    double _volume = 1.0;
    bool _muted = false;
    double _brightness = 0.0;
    bool _eofReached = false;
    // The core is at the end and the picture drawn for it is on its way (software: the render thread's
    // redraw numbered _endRedraw); the pictures before it still count as played.
    bool _endPending = false;
    uint64_t _endRedraw = 0;
    bool _pausedAfterSeek = false;
    // Paused from play until the picture the core rests on is shown: its pictures still on their way are
    // counted at the rate it played.
    PauseSettle _settle;
    QImage _softwareFrame;
};
