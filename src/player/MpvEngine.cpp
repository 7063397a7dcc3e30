#include "player/MpvEngine.h"

#include "player/EngineTeardown.h"
#include "player/FrameSteps.h"
#include "player/MpvCore.h"
#include "player/MpvGLWidget.h"
#include "player/MpvImageWidget.h"
#include "player/MpvSoftwareRender.h"
#include "player/RenderPathChoice.h"

#include <QGuiApplication>
#include <QMetaObject>
#include <QtGlobal>

#include <algorithm>
#include <cmath>
#include <mutex>
#include <utility>
#include <vector>

#include <mpv/client.h>

namespace {

// Everything the engine reads of the core comes as observed properties and replies: reading a property
// waits for the core, which is busy for hundreds of milliseconds while it opens a file or seeks.
enum ObservedProperty : uint64_t
{
    TimePos = 1,
    EofReached = 2,
    DroppedPictures = 3,
};

// Reply tags: a refused seek must not keep the next one waiting; a load's reply names its playlist entry; a
// load waits for the stop before it, which the core might otherwise carry out after it.
constexpr uint64_t SEEK_REPLY = 100;
constexpr uint64_t LOAD_REPLY = 101;
constexpr uint64_t STOP_REPLY = 102;
// The core's time read right behind a pause: the picture it rests on, its queued pictures shown.
constexpr uint64_t RESTING_TIME_REPLY = 103;

MpvEngine::RenderMode automaticMode()
{
    return RenderPathChoice::isSoftwarePreferredHere() ? MpvEngine::RenderMode::Software
                                                       : MpvEngine::RenderMode::OpenGL;
}

} // namespace

MpvEngine::MpvEngine(RenderMode mode, QObject *parent)
    : MediaEngine(parent), _mode(mode), _load(LOAD_REPLY, STOP_REPLY),
      _settle(this,
              {[this] {
                   return mpv_get_property_async(_mpv, RESTING_TIME_REPLY, "time-pos", MPV_FORMAT_DOUBLE) >=
                          0;
               },
               [this] { return _timePos; }, [this] { return _shownTime; }, [this] { return _frameRate; },
               [this](std::optional<double> restSec) { onSettled(restSec); }})
{
    if (_mode == RenderMode::Automatic)
        _mode = automaticMode();

    _mpv = MpvCore::create();

    mpv_observe_property(_mpv, TimePos, "time-pos", MPV_FORMAT_DOUBLE);
    mpv_observe_property(_mpv, EofReached, "eof-reached", MPV_FORMAT_FLAG);
    mpv_observe_property(_mpv, DroppedPictures, "frame-drop-count", MPV_FORMAT_INT64);
    // Runs on mpv's threads: only hop to the main thread.
    mpv_set_wakeup_callback(
        _mpv,
        [](void *ctx) {
            auto *engine = static_cast<MpvEngine *>(ctx);
            QMetaObject::invokeMethod(engine, &MpvEngine::drainEvents, Qt::QueuedConnection);
        },
        this);

    if (_mode == RenderMode::Software) {
        // Queued by name: the call is made inside Qt, and the picture waits in the render thread. The
        // thread outlives the engine while the core ends.
        _software = std::make_shared<MpvSoftwareRender>(_mpv, [receiver = _pictureReceiver] {
            const std::lock_guard lock(receiver->mutex);
            if (receiver->engine)
                QMetaObject::invokeMethod(receiver->engine, "takeSoftwarePicture", Qt::QueuedConnection);
        });
        _renderContexts = 1;
        connect(this, &MpvEngine::pausedSeekFinished, this, [this] {
            if (_software)
                _software->thread().requestRedraw();
        });
    }
}

MpvEngine::~MpvEngine()
{
    // Render contexts must go before the core they belong to; an OpenGL one on this thread, in its widget.
    emit aboutToClose();
    {
        const std::lock_guard lock(_pictureReceiver->mutex);
        _pictureReceiver->engine = nullptr;
    }
    mpv_set_wakeup_callback(_mpv, nullptr, nullptr);
    // The core waits for its file to close; the render thread may be drawing. Neither holds up this thread.
    EngineTeardown::run([software = std::move(_software), core = _mpv]() mutable {
        software.reset();
        mpv_terminate_destroy(core);
    });
}

bool MpvEngine::canPlay(const QString &path) const
{
    return _load.probe(path).playable;
}

