// The chapter borders on the real engine: a generated trip of 21 chapters of 3 s at 1920x1080, 28 fps,
// each chapter one group of pictures (a single key frame, as a camera's chapter is), played at 1x and 2x
// across its 20 borders by our panel (the second engine opening the next chapter ahead), against the
// same files as one libmpv playlist with prefetch-playlist on. Both render in software.
//
// Both sides are read alike, from the pictures drawn: every picture carries its number in its movie (the
// frame stamp), taken from our panel's video widget once it has painted it and from mpv's render call once
// it has returned it. ShownPictures counts per border the old chapter's last pictures never shown and the
// new one's first skipped, and over the run the freezes, steps back, pictures never shown inside a
// chapter and pictures per second. The border gap is the new chapter's first picture less the moment the
// old movie's picture PICTURES (one past its last) was due by the rhythm its own pictures were drawn in,
// which a late drawing of its last picture does not move; positive: the new picture came late.
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
#include "support/ShownPictures.h"

#include <QApplication>
#include <QFile>
#include <QImage>
#include <benchmark/benchmark.h>

#include <mpv/client.h>
#include <mpv/render.h>

#include <algorithm>
#include <chrono>
#include <clocale>
#include <cstdio>
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
    static TripFixture t(std::vector<int>(CHAPTERS, CHAPTER_MS), MOVIE_WIDTH, 1080, FPS, PICTURES, true);
    return t;
}

int64_t nowNs()
{
    return std::chrono::duration_cast<std::chrono::nanoseconds>(
               std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

// The number of every picture drawn and when; a redraw of the picture shown adds nothing.
class Drawings
{
public:
    void drawn(const QImage &picture, int64_t atNs)
    {
        const int number = frameStampIn(picture, MOVIE_WIDTH).value_or(-1);
        if (samples.empty() || samples.back().frame != number)
            samples.push_back({atNs, number});
    }
    ShownPictures analyse(double rate, int64_t playedFromNs) const
    {
        return ShownPictures::analyse(samples, PICTURES, 1000.0 / FPS / rate, playedFromNs);
    }

    std::vector<ScreenStampWatch::Sample> samples;
};

// Hands every picture the panel's video widget on top paints to the drawings, once painted: the widget of
// the engine playing (the next chapter's engine waits below it, shown).
class PaintWatch : public QObject
{
public:
    PaintWatch(Drawings &drawings, std::function<bool(MpvImageWidget *)> onTop)
        : _drawings(drawings), _onTop(std::move(onTop))
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
        _drawings.drawn(widget->engine()->softwareFrame(), nowNs());
        return true;
    }

private:
    Drawings &_drawings;
    std::function<bool(MpvImageWidget *)> _onTop;
    bool _inside = false;
};

// The figures of one run, for the table after the benchmarks'.
struct Figures
{
    explicit Figures(ShownPictures shownPictures) : shown(std::move(shownPictures))
    {
        for (const auto &b : shown.borders) {
            oldUnshown += b.oldUnshown;
            oldUnshownWorst = std::max(oldUnshownWorst, b.oldUnshown);
            newSkipped += b.newSkipped;
            newSkippedWorst = std::max(newSkippedWorst, b.newSkipped);
            if (b.gapMs)
                gapsMs.push_back(*b.gapMs);
        }
        std::sort(gapsMs.begin(), gapsMs.end());
        for (const auto &freeze : shown.freezes)
            freezeWorstMs = std::max(freezeWorstMs, freeze.ms);
    }
    double gapMedianMs() const { return gapsMs.empty() ? 0.0 : gapsMs[gapsMs.size() / 2]; }
    double gapWorstMs() const { return gapsMs.empty() ? 0.0 : gapsMs.back(); }

    ShownPictures shown;
    int oldUnshown = 0, oldUnshownWorst = 0, newSkipped = 0, newSkippedWorst = 0;
    double freezeWorstMs = 0.0;
    std::vector<double> gapsMs; // of the borders that have one, in ascending order
};

// Per approach ("ours", "playlist") and rate.
std::map<std::pair<std::string, double>, Figures> figures;

void report(benchmark::State &state, const ShownPictures &shown, const std::string &approach, double rate)
{
    const Figures f(shown);
    state.counters["borders"] = double(shown.borders.size());
    state.counters["old_unshown"] = f.oldUnshown;
    state.counters["new_skipped"] = f.newSkipped;
    state.counters["freezes"] = double(shown.freezes.size());
    state.counters["freeze_max_ms"] = f.freezeWorstMs;
    state.counters["steps_back"] = double(shown.stepsBack.size());
    state.counters["mid_unshown"] = shown.midUnshownTotal();
    state.counters["pictures_per_s"] = shown.picturesPerSecond;
    state.counters["last_picture"] = shown.lastPicture;
    if (!f.gapsMs.empty()) {
        state.counters["gap_min_ms"] = f.gapsMs.front();
        state.counters["gap_median_ms"] = f.gapMedianMs();
        state.counters["gap_max_ms"] = f.gapWorstMs();
    }
    figures.insert_or_assign({approach, rate}, f);
}

void BM_BorderSwap(benchmark::State &state)
{
    const double rate = double(state.range(0)) / 10.0;
    Drawings drawings;
    int64_t playedFromNs = 0;
    for (auto _ : state) {
        MoviePlayerView view([] { return std::make_unique<MpvEngine>(MpvEngine::RenderMode::Software); });
        view.resize(960, 580);
        view.show(); // nothing is painted in a hidden window
        view.setValueInfo(
            std::make_shared<PlayMovieValueInfo>(trip().chapters, CardData::ActiveType::MovieRec));
        view.preparePlayer();
        testclips::waitUntil([&] { return view.currentStatus() == CommonConst::PlayStatus::Stop; });
        PlaybackClock *clock = view.clock();
        PaintWatch watch(drawings, [&](MpvImageWidget *widget) { return widget->engine() == view.engine(); });
        qApp->installEventFilter(&watch);
        if (!view.setPlayRate(float(rate))) {
            state.SkipWithError("the speed slider has no such rate");
            return;
        }
        playedFromNs = nowNs();
        view.playMovie();
        const int64_t end = view.valueInfo()->maxValue();
        testclips::waitUntil([&] { return clock->position() >= end; },
                             int(CHAPTERS * CHAPTER_MS / rate) + 20000);
        testclips::spin(300); // the last picture's paint
        qApp->removeEventFilter(&watch);
    }
    report(state, drawings.analyse(rate, playedFromNs), "ours", rate);
}

// One mpv core with the chapters as a playlist, rendering in software as the panel does offscreen.
void BM_PlaylistPrefetch(benchmark::State &state)
{
    const double rate = double(state.range(0)) / 10.0;
    Drawings drawings;
    int64_t playedFromNs = 0;
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
        playedFromNs = nowNs();
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
            drawings.drawn(picture, nowNs());
        }
        mpv_render_context_free(render);
        mpv_terminate_destroy(mpv);
    }
    report(state, drawings.analyse(rate, playedFromNs), "playlist", rate);
}

