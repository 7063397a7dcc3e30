// The trim job on a generated trip of three 20-second 1920x1080 chapters (28 fps, a key frame every 10
// frames): stream copy against cp of the same chapters, and the burned-in cut against ffmpeg running
// the same subtitle filter alone. MB/s and frames per second are the counters to compare.
#include "card/CardData.h"
#include "card/ChapterData.h"
#include "card/PictureDataUtil.h"
#include "recording/FileUtil.h"
#include "samplecard/SampleCardWriter.h"
#include "videotools/FfmpegOperate.h"
#include "videotools/SubtitleWriter.h"
#include "videotools/TrimWorker.h"

#include <QDir>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

namespace {

constexpr int CHAPTER_MS = 20000;

struct Trip
{
    QTemporaryDir dir;
    CardData card;
    ChapterList chapters;
    int64_t bytes = 0;

    Trip()
    {
        SampleScenario scenario = SampleScenario::singleChapter(CHAPTER_MS);
        scenario.trips.front().chapters = {
            {1, 0, CHAPTER_MS}, {2, CHAPTER_MS, CHAPTER_MS}, {3, 2 * CHAPTER_MS, CHAPTER_MS}};
        scenario.videoWidth = 1920;
        scenario.videoHeight = 1080;
        scenario.keyFrameInterval = 10;
        SampleCardWriter writer(scenario);
        if (!writer.writeCard(dir.path()))
            return;
        card.loadCardFolder(FileUtil::fileUrl(dir.filePath("MOVE")));
        if (card._tripList.size() == 1)
            chapters = card._tripList.front()->sortedChapters();
        for (const auto &chapter : chapters)
            bytes += QFileInfo(chapter->_pathMp4.toLocalFile()).size();
    }
};

Trip &trip()
{
    static Trip instance;
    return instance;
}

bool run(const QString &program, const QStringList &args)
{
    QProcess process;
    process.start(program, args);
    return process.waitForFinished(-1) && process.exitStatus() == QProcess::NormalExit &&
           process.exitCode() == 0;
}

TrimRequest requestFor(const Trip &t, const QString &folder, int64_t startMs, int64_t endMs,
                       OverlayFlags flags)
{
    TrimRequest request;
    request.chapters = t.chapters;
    request.startMs = startMs;
    request.endMs = endMs;
    request.flags = flags;
    request.destination = QDir(folder).filePath("clip.mp4");
    request.workFolderBase = QDir(folder).filePath("TMP");
    return request;
}

void BM_TrimStreamCopy(benchmark::State &state)
{
    Trip &t = trip();
    if (t.chapters.size() != 3) {
        state.SkipWithError("the chapters could not be generated");
        return;
    }
    QTemporaryDir out;
    const int64_t end = PictureDataUtil::getTotalLength(t.chapters) - 500;
    for (auto _ : state) {
        TrimWorker worker(requestFor(t, out.path(), 500, end, {}));
        if (worker.run() != TrimWorker::Result::Saved) {
            state.SkipWithError(qPrintable(worker.errorText()));
            return;
        }
    }
    state.SetBytesProcessed(state.iterations() * t.bytes);
}
BENCHMARK(BM_TrimStreamCopy)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_CopyWithCp(benchmark::State &state)
{
    Trip &t = trip();
    QTemporaryDir out;
    QStringList args;
    for (const auto &chapter : t.chapters)
        args << chapter->_pathMp4.toLocalFile();
    args << out.path();
    for (auto _ : state) {
        if (!run("cp", args)) {
            state.SkipWithError("cp failed");
            return;
        }
    }
    state.SetBytesProcessed(state.iterations() * t.bytes);
}
BENCHMARK(BM_CopyWithCp)->Unit(benchmark::kMillisecond)->UseRealTime();

// The least any ffmpeg-based trim costs: one ffmpeg run joining the chapters by stream copy.
void BM_FfmpegJoinAlone(benchmark::State &state)
{
    Trip &t = trip();
    QTemporaryDir out;
    QStringList paths;
    for (const auto &chapter : t.chapters)
        paths << chapter->_pathMp4.toLocalFile();
    const auto list = FfmpegOperate::margefileCreate(paths, out.path());
    for (auto _ : state) {
        if (!list ||
            !run("ffmpeg", QStringList{"-nostdin", "-loglevel", "quiet"} +
                               FfmpegOperate::makeJoinArguments(*list, out.filePath("joined.mp4"), false))) {
            state.SkipWithError("ffmpeg failed");
            return;
        }
    }
    state.SetBytesProcessed(state.iterations() * t.bytes);
}
BENCHMARK(BM_FfmpegJoinAlone)->Unit(benchmark::kMillisecond)->UseRealTime();

// Frames of one whole chapter cut with date and speed burned in.
void BM_TrimOverlayChapter(benchmark::State &state)
{
    Trip &t = trip();
    if (t.chapters.size() != 3) {
        state.SkipWithError("the chapters could not be generated");
        return;
    }
    QTemporaryDir out;
    for (auto _ : state) {
        TrimWorker worker(requestFor(t, out.path(), 0, CHAPTER_MS - 1, {true, true, false, false}));
        if (worker.run() != TrimWorker::Result::Saved) {
            state.SkipWithError(qPrintable(worker.errorText()));
            return;
        }
    }
    state.counters["fps"] =
        benchmark::Counter(double(state.iterations()) * CHAPTER_MS * 28 / 1000, benchmark::Counter::kIsRate);
}
BENCHMARK(BM_TrimOverlayChapter)->Unit(benchmark::kMillisecond)->UseRealTime();

// The same chapter through ffmpeg with the same subtitle file and filter, nothing else.
void BM_FfmpegOverlayAlone(benchmark::State &state)
{
    Trip &t = trip();
    QTemporaryDir out;
    const QString ass =
        SubtitleWriter(OverlaySettings{})
            .ASSCreate(*t.chapters.front(), {true, true, false, false}, out.filePath("movinfo.ass"));
    const QString input = t.chapters.front()->_pathMp4.toLocalFile();
    for (auto _ : state) {
        if (!run("ffmpeg", {"-nostdin", "-y", "-loglevel", "quiet", "-i", input, "-preset", "veryfast", "-vf",
                            FfmpegOperate::assFilter(ass), "-g", "10", out.filePath("alone.mp4")})) {
            state.SkipWithError("ffmpeg failed");
            return;
        }
    }
    state.counters["fps"] =
        benchmark::Counter(double(state.iterations()) * CHAPTER_MS * 28 / 1000, benchmark::Counter::kIsRate);
}
BENCHMARK(BM_FfmpegOverlayAlone)->Unit(benchmark::kMillisecond)->UseRealTime();

} // namespace

BENCHMARK_MAIN();