void MpvEngine::replaceItem(const QString &path)
{
    // Duration and frame rate are known at once, as the panel seeks right after replacing.
    const MpvItemLoad::Probe probed = _load.probe(path);
    _hasItem = true;
    _status = Status::Unknown;
    _timePos = 0.0;
    _shownTime = 0.0;
    _reportedTime.reset();
    _frameRate = probed.frameRate;
    _shown.setFrameInterval(_frameRate > 0.0 ? 1.0 / _frameRate : 0.0);
    _shown.rest(0.0);
    _durationMs = probed.durationMs;
    _eofReached = false;
    _endPending = false;
    _pausedAfterSeek = false;
    _load.ask(path);
    _seeks.clear();
    _settle.end(std::nullopt);
    setRate(0.0);
    // Sent once this pass of the event loop is over, so that the seek the panel asks for right after it
    // goes with the load.
    QMetaObject::invokeMethod(this, &MpvEngine::issueLoad, Qt::QueuedConnection);
}

void MpvEngine::issueLoad()
{
    // Without a render context mpv would open the file with video disabled.
    if (_renderContexts == 0 || !_load.isDue())
        return;
    // The item's first seek is the load's start: loaded without one, the core shows the file's first picture
    // while it waits, and the seek's own only after the file is open and the seek has decoded up to it.
    std::optional<double> start;
    if (const auto target = _seeks.take()) {
        start = pictureStart(*target);
        _timePos = _shownTime = *start;
        _shown.rest(*start);
    }
    if (!_load.send(_mpv, start)) {
        _seeks.clear();
        _status = Status::Failed;
        emit statusChanged();
    }
}

double MpvEngine::pictureStart(qint64 targetMs) const
{
    // mpv's exact seek shows the first picture from a few ms before the target on, which is the next
    // picture for a target inside one: go to the start of the picture at or before the target.
    if (_frameRate > 0.0)
        return double(FrameSteps::pictureAt(targetMs, _frameRate)) / _frameRate;
    return targetMs / 1000.0;
}

void MpvEngine::removeItem()
{
    _hasItem = false;
    _load.drop();
    _seeks.clear();
    _status = Status::Unknown;
    _timePos = 0.0;
    _shownTime = 0.0;
    _reportedTime.reset();
    _endPending = false;
    _pausedAfterSeek = false;
    _settle.end(std::nullopt);
    setRate(0.0);
    _load.stop(_mpv);
}

void MpvEngine::setRate(double rate)
{
    const double playedAt = _rate;
    _rate = rate > 0.0 ? rate : 0.0;
    _pausedAfterSeek = _pausedAfterSeek && _rate == 0.0;
    if (_rate > 0.0) {
        _settle.end(std::nullopt);
        sendSpeed(_rate);
    }
    int paused = _rate > 0.0 ? 0 : 1;
    mpv_set_property_async(_mpv, 0, "pause", MPV_FORMAT_FLAG, &paused);
    if (playedAt == 0.0 || _rate > 0.0 || !isReadyToPlay())
        return;
    // The core shows the pictures it had queued before the pause took; until the one it rests on is on
    // screen the pictures still count at the rate played.
    _settle.start(playedAt);
}

void MpvEngine::onSettled(std::optional<double> restSec)
{
    if (restSec && isReadyToPlay()) {
        _shown.rest(*restSec, tally());
        _shownTime = *restSec;
        if (_reportedTime != *restSec) {
            _reportedTime = *restSec;
            emit frameShown(*restSec);
        }
    }
    emit pauseSettled();
}

void MpvEngine::presetRate(double rate)
{
    if (rate > 0.0 && _rate == 0.0)
        sendSpeed(rate);
}

void MpvEngine::sendSpeed(double speed)
{
    if (speed == _speed)
        return;
    _speed = speed;
    mpv_set_property_async(_mpv, 0, "speed", MPV_FORMAT_DOUBLE, &speed);
}

void MpvEngine::seekExact(qint64 timeMs)
{
    if (!_hasItem)
        return;
    _eofReached = false;
    _endPending = false;
    // The seek's picture replaces whatever the pause had on its way.
    _settle.end(std::nullopt);
    // Targets asked for in one pass of the event loop become one seek, to the last of them.
    if (_seeks.request(timeMs))
        QMetaObject::invokeMethod(this, &MpvEngine::flushSeek, Qt::QueuedConnection);
}

