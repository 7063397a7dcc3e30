// The freeze at chapter borders on the real engine: a generated trip of 21 chapters of 3 s at
// 1920x1080, 28 fps, played at 1x and 2x across its 20 borders, against the same files as one mpv
// playlist with prefetch-playlist on (the alternative to a second engine). Both render in software.
//
// Both sides are timed alike, from the pictures drawn: every picture carries its number in its movie
// (the frame stamp), so a redraw of a picture already shown is no new picture, and the first picture
// numbered lower than the one before is the new file's first. The border is where the old movie's own
// time stamps end: the moment its last picture drawn was first drawn, plus the rest of the movie after
// that picture (its frames left times the frame interval, at the playing rate). The gap is from that
// instant to the moment the new file's first picture was drawn: our panel's video widget once it has
// painted it, mpv's render call once it has returned it. A negative gap is a new picture drawn before
// the old movie's end, its last pictures never shown (old_unshown); new_skipped counts the new movie's
// first pictures never shown.
#include "player/MoviePlayerView.h"
#include "player/MpvEngine.h"
#include "player/MpvImageWidget.h"
#include "player/PlayMovieValueInfo.h"
#include "player/PlaybackClock.h"

#include "card/ChapterData.h"
#include "platform/HeapPolicy.h"

#include "TestClips.h"
#include "TripFixture.h"
#include "support/FrameStamp.h"

