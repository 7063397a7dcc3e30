#include "player/MpvCore.h"

#include "player/ShownFrameTracker.h"
#include "player/SoundLibraryLog.h"

#include <QByteArray>
#include <QFile>
#include <QThread>
#include <QtGlobal>

#include <algorithm>
#include <clocale>

#include <mpv/client.h>

namespace {

constexpr int MAX_DECODER_THREADS = 4;

mpv_node nodeString(const char *text)
{
    mpv_node node;
    node.format = MPV_FORMAT_STRING;
    node.u.string = const_cast<char *>(text);
    return node;
}

} // namespace

mpv_handle *MpvCore::create()
{
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
    mpv_handle *core = mpv_create();
    if (!core)
        qFatal("mpv_create failed");
    mpv_set_option_string(core, "vo", "libmpv");
    mpv_set_option_string(core, "hwdec", "no");
    // With hardware decoding off, an OpenGL render context need not load the GPU interops of the
    // hardware decoders: probing them prints errors such as "Cannot load libcuda.so.1" for every engine.
    mpv_set_option_string(core, "gpu-hwdec-interop", "no");
    // mpv's default is a frame thread per core plus one, each holding pictures of its own, in both
    // engines: 45 MB more for a 720p trip on eight cores than four threads, which decode as fast and
    // show a sought frame sooner.
    const int decoderThreads = std::clamp(QThread::idealThreadCount(), 1, MAX_DECODER_THREADS);
    mpv_set_option_string(core, "vd-lavc-threads", QByteArray::number(decoderThreads).constData());
    // Stay on the last frame at the end of a file, as the panel expects to seek back.
    mpv_set_option_string(core, "keep-open", "yes");
    mpv_set_option_string(core, "idle", "yes");
    mpv_set_option_string(core, "pause", "yes");
    mpv_set_option_string(core, "hr-seek", "yes");
    // Without it a paused seek shows its frame only after mpv's 200 ms wait for a second decoded
    // frame; the panel seeks on every tick above 2x and steps frames while paused.
    mpv_set_option_string(core, "video-latency-hacks", "yes");
    // The widget always has the movie's aspect; stretch like the original layer did.
    mpv_set_option_string(core, "keepaspect", "no");
    mpv_set_option_string(core, "audio-fallback-to-null", "yes");
    // The panel's clock leads the picture, not the sound: with the sound leading, a change of speed while
    // paused (a new play rate) makes the core refill its sound buffer, and the next play holds the first
    // picture until that buffer has played, about 200 ms, before the picture runs to catch the clock up.
    mpv_set_option_string(core, "video-sync", "desync");
    // The core queues a picture, and reports its time, at most this long before it is due: how far ahead of
    // the picture on screen a report may be, beyond the pictures due meanwhile.
    mpv_set_option_string(core, "video-timing-offset",
                          QByteArray::number(ShownFrameTracker::MOST_REPORT_LEAD_SEC, 'f', 3).constData());
    mpv_set_option_string(core, "input-default-bindings", "no");
    mpv_set_option_string(core, "terminal", "no");
    mpv_set_option_string(core, "osd-level", "0");
    if (mpv_initialize(core) < 0)
        qFatal("mpv_initialize failed");
    return core;
}

bool MpvCore::loadAsync(mpv_handle *core, uint64_t replyTag, const QString &path,
                        std::optional<double> startSeconds)
{
    const QByteArray file = QFile::encodeName(path);
    const QByteArray options =
        startSeconds ? "start=" + QByteArray::number(*startSeconds, 'f', 6) : QByteArray();
    // Named arguments: the place of the options among the plain ones differs between mpv's versions.
    mpv_node values[] = {nodeString("loadfile"), nodeString(file.constData()), nodeString("replace"),
                         nodeString(options.constData())};
    const char *keys[] = {"name", "url", "flags", "options"};
    mpv_node_list map{startSeconds ? 4 : 3, values, const_cast<char **>(keys)};
    mpv_node command;
    command.format = MPV_FORMAT_NODE_MAP;
    command.u.list = &map;
    return mpv_command_node_async(core, replyTag, &command) >= 0;
}
