#include "player/MpvEngine.h"

#include "player/FrameSteps.h"
#include "player/MpvGLWidget.h"
#include "player/MpvImageWidget.h"
#include "player/RenderPathChoice.h"
#include "player/SoundLibraryLog.h"

#include <QFile>
#include <QGuiApplication>
#include <QMetaObject>
#include <QThread>
#include <QtGlobal>

#include <algorithm>
#include <clocale>
#include <cmath>
#include <utility>
#include <vector>

#include <mpv/client.h>
#include <mpv/render.h>

extern "C" {
#include <libavformat/avformat.h>
}

namespace {

enum ObservedProperty : uint64_t
{
    TimePos = 1,
    EofReached = 2,
};

// Reply tag of seek commands, so that a refused seek does not keep the next one waiting.
constexpr uint64_t SEEK_REPLY = 100;

// mpv's software renderer writes this many bytes per pixel in "rgb0" order, which is
// QImage::Format_RGBX8888 in memory.
constexpr const char *SOFTWARE_FORMAT = "rgb0";
constexpr int MAX_DECODER_THREADS = 4;

double getDouble(mpv_handle *mpv, const char *name, double fallback)
{
    double value = 0.0;
    if (mpv_get_property(mpv, name, MPV_FORMAT_DOUBLE, &value) < 0 || !std::isfinite(value))
        return fallback;
    return value;
}

int64_t getInt(mpv_handle *mpv, const char *name, int64_t fallback)
{
    int64_t value = 0;
    if (mpv_get_property(mpv, name, MPV_FORMAT_INT64, &value) < 0)
        return fallback;
    return value;
}

// The driver cannot change while the program runs: one throwaway context answers for every engine.
MpvEngine::RenderMode automaticMode()
{
    static const MpvEngine::RenderMode mode = RenderPathChoice::isSoftwarePreferredHere()
                                                  ? MpvEngine::RenderMode::Software
                                                  : MpvEngine::RenderMode::OpenGL;
    return mode;
}

} // namespace

MpvEngine::MpvEngine(RenderMode mode, QObject *parent) : MediaEngine(parent), _mode(mode)
{
    if (_mode == RenderMode::Automatic)
        _mode = automaticMode();

    // libmpv refuses to run unless numbers are formatted the C way.
    std::setlocale(LC_NUMERIC, "C");
    SoundLibraryLog::routeToQtLog();
    // Where no sound server answers, libmpv tries SDL for the sound, and SDL takes SIGINT and SIGTERM for
    // a quit event of its own that nothing here reads: a SIGTERM in that moment (a session ending) would
    // not end the program. Set before the first core exists; a setting of the user's stays.
    static const bool sdlLeavesSignals = [] {
        if (!qEnvironmentVariableIsSet("SDL_NO_SIGNAL_HANDLERS"))
            qputenv("SDL_NO_SIGNAL_HANDLERS", "1");
        return true;
    }();
    Q_UNUSED(sdlLeavesSignals);
    _mpv = mpv_create();
    if (!_mpv)
        qFatal("mpv_create failed");
    mpv_set_option_string(_mpv, "vo", "libmpv");
    mpv_set_option_string(_mpv, "hwdec", "no");
    // With hardware decoding off, an OpenGL render context need not load the GPU interops of the
    // hardware decoders: probing them prints errors such as "Cannot load libcuda.so.1" for every engine.
    mpv_set_option_string(_mpv, "gpu-hwdec-interop", "no");
    // mpv's default is a frame thread per core plus one, each holding pictures of its own, in both
    // engines: 45 MB more for a 720p trip on eight cores than four threads, which decode as fast and
    // show a sought frame sooner.
    const int decoderThreads = std::clamp(QThread::idealThreadCount(), 1, MAX_DECODER_THREADS);
    mpv_set_option_string(_mpv, "vd-lavc-threads", QByteArray::number(decoderThreads).constData());
    // Stay on the last frame at the end of a file, as the panel expects to seek back.
    mpv_set_option_string(_mpv, "keep-open", "yes");
    mpv_set_option_string(_mpv, "idle", "yes");
    mpv_set_option_string(_mpv, "pause", "yes");
    mpv_set_option_string(_mpv, "hr-seek", "yes");
    // Without it a paused seek shows its frame only after mpv's 200 ms wait for a second decoded
    // frame; the panel seeks on every tick above 2x and steps frames while paused.
    mpv_set_option_string(_mpv, "video-latency-hacks", "yes");
    // The widget always has the movie's aspect; stretch like the original layer did.
    mpv_set_option_string(_mpv, "keepaspect", "no");
    mpv_set_option_string(_mpv, "audio-fallback-to-null", "yes");
    mpv_set_option_string(_mpv, "input-default-bindings", "no");
    mpv_set_option_string(_mpv, "terminal", "no");
    mpv_set_option_string(_mpv, "osd-level", "0");
    if (mpv_initialize(_mpv) < 0)
        qFatal("mpv_initialize failed");

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
        mpv_render_context_set_update_callback(
            _swContext,
            [](void *ctx) {
                auto *engine = static_cast<MpvEngine *>(ctx);
                QMetaObject::invokeMethod(engine, &MpvEngine::renderSoftwareFrame, Qt::QueuedConnection);
            },
            this);
        _renderContexts = 1;
        connect(this, &MpvEngine::pausedSeekFinished, this, &MpvEngine::renderSoftwareFrame,
                Qt::QueuedConnection);
        _renderTimer.setSingleShot(true);
        _renderTimer.setTimerType(Qt::PreciseTimer);
        connect(&_renderTimer, &QTimer::timeout, this, &MpvEngine::drawSoftwareFrame);
    }
}