#include <QApplication>
#include <QFile>
#include <QImage>
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
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace {

constexpr double FPS = 28.0;
constexpr int CHAPTERS = 21;
constexpr int CHAPTER_MS = 3000;

constexpr int MOVIE_WIDTH = 1920;
// Pictures in each chapter's movie, numbered from 0.
constexpr int PICTURES = int(CHAPTER_MS * FPS / 1000);

TripFixture &trip()
{
    static TripFixture t(std::vector<int>(CHAPTERS, CHAPTER_MS), MOVIE_WIDTH, 1080, FPS, 0, true);
    return t;
}

int64_t nowNs()
{
    return std::chrono::duration_cast<std::chrono::nanoseconds>(
               std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

// The gaps at the borders from the pictures drawn, by their frame stamps. A number far below the one
// before is the new file's first picture; a step back of a few pictures within a file (a seek that keeps
// the picture with the clock) is counted apart.
class BorderGaps
{
public:
    explicit BorderGaps(double rate) : _rate(rate) {}

    void drawn(const QImage &picture, int64_t atNs)
    {
        const std::optional<int> number = frameStampIn(picture, MOVIE_WIDTH);
        if (!number || *number == _last)
            return; // unreadable, or a redraw of the picture shown
        if (_last >= 0 && *number + PICTURES / 2 < _last) {
            const double borderNs = double(_lastFirstDrawnNs) + (PICTURES - _last) * 1e9 / FPS / _rate;
            gaps.push_back((double(atNs) - borderNs) / 1e6);
            oldUnshown.push_back(PICTURES - 1 - _last);
            newSkipped.push_back(*number);
        } else if (*number < _last) {
            ++stepsBack;
        }
        _last = *number;
        _lastFirstDrawnNs = atNs;
    }

    std::vector<double> gaps;
    // Per border: the old movie's last pictures never drawn, the new movie's first ones.
    std::vector<double> oldUnshown, newSkipped;
    int stepsBack = 0;

private:
    double _rate;
    int _last = -1;
    int64_t _lastFirstDrawnNs = 0;
};

// Hands every picture the panel's video widget on top paints to the gaps, once painted: the widget of the
// engine playing (the next chapter's engine waits below it, shown).
class PaintWatch : public QObject
{
public:
    PaintWatch(BorderGaps &gaps, std::function<bool(MpvImageWidget *)> onTop)
        : _gaps(gaps), _onTop(std::move(onTop))
    {
    }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (_inside || event->type() != QEvent::Paint)
            return false;
        auto *widget = qobject_cast<MpvImageWidget *>(watched);
        if (!widget || !widget->engine() || !_onTop(widget))
            return false;
        _inside = true;
        static_cast<QObject *>(widget)->event(event);
        _inside = false;
        _gaps.drawn(widget->engine()->softwareFrame(), nowNs());
        return true;
    }

private:
    BorderGaps &_gaps;
    std::function<bool(MpvImageWidget *)> _onTop;
    bool _inside = false;
};

// Median gap per approach and rate, for the ratio printed after the table.
std::map<std::pair<std::string, double>, double> medians;

double median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values.empty() ? 0.0 : values[values.size() / 2];
}

void report(benchmark::State &state, const BorderGaps &measured, const std::string &approach, double rate)
{
    std::vector<double> gaps = measured.gaps;
    std::sort(gaps.begin(), gaps.end());
    state.counters["borders"] = double(gaps.size());
    state.counters["steps_back"] = measured.stepsBack;
    if (gaps.empty())
        return;
    // Negative: the new file's first picture came before the old movie's end, its last pictures unshown.
    state.counters["gap_min_ms"] = gaps.front();
    state.counters["gap_median_ms"] = gaps[gaps.size() / 2];
    medians[{approach, rate}] = gaps[gaps.size() / 2];
    state.counters["gap_max_ms"] = gaps.back();
    state.counters["old_unshown_median"] = median(measured.oldUnshown);
    state.counters["new_skipped_median"] = median(measured.newSkipped);
}

void BM_BorderSwap(benchmark::State &state)
{
    const double rate = double(state.range(0)) / 10.0;
    BorderGaps gaps(rate);
    for (auto _ : state) {
        MoviePlayerView view([] { return std::make_unique<MpvEngine>(MpvEngine::RenderMode::Software); });
        view.resize(960, 580);
        view.show(); // nothing is painted in a hidden window
        view.setValueInfo(
            std::make_shared<PlayMovieValueInfo>(trip().chapters, CardData::ActiveType::MovieRec));
        view.preparePlayer();
        testclips::waitUntil([&] { return view.currentStatus() == CommonConst::PlayStatus::Stop; });
        PlaybackClock *clock = view.clock();
        PaintWatch watch(gaps, [&](MpvImageWidget *widget) { return widget->engine() == view.engine(); });
        qApp->installEventFilter(&watch);
        if (!view.setPlayRate(float(rate))) {
            state.SkipWithError("the speed slider has no such rate");
            return;
        }
        view.playMovie();
        const int64_t end = view.valueInfo()->maxValue();
        testclips::waitUntil([&] { return clock->position() >= end; },
                             int(CHAPTERS * CHAPTER_MS / rate) + 20000);
        qApp->removeEventFilter(&watch);
    }
    report(state, gaps, "swap", rate);
}

// One mpv core with the chapters as a playlist, rendering in software as the panel does offscreen.
void BM_PlaylistPrefetch(benchmark::State &state)
{
    const double rate = double(state.range(0)) / 10.0;
    BorderGaps gaps(rate);
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
        QImage picture(960, 540, QImage::Format_RGBX8888);
        int size[2] = {960, 540};
        size_t stride = size_t(picture.bytesPerLine());
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
                                     {MPV_RENDER_PARAM_SW_POINTER, picture.bits()},
                                     {MPV_RENDER_PARAM_INVALID, nullptr}};
            mpv_render_context_render(render, sw);
            gaps.drawn(picture, nowNs());
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
        if (ours == medians.end() || theirs == medians.end())
            continue;
        std::printf("median gap at %gx: second engine %.0f ms, mpv playlist %.0f ms", rate, ours->second,
                    theirs->second);
        if (ours->second > 0 && theirs->second > 0)
            std::printf(", ratio second engine / mpv playlist = %.2f", ours->second / theirs->second);
        std::printf("\n");
    }
    benchmark::Shutdown();
    return 0;
}
