#include "player/MpvEngine.h"

#include "platform/MovieProbe.h"
#include "player/EngineTeardown.h"
#include "player/FrameSteps.h"
#include "player/MpvCore.h"
#include "player/MpvGLWidget.h"
#include "player/MpvImageWidget.h"
#include "player/RenderPathChoice.h"
#include "player/SoftwareRenderThread.h"

#include <QGuiApplication>
#include <QMetaObject>
#include <QTimer>
#include <QtGlobal>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <mutex>
#include <utility>
#include <vector>

#include <mpv/client.h>
#include <mpv/render.h>

namespace {

// Everything the engine reads of the core comes as observed properties and replies: reading a property
// waits for the core, which is busy for hundreds of milliseconds while it opens a file or seeks.
enum ObservedProperty : uint64_t
{
    TimePos = 1,
    EofReached = 2,
};

// Reply tags: a refused seek must not keep the next one waiting; a load's reply names its playlist entry; a
// load waits for the stop before it, which the core might otherwise carry out after it.
constexpr uint64_t SEEK_REPLY = 100;
constexpr uint64_t LOAD_REPLY = 101;
constexpr uint64_t STOP_REPLY = 102;
// The core's time read right behind a pause: the picture it rests on, its queued pictures shown.
constexpr uint64_t RESTING_TIME_REPLY = 103;
// A pause's last pictures are due within a picture interval or two; a core that drew its resting picture
// without a new picture (a dropped one drawn again) is taken at its word after this. A core that does not
// answer at all leaves the picture as it is after the longer limit.
constexpr int SETTLE_LIMIT_MS = 300;
constexpr int SETTLE_ANSWER_LIMIT_MS = 1500;

// The software path serves headless runs and software OpenGL drivers: drawing bigger than this on the CPU
// for every picture would cost more than the picture's interval; the widget scales a larger picture.
constexpr int MAX_SOFTWARE_WIDTH = 1920, MAX_SOFTWARE_HEIGHT = 1080;

int64_t steadyUs()
{
    return std::chrono::duration_cast<std::chrono::microseconds>(
               std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

MpvEngine::RenderMode automaticMode()
{
    return RenderPathChoice::isSoftwarePreferredHere() ? MpvEngine::RenderMode::Software
                                                       : MpvEngine::RenderMode::OpenGL;
}

} // namespace

MpvEngine::MpvEngine(RenderMode mode, QObject *parent) : MediaEngine(parent), _mode(mode)
{
    if (_mode == RenderMode::Automatic)
        _mode = automaticMode();

    _mpv = MpvCore::create();

    mpv_observe_property(_mpv, TimePos, "time-pos", MPV_FORMAT_DOUBLE);
    mpv_observe_property(_mpv, EofReached, "eof-reached", MPV_FORMAT_FLAG);
    // Runs on mpv's threads: only hop to the main thread.
    mpv_set_wakeup_callback(
        _mpv,
        [](void *ctx) {
            auto *engine = static_cast<MpvEngine *>(ctx);
            QMetaObject::invokeMethod(engine, &MpvEngine::drainEvents, Qt::QueuedConnection);
        },
        this);

    if (_mode == RenderMode::Software) {
        mpv_render_param params[] = {
            {MPV_RENDER_PARAM_API_TYPE, const_cast<char *>(MPV_RENDER_API_TYPE_SW)},
            {MPV_RENDER_PARAM_INVALID, nullptr},
        };
        if (mpv_render_context_create(&_swContext, _mpv, params) < 0)
            qFatal("mpv software render context could not be created");
        _renderContexts = 1;
        // mpv's clock is the steady clock shifted; the render thread must not call into the core for it.
        const int64_t mpvClockOffsetUs = mpv_get_time_us(_mpv) - steadyUs();
        _renderThread = std::make_shared<SoftwareRenderThread>(
            _swContext, [mpvClockOffsetUs] { return steadyUs() + mpvClockOffsetUs; },
            // Queued by name: the call is made inside Qt, and the picture waits in the render thread. The
            // thread outlives the engine while the core ends.
            [receiver = _pictureReceiver] {
                const std::lock_guard lock(receiver->mutex);
                if (receiver->engine)
                    QMetaObject::invokeMethod(receiver->engine, "takeSoftwarePicture", Qt::QueuedConnection);
            });
        connect(this, &MpvEngine::pausedSeekFinished, this, [this] {
            if (_renderThread)
                _renderThread->requestRedraw();
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
    EngineTeardown::run([thread = std::move(_renderThread), context = _swContext, core = _mpv]() mutable {
        thread.reset();
        if (context)
            mpv_render_context_free(context);
        mpv_terminate_destroy(core);
    });
}

bool MpvEngine::canPlay(const QString &path) const
{
    return probe(path).playable;
}

MpvEngine::Probe MpvEngine::probe(const QString &path) const
{
    // The panel checks a file and then loads it: keep the last answer.
    if (path == _probedPath)
        return _probed;
    const auto movie = MovieProbe::probe(path);
    _probedPath = path;
    _probed = movie && movie->hasVideo ? Probe{true, movie->durationMs, movie->frameRate} : Probe{};
    return _probed;
}

void MpvEngine::replaceItem(const QString &path)
{
    // Duration and frame rate are known at once, as the panel seeks right after replacing.
    const Probe probed = probe(path);
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
    _pendingPath = path;
    _loadPending = true;
    _seeks.clear();
    endSettle(std::nullopt);
    setRate(0.0);
    // Sent once this pass of the event loop is over, so that the seek the panel asks for right after it
    // goes with the load.
    QMetaObject::invokeMethod(this, &MpvEngine::issueLoad, Qt::QueuedConnection);
}

void MpvEngine::issueLoad()
{
    // Without a render context mpv would open the file with video disabled.
    if (!_loadPending || _renderContexts == 0 || _stopsInFlight > 0)
        return;
    _loadPending = false;
    // The item's first seek is the load's start: loaded without one, the core shows the file's first picture
    // while it waits, and the seek's own only after the file is open and the seek has decoded up to it.
    std::optional<double> start;
    if (const auto target = _seeks.take()) {
        start = pictureStart(*target);
        _timePos = _shownTime = *start;
        _shown.rest(*start);
    }
    // The reply names the playlist entry; until then no event of the core is taken for this item.
    _expectedEntryId = -1;
    if (!MpvCore::loadAsync(_mpv, LOAD_REPLY, _pendingPath, start)) {
        _seeks.clear();
        _status = Status::Failed;
        emit statusChanged();
        return;
    }
    ++_loadsInFlight;
}

double MpvEngine::pictureStart(qint64 targetMs) const
{
    // mpv's exact seek shows the first picture from a few ms before the target on, which is the next
    // picture for a target inside one: go to the start of the picture at or before the target.
    if (_frameRate > 0.0)
        return double(FrameSteps::pictureAt(targetMs, _frameRate)) / _frameRate;
    return targetMs / 1000.0;
}

void MpvEngine::onLoadReply(const mpv_event &event)
{
    // A later load replaces this one: its reply is the one that counts.
    if (--_loadsInFlight > 0 || !_hasItem || _loadPending)
        return;
    if (event.error < 0) {
        _status = Status::Failed;
        emit statusChanged();
        return;
    }
    const auto *reply = static_cast<const mpv_event_command *>(event.data);
    if (reply && reply->result.format == MPV_FORMAT_NODE_MAP) {
        const mpv_node_list *map = reply->result.u.list;
        for (int i = 0; i < map->num; ++i) {
            if (qstrcmp(map->keys[i], "playlist_entry_id") == 0 && map->values[i].format == MPV_FORMAT_INT64)
                _expectedEntryId = map->values[i].u.int64;
        }
    }
    // The core may have opened the file, or failed to, before its answer came through.
    if (_expectedEntryId >= 0 && _failedEntryId == _expectedEntryId) {
        _status = Status::Failed;
        emit statusChanged();
    } else if (_expectedEntryId >= 0 && _loadedEntryId == _expectedEntryId) {
        onFileLoaded();
    }
}

void MpvEngine::removeItem()
{
    _hasItem = false;
    _loadPending = false;
    _seeks.clear();
    _status = Status::Unknown;
    _expectedEntryId = -1;
    _timePos = 0.0;
    _shownTime = 0.0;
    _reportedTime.reset();
    _endPending = false;
    _pausedAfterSeek = false;
    endSettle(std::nullopt);
    setRate(0.0);
    // The core closes the file in its own time; a load asked for meanwhile goes once the stop is done.
    const char *args[] = {"stop", nullptr};
    if (mpv_command_async(_mpv, STOP_REPLY, args) >= 0)
        ++_stopsInFlight;
}

void MpvEngine::setRate(double rate)
{
    const double playedAt = _rate;
    _rate = rate > 0.0 ? rate : 0.0;
    _pausedAfterSeek = _pausedAfterSeek && _rate == 0.0;
    if (_rate > 0.0) {
        endSettle(std::nullopt);
        sendSpeed(_rate);
    }
    int paused = _rate > 0.0 ? 0 : 1;
    mpv_set_property_async(_mpv, 0, "pause", MPV_FORMAT_FLAG, &paused);
    if (playedAt == 0.0 || _rate > 0.0 || !isReadyToPlay())
        return;
    // The core shows the pictures it had queued before the pause took: the one it rests on is its time once
    // the pause is in, which a read sent right behind the pause gives. Until it is on screen the pictures
    // still count at the rate played.
    _settle = PauseSettle{playedAt, std::nullopt, ++_settles};
    if (mpv_get_property_async(_mpv, RESTING_TIME_REPLY, "time-pos", MPV_FORMAT_DOUBLE) < 0) {
        endSettle(_timePos);
        return;
    }
    ++_restReadsInFlight;
    QTimer::singleShot(SETTLE_ANSWER_LIMIT_MS, this, [this, id = _settle->id] {
        if (_settle && _settle->id == id)
            endSettle(_settle->restSec.value_or(_timePos));
    });
}

void MpvEngine::onRestingTime(const mpv_event &event)
{
    // A later pause's read is the one that counts.
    if (--_restReadsInFlight > 0 || !_settle || _settle->restSec)
        return;
    const auto *property = static_cast<const mpv_event_property *>(event.data);
    if (event.error < 0 || !property || property->format != MPV_FORMAT_DOUBLE) {
        endSettle(_timePos);
        return;
    }
    _settle->restSec = *static_cast<double *>(property->data);
    QTimer::singleShot(SETTLE_LIMIT_MS, this, [this, id = _settle->id] {
        if (_settle && _settle->id == id)
            endSettle(_settle->restSec);
    });
    checkSettled();
}

void MpvEngine::checkSettled()
{
    if (!_settle || !_settle->restSec)
        return;
    // Within half a picture: the times the core reports are the pictures' own, rounded.
    const double half = _frameRate > 0.0 ? 0.5 / _frameRate : 0.001;
    if (_shownTime + half >= *_settle->restSec)
        endSettle(_settle->restSec);
}

void MpvEngine::endSettle(std::optional<double> restSec)
{
    if (!_settle)
        return;
    _settle.reset();
    if (restSec && isReadyToPlay()) {
        _shown.rest(*restSec);
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
    endSettle(std::nullopt);
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
    if (_renderThread) {
        _renderThread->setBrightness(_brightness);
        return;
    }
    int64_t value = mpvBrightness();
    mpv_set_property_async(_mpv, 0, "brightness", MPV_FORMAT_INT64, &value);
}

void MpvEngine::setSoftwareSize(QSize size)
{
    if (_renderThread)
        _renderThread->setSize(size.boundedTo(QSize(MAX_SOFTWARE_WIDTH, MAX_SOFTWARE_HEIGHT)));
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
    if (_rate > 0.0)
        _shown.handedOver(targetUs, _rate, _timePos);
    else if (_settle)
        _shown.handedOver(targetUs, _settle->playRate, _timePos);
}

void MpvEngine::noteFrameRendered()
{
    // Until the item's file is open, what is drawn is the previous file's picture or none.
    if (!isReadyToPlay())
        return;
    // Playing, and paused from play until the core's last pictures are shown, the count of pictures handed
    // over says which one shows (a picture drawn again is the same one); paused, the latest reported (a
    // paused seek's own time may still be on its way: it updates the shown time when it comes).
    const bool counting = _rate > 0.0 || _settle;
    const double time = counting ? _shown.time() : _timePos;
    if (!counting)
        _shown.rest(time);
    _shownTime = time;
    // A paused picture drawn again (a brightness change, a new size, a redraw after a seek) is no new
    // picture unless it shows another time.
    if (_rate > 0.0 || _reportedTime != time) {
        _reportedTime = time;
        emit frameShown(time);
    }
    checkSettled();
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
        } else if (event.reply_userdata == LOAD_REPLY) {
            onLoadReply(event);
        } else if (event.reply_userdata == STOP_REPLY) {
            _stopsInFlight = std::max(0, _stopsInFlight - 1);
            issueLoad();
        }
        break;
    case MPV_EVENT_GET_PROPERTY_REPLY:
        if (event.reply_userdata == RESTING_TIME_REPLY)
            onRestingTime(event);
        break;
    case MPV_EVENT_START_FILE:
        _startedEntryId = static_cast<mpv_event_start_file *>(event.data)->playlist_entry_id;
        break;
    case MPV_EVENT_FILE_LOADED:
        _loadedEntryId = _startedEntryId;
        if (_hasItem && _expectedEntryId >= 0 && _startedEntryId == _expectedEntryId)
            onFileLoaded();
        break;
    case MPV_EVENT_END_FILE: {
        const auto *end = static_cast<mpv_event_end_file *>(event.data);
        if (end->reason == MPV_END_FILE_REASON_ERROR)
            _failedEntryId = end->playlist_entry_id;
        if (!_hasItem || _expectedEntryId < 0 || end->playlist_entry_id != _expectedEntryId)
            break;
        if (end->reason == MPV_END_FILE_REASON_ERROR) {
            _status = Status::Failed;
            emit statusChanged();
        } else if (end->reason == MPV_END_FILE_REASON_EOF) {
            _rate = 0.0;
            emit endOfItem();
        }
        break;
    }
    case MPV_EVENT_PROPERTY_CHANGE: {
        const auto *property = static_cast<mpv_event_property *>(event.data);
        if (event.reply_userdata == TimePos && property->format == MPV_FORMAT_DOUBLE) {
            _timePos = *static_cast<double *>(property->data);
            // A paused seek's picture may be drawn before its time is reported.
            if (_rate == 0.0 && _pausedAfterSeek) {
                _shownTime = _timePos;
                _shown.rest(_timePos);
            }
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

void MpvEngine::reachEnd()
{
    // keep-open pauses the core on the file's last picture, as a media player's rate drops to 0. On a busy
    // machine the core gets there while its last pictures are still on their way to the screen: the item
    // ends once the core's current picture, drawn again behind them, is shown, and the pictures before it
    // count as played.
    _endPending = true;
    if (_renderThread)
        _endRedraw = _renderThread->requestRedraw();
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
    if (_settle)
        endSettle(_timePos);
    else
        noteFrameRendered();
    emit endOfItem();
}

void MpvEngine::onFileLoaded()
{
    // The duration and frame rate are the container's, read before the load (MpvEngine::probe).
    _status = Status::ReadyToPlay;
    _playerReady = true;
    flushSeek();
    emit statusChanged();
}

// Main thread: the render thread's picture, at its display time.
void MpvEngine::takeSoftwarePicture()
{
    auto picture = _renderThread ? _renderThread->takePicture() : std::nullopt;
    if (!picture)
        return;
    _softwareFrame = std::move(picture->image);
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