BENCHMARK(BM_BorderSwap)->Arg(10)->Arg(20)->Iterations(1)->Unit(benchmark::kSecond);
BENCHMARK(BM_PlaylistPrefetch)->Arg(10)->Arg(20)->Iterations(1)->Unit(benchmark::kSecond);

// ours / the playlist's, where both are on the same side of zero and the playlist's is not zero.
std::string ratio(double ours, double theirs)
{
    if (theirs == 0.0 || ours / theirs < 0.0)
        return "-";
    char text[32];
    std::snprintf(text, sizeof text, "%.2f", ours / theirs);
    return text;
}

void printTable()
{
    const Figures *runs[2][2] = {}; // [rate][ours, playlist]
    for (int r = 0; r < 2; ++r) {
        for (int a = 0; a < 2; ++a) {
            const auto it = figures.find({a == 0 ? "ours" : "playlist", r == 0 ? 1.0 : 2.0});
            runs[r][a] = it == figures.end() ? nullptr : &it->second;
        }
    }
    if (!runs[0][0] && !runs[0][1] && !runs[1][0] && !runs[1][1])
        return;
    const struct
    {
        const char *label;
        std::function<double(const Figures &)> value;
        const char *format;
    } rows[] = {
        {"borders", [](const Figures &f) { return double(f.shown.borders.size()); }, "%.0f"},
        {"old pictures unshown, all borders", [](const Figures &f) { return double(f.oldUnshown); }, "%.0f"},
        {"old pictures unshown, worst border", [](const Figures &f) { return double(f.oldUnshownWorst); },
         "%.0f"},
        {"new pictures skipped, all borders", [](const Figures &f) { return double(f.newSkipped); }, "%.0f"},
        {"new pictures skipped, worst border", [](const Figures &f) { return double(f.newSkippedWorst); },
         "%.0f"},
        {"freezes (> 3 picture intervals)", [](const Figures &f) { return double(f.shown.freezes.size()); },
         "%.0f"},
        {"worst freeze, ms", [](const Figures &f) { return f.freezeWorstMs; }, "%.0f"},
        {"steps back", [](const Figures &f) { return double(f.shown.stepsBack.size()); }, "%.0f"},
        {"mid-chapter pictures unshown", [](const Figures &f) { return double(f.shown.midUnshownTotal()); },
         "%.0f"},
        {"last picture", [](const Figures &f) { return double(f.shown.lastPicture); }, "%.0f"},
        {"pictures per second", [](const Figures &f) { return f.shown.picturesPerSecond; }, "%.1f"},
        {"border gap median, ms", [](const Figures &f) { return f.gapMedianMs(); }, "%+.1f"},
        {"border gap worst (latest), ms", [](const Figures &f) { return f.gapWorstMs(); }, "%+.1f"},
    };
    auto cell = [](const Figures *f, const std::function<double(const Figures &)> &value,
                   const char *format) {
        if (!f)
            return std::string("n/a");
        char text[32];
        std::snprintf(text, sizeof text, format, value(*f));
        return std::string(text);
    };
    std::printf(
        "\nchapter borders: ours (second engine) against one libmpv playlist with prefetch; %d chapters "
        "of %d pictures at %g fps\n",
        CHAPTERS, PICTURES, FPS);
    std::printf("%-36s %9s %9s %7s | %9s %9s %7s\n", "", "x1 ours", "playlist", "ratio", "x2 ours",
                "playlist", "ratio");
    for (const auto &row : rows) {
        std::printf("%-36s", row.label);
        for (int r = 0; r < 2; ++r) {
            const std::string ours = cell(runs[r][0], row.value, row.format);
            const std::string theirs = cell(runs[r][1], row.value, row.format);
            const std::string quotient =
                runs[r][0] && runs[r][1] ? ratio(row.value(*runs[r][0]), row.value(*runs[r][1])) : "-";
            std::printf("%s %9s %9s %7s", r == 0 ? "" : " |", ours.c_str(), theirs.c_str(), quotient.c_str());
        }
        std::printf("\n");
    }
    std::printf(
        "gap: the new chapter's first picture less the moment the old movie's end was due by the rhythm "
        "of its own pictures; positive: the new picture came late\n");

    std::printf("\nper border: old pictures unshown / new pictures skipped / gap ms\n%-6s", "border");
    const char *titles[2][2] = {{"x1 ours", "x1 playlist"}, {"x2 ours", "x2 playlist"}};
    size_t borders = 0;
    for (int r = 0; r < 2; ++r) {
        for (int a = 0; a < 2; ++a) {
            std::printf(" %18s", titles[r][a]);
            if (runs[r][a])
                borders = std::max(borders, runs[r][a]->shown.borders.size());
        }
    }
    std::printf("\n");
    for (size_t i = 0; i < borders; ++i) {
        std::printf("%-6zu", i + 1);
        for (int r = 0; r < 2; ++r) {
            for (int a = 0; a < 2; ++a) {
                char text[48] = "-";
                if (runs[r][a] && i < runs[r][a]->shown.borders.size()) {
                    const ShownPictures::Border &b = runs[r][a]->shown.borders[i];
                    if (b.gapMs)
                        std::snprintf(text, sizeof text, "%d / %d / %+.0f", b.oldUnshown, b.newSkipped,
                                      *b.gapMs);
                    else
                        std::snprintf(text, sizeof text, "%d / %d / -", b.oldUnshown, b.newSkipped);
                }
                std::printf(" %18s", text);
            }
        }
        std::printf("\n");
    }
    // Where each freeze and step back was (chapter/picture), to look for them in the movie.
    std::printf("\n");
    for (int r = 0; r < 2; ++r) {
        for (int a = 0; a < 2; ++a) {
            if (runs[r][a])
                std::printf("%s: %s\n", titles[r][a], runs[r][a]->shown.summary().c_str());
        }
    }
}

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
    printTable();
    benchmark::Shutdown();
    return 0;
}