MpvEngine::~MpvEngine()
{
    // Render contexts must go before the core they belong to.
    emit aboutToClose();
    if (_swContext) {
        mpv_render_context_set_update_callback(_swContext, nullptr, nullptr);
        mpv_render_context_free(_swContext);
        _swContext = nullptr;
    }
    mpv_set_wakeup_callback(_mpv, nullptr, nullptr);
    mpv_terminate_destroy(_mpv);
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
    Probe result;
    AVFormatContext *format = nullptr;
    const QByteArray file = QFile::encodeName(path);
    if (avformat_open_input(&format, file.constData(), nullptr, nullptr) == 0) {
        if (avformat_find_stream_info(format, nullptr) >= 0) {
            const int video = av_find_best_stream(format, AVMEDIA_TYPE_VIDEO, -1, -1, nullptr, 0);
            if (video >= 0) {
                result.playable = true;
                if (format->duration > 0)
                    result.durationMs = format->duration / (AV_TIME_BASE / 1000);
                const AVRational rate = format->streams[video]->avg_frame_rate;
                if (rate.num > 0 && rate.den > 0)
                    result.frameRate = av_q2d(rate);
            }
        }
        avformat_close_input(&format);
    }
    _probedPath = path;
    _probed = result;
    return result;
}

void MpvEngine::replaceItem(const QString &path)
{
    // Duration and frame rate are known at once, as the panel seeks right after replacing.
    const Probe probed = probe(path);
    _hasItem = true;
    _status = Status::Unknown;
    _timePos = 0.0;
    _shownTime = 0.0;
    _displaySize = QSize();
    _frameRate = probed.frameRate;
    _durationMs = probed.durationMs;
    _eofReached = false;
    _pausedAfterSeek = false;
    _pendingPath = path;
    _loadPending = true;
    _seeks.clear();
    setRate(0.0);
    issueLoad();
}

void MpvEngine::issueLoad()
{
    // Without a render context mpv would open the file with video disabled.
    if (!_loadPending || _renderContexts == 0)
        return;
    _loadPending = false;
    const QByteArray file = QFile::encodeName(_pendingPath);
    const char *args[] = {"loadfile", file.constData(), "replace", nullptr};
    mpv_node result;
    if (mpv_command_ret(_mpv, args, &result) < 0) {
        _status = Status::Failed;
        emit statusChanged();
        return;
    }
    _expectedEntryId = -1;
    if (result.format == MPV_FORMAT_NODE_MAP) {
        for (int i = 0; i < result.u.list->num; ++i) {
            if (qstrcmp(result.u.list->keys[i], "playlist_entry_id") == 0 &&
                result.u.list->values[i].format == MPV_FORMAT_INT64)
                _expectedEntryId = result.u.list->values[i].u.int64;
        }
    }
    mpv_free_node_contents(&result);
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
    _pausedAfterSeek = false;
    setRate(0.0);
    // Synchronous, so that a later load cannot be overtaken by this stop.
    const char *args[] = {"stop", nullptr};
    mpv_command(_mpv, args);
}