void MpvEngine::flushSeek()
{
    // An item that is still opening takes the seek once it is loaded.
    if (!_hasItem || _status != Status::ReadyToPlay)
        return;
    const auto target = _seeks.take();
    if (!target)
        return;
    const QByteArray seconds = QByteArray::number(pictureStart(*target), 'f', 6);
    const char *args[] = {"seek", seconds.constData(), "absolute+exact", nullptr};
    mpv_command_async(_mpv, SEEK_REPLY, args);
    // A core at the file's end pauses itself again (keep-open) when told to play before the seek away from
    // the end reaches it: playing goes again after the seek.
    if (_rate > 0.0) {
        int paused = 0;
        mpv_set_property_async(_mpv, 0, "pause", MPV_FORMAT_FLAG, &paused);
    }
}

void MpvEngine::setVolume(double volume)
{
    _volume = std::clamp(volume, 0.0, 1.0);
    double percent = _volume * 100.0;
    mpv_set_property_async(_mpv, 0, "volume", MPV_FORMAT_DOUBLE, &percent);
}

void MpvEngine::setMuted(bool muted)
{
    _muted = muted;
    int flag = muted ? 1 : 0;
    mpv_set_property_async(_mpv, 0, "mute", MPV_FORMAT_FLAG, &flag);
}

void MpvEngine::setBrightness(double brightness)
{
    _brightness = std::clamp(brightness, -1.0, 1.0);
    // mpv's software renderer has no colour controls: the render thread lays the offset on each picture
    // and draws the one on screen again, without the core. The OpenGL renderer redraws it itself.
    if (_software) {
        _software->thread().setBrightness(_brightness);
        return;
    }
    int64_t value = mpvBrightness();
    mpv_set_property_async(_mpv, 0, "brightness", MPV_FORMAT_INT64, &value);
}

void MpvEngine::setSoftwareSize(QSize size)
{
    if (_software)
        _software->setSize(size);
}

int MpvEngine::mpvBrightness() const
{
    return static_cast<int>(std::lround(_brightness * 100.0));
}

QWidget *MpvEngine::createVideoWidget(QWidget *parent)
{
    if (_mode == RenderMode::Software)
        return new MpvImageWidget(this, parent);
    return new MpvGLWidget(this, parent);
}

void MpvEngine::renderContextCreated()
{
    ++_renderContexts;
    issueLoad();
}

void MpvEngine::renderContextFreed()
{
    _renderContexts = std::max(0, _renderContexts - 1);
}

void MpvEngine::noteFrameHandedOver(std::optional<int64_t> targetUs)
{
    drainEvents();
    // The report is read now, which may be well after the picture's display time on a busy main thread.
    const int64_t reportUs = mpv_get_time_us(_mpv);
    if (_rate > 0.0)
        _shown.handedOver(targetUs, _rate, _timePos, reportUs, tally());
    else if (_settle.isSettling())
        _shown.handedOver(targetUs, _settle.playRate(), _timePos, reportUs, tally());
}

std::optional<ShownFrameTracker::Tally> MpvEngine::tally() const
{
    if (!_drawnNumber)
        return std::nullopt;
    return ShownFrameTracker::Tally{*_drawnNumber, _droppedPictures};
}

void MpvEngine::noteFrameRendered()
{
    // Until the item's file is open, what is drawn is the previous file's picture or none.
    if (!isReadyToPlay())
        return;
    // Playing, and paused from play until the core's last pictures are shown, the count of pictures handed
    // over says which one shows (a picture drawn again is the same one); paused, the latest reported (a
    // paused seek's own time may still be on its way: it updates the shown time when it comes).
    const bool counting = _rate > 0.0 || _settle.isSettling();
    const double time = counting ? _shown.time() : _timePos;
    if (!counting)
        _shown.rest(time, tally());
    _shownTime = time;
    // A paused picture drawn again (a brightness change, a new size, a redraw after a seek) is no new
    // picture unless it shows another time.
    if (_rate > 0.0 || _reportedTime != time) {
        _reportedTime = time;
        emit frameShown(time);
    }
    _settle.check();
}

// Main thread: runs after mpv's wakeup callback.
void MpvEngine::drainEvents()
{
    while (_mpv) {
        mpv_event *event = mpv_wait_event(_mpv, 0);
        if (event->event_id == MPV_EVENT_NONE)
            break;
        handleEvent(*event);
    }
}

