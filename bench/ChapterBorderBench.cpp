// The freeze at chapter borders on the real engine: a generated trip of 21 chapters of 3 s at
// 1920x1080, 28 fps, played at 1x and 2x across its 20 borders. For each border, the time from
// the clock crossing it to the end of the first paint of the new chapter's picture (the video
// widget of the engine holding the new chapter, once the panel reported the chapter shown: the
// signal alone comes before anything is painted). mpv renders with its software renderer.
//
// For the choice of approach, BM_PlaylistPrefetch plays the same files as one mpv playlist with
// prefetch-playlist on and measures, per file change, how long the picture stands still past the
// moment the next frame was due, up to the new file's first picture rendered: the alternative to a
// second engine, stopped at the same event.
#include "player/MoviePlayerView.h"
#include "player/MpvEngine.h"
#include "player/MpvImageWidget.h"
#include "player/PlayMovieValueInfo.h"
#include "player/PlaybackClock.h"

#include "card/ChapterData.h"
#include "card/PictureDataUtil.h"
#include "platform/HeapPolicy.h"

#include "TestClips.h"
#include "TripFixture.h"

#include <QApplication>
#include <QFile>
#include <benchmark/benchmark.h>

#include <mpv/client.h>
#include <mpv/render.h>

#include <algorithm>
#include <chrono>
#include <clocale>
#include <cmath>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

namespace {

constexpr double FPS = 28.0;
constexpr int CHAPTERS = 21;
constexpr int CHAPTER_MS = 3000;

TripFixture &trip()
{
    static TripFixture t(std::vector<int>(CHAPTERS, CHAPTER_MS), 1920, 1080, FPS, int(FPS));
    return t;
}

// Ends a border's measure when the new chapter's picture has been painted: the filter paints the
// video widget itself, so the time taken is after its paintEvent.
class PaintWatch : public QObject
{
public:
    std::function<bool(MpvImageWidget *)> isNewPicture; // the widget shows the pending chapter
    std::function<void()> painted;
    bool pending = false;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (!pending || _inside || event->type() != QEvent::Paint)
            return false;
        auto *widget = qobject_cast<MpvImageWidget *>(watched);
        if (!widget || !isNewPicture(widget))
            return false;
        _inside = true;
        static_cast<QObject *>(widget)->event(event);
        _inside = false;
        pending = false;
        painted();
        return true;
    }

private:
    bool _inside = false;
};