void MpvEngine::setRate(double rate)
{
    _rate = rate > 0.0 ? rate : 0.0;
    _lastHanded.reset();
    _pausedAfterSeek = _pausedAfterSeek && _rate == 0.0;
    if (_rate > 0.0) {
        double speed = _rate;
        mpv_set_property_async(_mpv, 0, "speed", MPV_FORMAT_DOUBLE, &speed);
    }
    int paused = _rate > 0.0 ? 0 : 1;
    mpv_set_property_async(_mpv, 0, "pause", MPV_FORMAT_FLAG, &paused);
}

void MpvEngine::seekExact(qint64 timeMs)
{
    if (!_hasItem)
        return;
    _eofReached = false;
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
    // mpv's exact seek shows the first picture from a few ms before the target on, which is the next
    // picture for a target inside one: go to the start of the picture at or before the target.
    double time = *target / 1000.0;
    if (_frameRate > 0.0)
        time = double(FrameSteps::pictureAt(*target, _frameRate)) / _frameRate;
    const QByteArray seconds = QByteArray::number(time, 'f', 6);
    _lastHanded.reset();
    const char *args[] = {"seek", seconds.constData(), "absolute+exact", nullptr};
    mpv_command_async(_mpv, SEEK_REPLY, args);
}

void MpvEngine::stepByCount(int count)
{
    if (!isReadyToPlay())
        return;
    for (int i = 0; i < std::abs(count); ++i)
        command({count > 0 ? "frame-step" : "frame-back-step"});
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
    const double previous = _brightness;
    _brightness = std::clamp(brightness, -1.0, 1.0);
    int64_t value = mpvBrightness();
    mpv_set_property_async(_mpv, 0, "brightness", MPV_FORMAT_INT64, &value);
    if (_mode == RenderMode::Software && _brightness != previous) {
        // mpv's software renderer has no colour controls: FFmpeg's eq filter takes the same
        // -1 to 1 offset. Changing it rebuilds the filter chain, which only a settings change does.
        const QByteArray filter =
            _brightness == 0.0 ? QByteArray() : "eq=brightness=" + QByteArray::number(_brightness, 'f', 3);
        const char *text = filter.constData();
        mpv_set_property_async(_mpv, 0, "vf", MPV_FORMAT_STRING, &text);
    }
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

void MpvEngine::noteFrameHandedOver(int64_t targetUs)
{
    // The core reports a frame's time as it queues the frame, and may have queued the next one (and
    // reported its time) by the time this one is handed over: of the last two times reported, take
    // the one the previous frame's time and the distance between their display times point to.
    drainEvents();
    double time = _timePos;
    if (_lastHanded && targetUs > 0 && _rate > 0.0) {
        const double expected = _lastHanded->first + double(targetUs - _lastHanded->second) / 1e6 * _rate;
        if (std::abs(_previousTimePos - expected) < std::abs(time - expected))
            time = _previousTimePos;
    }
    _handedTime = time;
    if (targetUs > 0 && _rate > 0.0)
        _lastHanded = std::pair{time, targetUs};
    else
        _lastHanded.reset();
}

void MpvEngine::noteFrameRendered()
{
    // Reading a property waits for mpv's core, which while playing sleeps until its next frame is
    // due: the main thread would stall for most of every frame. Playing, the time reported with the
    // frame's hand-over is the one; paused (after a seek) the core answers at once.
    const double time = _rate > 0.0 ? _handedTime : getDouble(_mpv, "time-pos", _timePos);
    _shownTime = time;
    emit frameShown(time);
}

void MpvEngine::command(std::initializer_list<const char *> args)
{
    std::vector<const char *> list(args);
    list.push_back(nullptr);
    mpv_command_async(_mpv, 0, list.data());
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
        }
        break;
    case MPV_EVENT_START_FILE:
        _startedEntryId = static_cast<mpv_event_start_file *>(event.data)->playlist_entry_id;
        break;
    case MPV_EVENT_FILE_LOADED:
        if (_hasItem && _startedEntryId == _expectedEntryId)
            onFileLoaded();
        break;
    case MPV_EVENT_END_FILE: {
        const auto *end = static_cast<mpv_event_end_file *>(event.data);
        if (!_hasItem || end->playlist_entry_id != _expectedEntryId)
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
            const double time = *static_cast<double *>(property->data);
            if (time != _timePos)
                _previousTimePos = std::exchange(_timePos, time);
        } else if (event.reply_userdata == EofReached && property->format == MPV_FORMAT_FLAG) {
            const bool eof = *static_cast<int *>(property->data) != 0;
            if (eof && !_eofReached && _status == Status::ReadyToPlay) {
                // keep-open pauses the core at the end, as a media player's rate drops to 0.
                _rate = 0.0;
                _eofReached = true;
                emit endOfItem();
            }
            _eofReached = eof;
        }
        break;
    }
    default:
        break;
    }
}

