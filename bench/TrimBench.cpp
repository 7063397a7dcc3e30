// The trim job on a generated trip of three 20-second 1920x1080 chapters (28 fps, a key frame every 10
// frames), against the least an outside tool needs for the same clip. The trim without burned-in text
// copies the picture and encodes the sound anew (its argument lists leave the sound to ffmpeg's default,
// AAC): it cuts each chapter, joins the pieces and cuts the start again. It is compared with one ffmpeg
// run giving the same clip (the same range, the picture copied, the sound encoded to AAC), and with cp
// of the chapters; one ffmpeg run copying both picture and sound is listed too, as the floor of any cut.
// The burned-in trim is compared with one ffmpeg run burning the same subtitle filter into the same
// frames. The ratios are printed after the table (1.0: as fast as the tool).
#include "card/CardData.h"
#include "card/ChapterData.h"
#include "card/PictureDataUtil.h"
#include "recording/FileUtil.h"
#include "samplecard/SampleCardWriter.h"
#include "videotools/FfmpegOperate.h"
#include "videotools/SubtitleWriter.h"
#include "videotools/TrimWorker.h"

#include "RatioReporter.h"

#include <QDir>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

namespace {

constexpr int CHAPTER_MS = 20000;
// The burned-in range: the middle of the first chapter to the middle of the last.
constexpr int OVERLAY_START_MS = CHAPTER_MS / 2;
constexpr int OVERLAY_END_MS = 2 * CHAPTER_MS + CHAPTER_MS / 2;
constexpr int FPS = 28;

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

// Runs the trim job over the range in every iteration.
void trimEach(benchmark::State &state, int64_t startMs, int64_t endMs, OverlayFlags flags)
{
    Trip &t = trip();
    if (t.chapters.size() != 3) {
        state.SkipWithError("the chapters could not be generated");
        return;
    }
    QTemporaryDir out;
    for (auto _ : state) {
        TrimWorker worker(requestFor(t, out.path(), startMs, endMs, flags));
        if (worker.run() != TrimWorker::Result::Saved) {
            state.SkipWithError(qPrintable(worker.errorText()));
            return;
        }
    }
}

// Runs a program in every iteration (prepared: false skips with an error).
void runEach(benchmark::State &state, bool prepared, const QString &program, const QStringList &args)
{
    for (auto _ : state) {
        if (!prepared || !run(program, args)) {
            state.SkipWithError(qPrintable(program + " failed"));
            return;
        }
    }
}

void countFrames(benchmark::State &state, int64_t ms)
{
    state.counters["fps"] =
        benchmark::Counter(double(state.iterations()) * ms * FPS / 1000, benchmark::Counter::kIsRate);
}

QStringList chapterPaths(const Trip &t)
{
    QStringList paths;
    for (const auto &chapter : t.chapters)
        paths << chapter->_pathMp4.toLocalFile();
    return paths;
}

// ffmpeg's own options of the runs alone: no questions, no log.
const QStringList QUIET{"-nostdin", "-y", "-loglevel", "quiet"};

// The chapters as one input, from startMs for lengthMs.
QStringList concatInput(const QString &listPath, int64_t startMs, int64_t lengthMs)
{
    return {"-ss", FfmpegOperate::timeText(startMs), "-f", "concat", "-safe", "0", "-i", listPath,
            "-t",  FfmpegOperate::timeText(lengthMs)};
}

// Each chapter cut, the pieces joined, the start cut again; the picture copied, the sound encoded.
void BM_TrimPictureCopied(benchmark::State &state)
{
    trimEach(state, 500, PictureDataUtil::getTotalLength(trip().chapters) - 500, {});
    state.SetBytesProcessed(state.iterations() * trip().bytes);
}
BENCHMARK(BM_TrimPictureCopied)->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(3.0);

void BM_CopyWithCp(benchmark::State &state)
{
    QTemporaryDir out;
    runEach(state, true, "cp", chapterPaths(trip()) << out.path());
    state.SetBytesProcessed(state.iterations() * trip().bytes);
}
BENCHMARK(BM_CopyWithCp)->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(3.0);

// The least any ffmpeg-based trim costs: one ffmpeg run joining the chapters, their pictures by stream copy.
void BM_FfmpegJoinAlone(benchmark::State &state)
{
    QTemporaryDir out;
    const auto list = FfmpegOperate::margefileCreate(chapterPaths(trip()), out.path());
    runEach(state, list.has_value(), "ffmpeg",
            QUIET + FfmpegOperate::makeJoinArguments(list.value_or(QString()), out.filePath("joined.mp4"),
                                                     false));
    state.SetBytesProcessed(state.iterations() * trip().bytes);
}
BENCHMARK(BM_FfmpegJoinAlone)->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(3.0);

// One ffmpeg run over the chapters for BM_TrimPictureCopied's range, with the given codec options.
void cutJoinAlone(benchmark::State &state, const QStringList &codecs)
{
    Trip &t = trip();
    QTemporaryDir out;
    const auto list = FfmpegOperate::margefileCreate(chapterPaths(t), out.path());
    const auto range =
        TrimWorker::planRange(t.chapters, 500, PictureDataUtil::getTotalLength(t.chapters) - 500);
    const int64_t lengthMs = range ? range->endPosition - range->startPosition : 0;
    const QStringList cut = QUIET + concatInput(list.value_or(QString()), 500, lengthMs) + codecs +
                            QStringList{out.filePath("cut.mp4")};
    runEach(state, list && range, "ffmpeg", cut);
    state.SetBytesProcessed(state.iterations() * t.bytes);
}

// The clip BM_TrimPictureCopied gives, in one ffmpeg run: the picture copied, the sound encoded to AAC.
void BM_FfmpegCutJoinSoundEncodedAlone(benchmark::State &state)
{
    cutJoinAlone(state, {"-c:v", "copy", "-c:a", "aac"});
}
BENCHMARK(BM_FfmpegCutJoinSoundEncodedAlone)->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(3.0);

// The same range with picture and sound both copied: less work than the trim does, the floor of any cut.
void BM_FfmpegCutJoinAllCopiedAlone(benchmark::State &state)
{
    cutJoinAlone(state, {"-c", "copy"});
}
BENCHMARK(BM_FfmpegCutJoinAllCopiedAlone)->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(3.0);

// From the middle of the first chapter to the middle of the last with date and speed burned in.
void BM_TrimOverlayAcross(benchmark::State &state)
{
    trimEach(state, OVERLAY_START_MS, OVERLAY_END_MS, {true, true, false, false});
    countFrames(state, OVERLAY_END_MS - OVERLAY_START_MS);
}
BENCHMARK(BM_TrimOverlayAcross)->Unit(benchmark::kMillisecond)->UseRealTime();

// The same frames through one ffmpeg run with the first chapter's subtitle file and the same filter.
void BM_FfmpegOverlayAcrossAlone(benchmark::State &state)
{
    Trip &t = trip();
    QTemporaryDir out;
    const auto list = FfmpegOperate::margefileCreate(chapterPaths(t), out.path());
    const QString ass =
        SubtitleWriter(OverlaySettings{})
            .ASSCreate(*t.chapters.front(), {true, true, false, false}, out.filePath("movinfo.ass"));
    const QStringList burn =
        QUIET + concatInput(list.value_or(QString()), OVERLAY_START_MS, OVERLAY_END_MS - OVERLAY_START_MS) +
        QStringList{"-preset",
                    "veryfast",
                    "-vf",
                    FfmpegOperate::assFilter(ass),
                    "-g",
                    "10",
                    out.filePath("alone.mp4")};
    runEach(state, list.has_value(), "ffmpeg", burn);
    countFrames(state, OVERLAY_END_MS - OVERLAY_START_MS);
}
BENCHMARK(BM_FfmpegOverlayAcrossAlone)->Unit(benchmark::kMillisecond)->UseRealTime();

// Frames of one whole chapter cut with date and speed burned in.
void BM_TrimOverlayChapter(benchmark::State &state)
{
    trimEach(state, 0, CHAPTER_MS - 1, {true, true, false, false});
    countFrames(state, CHAPTER_MS);
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
    runEach(state, !ass.isEmpty(), "ffmpeg",
            QUIET + QStringList{"-i", t.chapters.front()->_pathMp4.toLocalFile(), "-preset", "veryfast",
                                "-vf", FfmpegOperate::assFilter(ass), "-g", "10", out.filePath("alone.mp4")});
    countFrames(state, CHAPTER_MS);
}
BENCHMARK(BM_FfmpegOverlayAlone)->Unit(benchmark::kMillisecond)->UseRealTime();

} // namespace

RATIO_BENCHMARK_MAIN({"BM_TrimPictureCopied", "BM_FfmpegCutJoinSoundEncodedAlone"},
                     {"BM_TrimPictureCopied", "BM_FfmpegCutJoinAllCopiedAlone"},
                     {"BM_TrimPictureCopied", "BM_CopyWithCp"},
                     {"BM_TrimOverlayAcross", "BM_FfmpegOverlayAcrossAlone"},
                     {"BM_TrimOverlayChapter", "BM_FfmpegOverlayAlone"});