void MpvEngine::handleEvent(const mpv_event &event)
{
    if (applyLoad(_load.take(event, _hasItem)))
        return;
    switch (event.event_id) {
    case MPV_EVENT_PLAYBACK_RESTART:
        // A seek finished: the next merged target may go.
        _seeks.finished();
        flushSeek();
        if (_rate == 0.0) {
            _pausedAfterSeek = true;
            emit pausedSeekFinished();
        }
        break;
    case MPV_EVENT_COMMAND_REPLY:
        if (event.reply_userdata == SEEK_REPLY && event.error < 0) {
            _seeks.finished();
            flushSeek();
        }
        break;
    case MPV_EVENT_GET_PROPERTY_REPLY:
        if (event.reply_userdata == RESTING_TIME_REPLY)
            _settle.takeReply(event);
        break;
    case MPV_EVENT_PROPERTY_CHANGE: {
        const auto *property = static_cast<mpv_event_property *>(event.data);
        if (event.reply_userdata == TimePos && property->format == MPV_FORMAT_DOUBLE) {
            _timePos = *static_cast<double *>(property->data);
            // A paused seek's picture may be drawn before its time is reported.
            if (_rate == 0.0 && _pausedAfterSeek) {
                _shownTime = _timePos;
                _shown.rest(_timePos, tally());
            }
        } else if (event.reply_userdata == DroppedPictures && property->format == MPV_FORMAT_INT64) {
            _droppedPictures = *static_cast<int64_t *>(property->data);
            // Dropped before the rest, reported after it: the count starts after them.
            if (_rate == 0.0 && !_settle.isSettling() && isReadyToPlay())
                _shown.rest(_shownTime, tally());
        } else if (event.reply_userdata == EofReached && property->format == MPV_FORMAT_FLAG) {
            const bool eof = *static_cast<int *>(property->data) != 0;
            if (eof && !_eofReached && _status == Status::ReadyToPlay) {
                _eofReached = true;
                reachEnd();
            }
            _eofReached = eof;
        }
        break;
    }
    default:
        break;
    }
}

bool MpvEngine::applyLoad(MpvItemLoad::Outcome outcome)
{
    using Outcome = MpvItemLoad::Outcome;
    if (outcome == Outcome::Loaded) {
        onFileLoaded();
    } else if (outcome == Outcome::Failed) {
        _status = Status::Failed;
        emit statusChanged();
    } else if (outcome == Outcome::EndOfFile) {
        _rate = 0.0;
        emit endOfItem();
    } else if (outcome == Outcome::Stopped) {
        issueLoad();
    }
    return outcome != Outcome::None;
}

void MpvEngine::reachEnd()
{
    // keep-open pauses the core on the file's last picture, as a media player's rate drops to 0. On a busy
    // machine the core gets there while its last pictures are still on their way to the screen: the item
    // ends once the core's current picture, drawn again behind them, is shown, and the pictures before it
    // count as played.
    _endPending = true;
    if (_software)
        _endRedraw = _software->thread().requestRedraw();
    else if (_renderContexts > 0)
        emit endPictureDue();
    else
        noteEndPictureDrawn();
}

void MpvEngine::noteEndPictureDrawn()
{
    if (!_endPending)
        return;
    _endPending = false;
    _rate = 0.0;
    // A pause in the last pictures rests on the last one.
    if (_settle.isSettling())
        _settle.end(_timePos);
    else
        noteFrameRendered();
    emit endOfItem();
}

void MpvEngine::onFileLoaded()
{
    // The duration and frame rate are the container's, read before the load (MpvItemLoad::probe).
    _status = Status::ReadyToPlay;
    _playerReady = true;
    flushSeek();
    emit statusChanged();
}

// Main thread: the render thread's picture, at its display time.
void MpvEngine::takeSoftwarePicture()
{
    auto picture = _software ? _software->thread().takePicture() : std::nullopt;
    if (!picture)
        return;
    _softwareFrame = std::move(picture->image);
    _drawnNumber = picture->drawnNumber;
    if (picture->newFrame)
        noteFrameHandedOver(picture->targetUs > 0 ? std::optional(picture->targetUs) : std::nullopt);
    else
        drainEvents();
    emit softwareFrameChanged();
    if (_endPending && picture->redraws >= _endRedraw)
        noteEndPictureDrawn();
    else
        noteFrameRendered();
}