void MpvEngine::onFileLoaded()
{
    const double duration = getDouble(_mpv, "duration", 0.0);
    if (duration > 0.0)
        _durationMs = static_cast<qint64>(duration * 1000.0);
    const double fps = getDouble(_mpv, "container-fps", 0.0);
    if (fps > 0.0)
        _frameRate = fps;
    _status = Status::ReadyToPlay;
    _playerReady = true;
    flushSeek();
    emit statusChanged();
}

// Main thread: runs after the software render context's update callback.
void MpvEngine::renderSoftwareFrame()
{
    if (!_swContext)
        return;
    if (!(mpv_render_context_update(_swContext) & MPV_RENDER_UPDATE_FRAME)) {
        drainEvents();
        if (isPausedAfterSeek() && !_renderTimer.isActive())
            drawSoftwareFrame();
        return;
    }
    // mpv hands a playing frame over before its display time: drawing it at once would show it
    // up to a frame early, waiting inside the render would put the main thread to sleep.
    mpv_render_frame_info info{};
    mpv_render_param next{MPV_RENDER_PARAM_NEXT_FRAME_INFO, &info};
    int64_t waitUs = 0;
    if (mpv_render_context_get_info(_swContext, next) >= 0 && info.target_time > 0)
        waitUs = info.target_time - mpv_get_time_us(_mpv);
    noteFrameHandedOver(info.target_time);
    if (waitUs > 1000) {
        _renderTimer.start(static_cast<int>(waitUs / 1000));
        return;
    }
    drawSoftwareFrame();
}

void MpvEngine::drawSoftwareFrame()
{
    _renderTimer.stop();
    if (!_swContext)
        return;
    // Read once per item: a property read waits for the core, which while playing sleeps until
    // its next frame is due.
    if (_displaySize.isEmpty())
        _displaySize =
            QSize(static_cast<int>(getInt(_mpv, "dwidth", 0)), static_cast<int>(getInt(_mpv, "dheight", 0)));
    int width = _displaySize.width();
    int height = _displaySize.height();
    if (width <= 0 || height <= 0) {
        width = 16;
        height = 9;
    }
    // The software path serves headless runs and software OpenGL drivers: scaling 1080p on the CPU
    // for every frame would cost more than the frame interval.
    constexpr int MAX_SOFTWARE_WIDTH = 960;
    if (width > MAX_SOFTWARE_WIDTH) {
        height = height * MAX_SOFTWARE_WIDTH / width;
        width = MAX_SOFTWARE_WIDTH;
    }
    if (_softwareFrame.width() != width || _softwareFrame.height() != height)
        _softwareFrame = QImage(width, height, QImage::Format_RGBX8888);
    int size[2] = {width, height};
    size_t stride = static_cast<size_t>(_softwareFrame.bytesPerLine());
    int block = 0;
    mpv_render_param params[] = {
        {MPV_RENDER_PARAM_SW_SIZE, size},
        {MPV_RENDER_PARAM_SW_FORMAT, const_cast<char *>(SOFTWARE_FORMAT)},
        {MPV_RENDER_PARAM_SW_STRIDE, &stride},
        {MPV_RENDER_PARAM_SW_POINTER, _softwareFrame.bits()},
        // Not waiting for the frame's display time: that would put the main thread to sleep for
        // most of every frame (the frame is due when mpv asks for the update).
        {MPV_RENDER_PARAM_BLOCK_FOR_TARGET_TIME, &block},
        {MPV_RENDER_PARAM_INVALID, nullptr},
    };
    mpv_render_context_render(_swContext, params);
    emit softwareFrameChanged();
    noteFrameRendered();
}