int64_t nowNs()
{
    return std::chrono::duration_cast<std::chrono::nanoseconds>(
               std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

// Median gap per approach and rate, for the ratio printed after the table.
std::map<std::pair<std::string, double>, double> medians;

void report(benchmark::State &state, std::vector<double> gaps, const std::string &approach, double rate)
{
    std::sort(gaps.begin(), gaps.end());
    state.counters["borders"] = double(gaps.size());
    if (gaps.empty())
        return;
    state.counters["gap_min_ms"] = gaps.front();
    state.counters["gap_median_ms"] = gaps[gaps.size() / 2];
    medians[{approach, rate}] = gaps[gaps.size() / 2];
    state.counters["gap_max_ms"] = gaps.back();
}

void BM_BorderSwap(benchmark::State &state)
{
    const double rate = double(state.range(0)) / 10.0;
    std::vector<double> gaps;
    for (auto _ : state) {
        MoviePlayerView view([] { return std::make_unique<MpvEngine>(MpvEngine::RenderMode::Software); });
        view.resize(960, 580);
        view.show(); // nothing is painted in a hidden window
        view.setValueInfo(
            std::make_shared<PlayMovieValueInfo>(trip().chapters, CardData::ActiveType::MovieRec));
        view.preparePlayer();
        testclips::waitUntil([&] { return view.currentStatus() == CommonConst::PlayStatus::Stop; });
        PlaybackClock *clock = view.clock();
        auto model = view.valueInfo();
        auto shownChapter = view.currentChapterData();
        double crossedNs = 0.0;
        PaintWatch watch;
        watch.isNewPicture = [&](MpvImageWidget *widget) { return widget->engine() == view.engine(); };
        watch.painted = [&] { gaps.push_back((double(clock->now()) - crossedNs) / 1e6); };
        qApp->installEventFilter(&watch);
        QObject::connect(&view, &MoviePlayerView::frameShown, [&](double) {
            const auto chapter = view.currentChapterData();
            if (chapter == shownChapter)
                return;
            shownChapter = chapter;
            const auto &list = model->chapterDataList();
            const auto index = std::find(list.begin(), list.end(), chapter) - list.begin();
            const int64_t border = PictureDataUtil::getPosition(model->timeline(), index, 0);
            // The clock's own crossing moment, from its last tick.
            crossedNs =
                double(*clock->lastTickNs()) - double(clock->position() - border) / clock->rate() * 1e6;
            watch.pending = true;
        });
        if (!view.setPlayRate(float(rate))) {
            state.SkipWithError("the speed slider has no such rate");
            return;
        }
        view.playMovie();
        const int64_t end = model->maxValue();
        testclips::waitUntil([&] { return clock->position() >= end; },
                             int(CHAPTERS * CHAPTER_MS / rate) + 20000);
    }
    report(state, gaps, "swap", rate);
}

// One mpv core with the chapters as a playlist, rendering in software as the panel does offscreen.
void BM_PlaylistPrefetch(benchmark::State &state)
{
    const double rate = double(state.range(0)) / 10.0;
    std::vector<double> gaps;
    for (auto _ : state) {
        std::setlocale(LC_NUMERIC, "C");
        mpv_handle *mpv = mpv_create();
        for (const auto &[name, value] : {std::pair{"vo", "libmpv"},
                                          {"hwdec", "no"},
                                          {"keep-open", "no"},
                                          {"idle", "yes"},
                                          {"pause", "yes"},
                                          {"prefetch-playlist", "yes"},
                                          {"audio-fallback-to-null", "yes"},
                                          {"terminal", "no"},
                                          {"video-latency-hacks", "yes"}})
            mpv_set_option_string(mpv, name, value);
        mpv_initialize(mpv);
        mpv_render_param params[] = {{MPV_RENDER_PARAM_API_TYPE, const_cast<char *>(MPV_RENDER_API_TYPE_SW)},
                                     {MPV_RENDER_PARAM_INVALID, nullptr}};
        mpv_render_context *render = nullptr;
        mpv_render_context_create(&render, mpv, params);
        for (const auto &chapter : trip().chapters) {
            const QByteArray file = QFile::encodeName(chapter->_pathMp4.toLocalFile());
            const char *args[] = {"loadfile", file.constData(), "append-play", nullptr};
            mpv_command(mpv, args);
        }
        double speed = rate;
        mpv_set_property(mpv, "speed", MPV_FORMAT_DOUBLE, &speed);
        int paused = 0;
        mpv_set_property(mpv, "pause", MPV_FORMAT_FLAG, &paused);
        std::vector<uint8_t> pixels(960 * 540 * 4);
        int size[2] = {960, 540};
        size_t stride = 960 * 4;
        int64_t lastPos = -1, lastRenderNs = 0;
        int64_t playlistPos = 0;
        const int64_t deadline = nowNs() + int64_t((CHAPTERS * CHAPTER_MS / rate + 20000) * 1e6);
        int ended = 0;
        while (ended < CHAPTERS && nowNs() < deadline) {
            // Every waiting event at each pass, counting the files that ended: the idle event is no
            // longer sent reliably at the playlist's end, and one event a pass fell behind.
            for (mpv_event *event = mpv_wait_event(mpv, 0.002); event->event_id != MPV_EVENT_NONE;
                 event = mpv_wait_event(mpv, 0))
                ended += event->event_id == MPV_EVENT_END_FILE;
            if (!(mpv_render_context_update(render) & MPV_RENDER_UPDATE_FRAME))
                continue;
            mpv_render_param sw[] = {{MPV_RENDER_PARAM_SW_SIZE, size},
                                     {MPV_RENDER_PARAM_SW_FORMAT, const_cast<char *>("rgb0")},
                                     {MPV_RENDER_PARAM_SW_STRIDE, &stride},
                                     {MPV_RENDER_PARAM_SW_POINTER, pixels.data()},
                                     {MPV_RENDER_PARAM_INVALID, nullptr}};
            mpv_render_context_render(render, sw);
            const int64_t at = nowNs();
            mpv_get_property(mpv, "playlist-pos", MPV_FORMAT_INT64, &playlistPos);
            if (playlistPos < 0) // past the last file: no border
                continue;
            if (lastPos >= 0 && playlistPos != lastPos) {
                // The next frame was due one frame interval after the last one of the old file.
                const double dueNs = double(lastRenderNs) + 1e9 / FPS / rate;
                gaps.push_back(std::max(0.0, (double(at) - dueNs) / 1e6));
            }
            lastPos = playlistPos;
            lastRenderNs = at;
        }
        mpv_render_context_free(render);
        mpv_terminate_destroy(mpv);
    }
    report(state, gaps, "playlist", rate);
}

BENCHMARK(BM_BorderSwap)->Arg(10)->Arg(20)->Iterations(1)->Unit(benchmark::kSecond);
BENCHMARK(BM_PlaylistPrefetch)->Arg(10)->Arg(20)->Iterations(1)->Unit(benchmark::kSecond);

} // namespace

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    // As the program does at its start.
    HeapPolicy::returnLargeBlocksToTheSystem();
    // The offscreen platform says so at every layer shown; the table is what matters here.
    qInstallMessageHandler([](QtMsgType type, const QMessageLogContext &context, const QString &text) {
        if (!text.contains(QLatin1String("propagateSizeHints")))
            qt_message_output(type, context, text);
    });
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    if (!trip().ok()) {
        std::fprintf(stderr, "ChapterBorderBench: %s\n", qPrintable(trip().error));
        return 1;
    }
    benchmark::RunSpecifiedBenchmarks();
    for (const double rate : {1.0, 2.0}) {
        const auto ours = medians.find({"swap", rate}), theirs = medians.find({"playlist", rate});
        if (ours != medians.end() && theirs != medians.end() && theirs->second > 0)
            std::printf("ratio median gap at %gx: second engine / mpv playlist = %.2f\n", rate,
                        ours->second / theirs->second);
    }
    benchmark::Shutdown();
    return 0;
}
