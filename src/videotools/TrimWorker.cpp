#include "videotools/TrimWorker.h"

#include "card/ChapterData.h"
#include "card/PictureDataUtil.h"
#include "card/WriteDestination.h"
#include "platform/LockedWorkFolder.h"
#include "platform/MovieProbe.h"
#include "platform/PacketTimesReader.h"
#include "platform/StagedReplacement.h"
#include "player/FrameSteps.h"
#include "recording/CutVideoBoxWriter.h"
#include "recording/CutVideoKihonInfo.h"
#include "recording/FileUtil.h"
#include "recording/IOUtil.h"
#include "recording/PictureData.h"
#include "recording/VideoInfo.h"
#include "videotools/CopyCutEnd.h"
#include "videotools/FfmpegBatch.h"
#include "videotools/FfmpegJob.h"
#include "videotools/FfmpegOperate.h"
#include "videotools/SubtitleWriter.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstring>
#include <limits>
#include <tuple>
#include <vector>

namespace {

QString tr(const char *text)
{
    return QCoreApplication::translate("TrimWorker", text);
}

QString newClipPath(const QString &folder)
{
    return FileUtil::appendPath(folder, randomString(8) + QStringLiteral(".mp4"));
}

// Each cut burns in its own subtitle file, as the cuts run side by side.
QString subtitlePath(const QString &workFolder, int64_t cut)
{
    const QString folder = FileUtil::appendPath(workFolder, QString::number(cut));
    QDir().mkpath(folder);
    return FileUtil::appendPath(folder, SubtitleWriter::ASS_FILE_NAME);
}

// Where a cut that runs to its chapter's end stops: at the end of the chapter's last picture. The
// concat demuxer puts the next cut after the longer of a cut's streams, and a cut's sound, decoded
// to the end of the source's last frame of sound, runs on past the picture by up to that frame (64 ms at
// 16 kHz), further with a camera's own tail; the next chapter's first picture would come that late.
// None when the picture's end is unknown.
std::optional<uint32_t> chapterEndStamp(int64_t pictureEndMs)
{
    if (pictureEndMs <= 0 || pictureEndMs > std::numeric_limits<uint32_t>::max())
        return std::nullopt;
    return uint32_t(pictureEndMs);
}

// Where the clip starts in the first chapter's movie time: at the start of the picture the player
// shows at the selection's start. The records are sparser than the pictures and the movie runs on
// between two, so the record at the start may lie a picture earlier; ffmpeg keeps the pictures from
// its start time on, so the time is taken back to the picture's start, not past it.
std::optional<uint32_t> pictureStartStamp(ChapterData &chapter, int32_t offset, double frameRate,
                                          std::optional<uint32_t> recordStamp)
{
    const std::shared_ptr<PictureData> picture = chapter.getPicture(true);
    if (!recordStamp || frameRate <= 0.0 || !picture || !picture->video)
        return recordStamp;
    const FrameTable frames = picture->video->getCameraFrames(1);
    if (frames.empty())
        return recordStamp;
    const int64_t shown = FrameSteps::pictureAt(FrameSteps::movieTimeAt(frames, offset), frameRate);
    const double startMs = std::floor(double(shown) * 1000.0 / frameRate);
    if (startMs < 0.0 || startMs > double(std::numeric_limits<uint32_t>::max()))
        return recordStamp;
    return uint32_t(startMs);
}

// Where a cut whose pictures are copied from input (from startMs, when given) ends so that its last
// pictures are whole: at endMs or on a group of pictures either side of it (CopyCutEnd), in ms of the
// input's movie time.
std::pair<uint32_t, std::optional<int64_t>> copyCutEnd(const QString &input, std::optional<uint32_t> startMs,
                                                       uint32_t endMs)
{
    constexpr int64_t SEARCH_US = 1000000; // far beyond any group of B-frames
    const int64_t fromMs = startMs.value_or(0);
    std::vector<PacketTimesReader::Packet> packets =
        PacketTimesReader::read(input, int64_t(endMs) * 1000 - SEARCH_US, int64_t(endMs) * 1000 + SEARCH_US);
    for (PacketTimesReader::Packet &packet : packets) {
        packet.ptsUs -= fromMs * 1000;
        packet.dtsUs -= fromMs * 1000;
    }
    const CopyCutEnd::End end = CopyCutEnd::end(packets, int64_t(endMs) - fromMs);
    const int64_t cutMs = fromMs + end.lengthMs;
    if (cutMs <= fromMs || cutMs > std::numeric_limits<uint32_t>::max())
        return {endMs, std::nullopt};
    return {uint32_t(cutMs), end.dropFromUs};
}

} // namespace

TrimWorker::TrimWorker(TrimRequest request) : _request(std::move(request)) {}

std::optional<TrimWorker::Range> TrimWorker::planRange(const ChapterList &chapters, int64_t startMs,
                                                       int64_t endMs)
{
    constexpr int64_t lowest = std::numeric_limits<int32_t>::min();
    constexpr int64_t highest = std::numeric_limits<int32_t>::max();
    if (chapters.empty() || startMs < lowest || startMs > highest || endMs < lowest || endMs > highest)
        return std::nullopt;
    Range range;
    range.startPosition = int32_t(startMs);
    range.endPosition = int32_t(endMs);
    PictureDataUtil::getChapterPosition(chapters, range.startPosition, range.startIndex, range.startOffset);
    PictureDataUtil::getChapterPosition(chapters, range.endPosition, range.endIndex, range.endOffset);
    return withMargins(chapters, range);
}

std::optional<TrimWorker::Range>
TrimWorker::planRange(const ChapterList &chapters, ChapterTimeline::Place start, ChapterTimeline::Place end)
{
    const auto count = int64_t(chapters.size());
    if (start.index < 0 || start.index >= count || end.index < 0 || end.index >= count)
        return std::nullopt;
    // An offset past a chapter that came out shorter than the timeline it was taken on is its last position.
    const auto within = [&chapters](const ChapterTimeline::Place &at) {
        const int64_t length = chapters[size_t(at.index)]->frameTimeSpan();
        return int32_t(std::clamp<int64_t>(at.offset, 0, std::max<int64_t>(length, 0)));
    };
    Range range;
    range.startIndex = start.index;
    range.startOffset = within(start);
    range.endIndex = end.index;
    range.endOffset = within(end);
    range.startPosition = PictureDataUtil::getPosition(chapters, range.startIndex, range.startOffset);
    range.endPosition = PictureDataUtil::getPosition(chapters, range.endIndex, range.endOffset);
    return withMargins(chapters, range);
}

std::optional<TrimWorker::Range> TrimWorker::withMargins(const ChapterList &chapters, Range range)
{
    const int64_t firstLength = chapters[size_t(range.startIndex)]->frameTimeSpan();
    if (firstLength - range.startOffset < EDGE_MARGIN_MS) {
        range.startOffset = int32_t(std::max<int64_t>(firstLength - EDGE_MARGIN_MS, 0));
        range.startPosition = PictureDataUtil::getPosition(chapters, range.startIndex, range.startOffset);
    }
    if (range.endOffset < EDGE_MARGIN_MS) {
        const int64_t lastLength = chapters[size_t(range.endIndex)]->frameTimeSpan();
        range.endOffset = int32_t(std::min<int64_t>(EDGE_MARGIN_MS, lastLength));
        range.endPosition = PictureDataUtil::getPosition(chapters, range.endIndex, range.endOffset);
    }
    if (range.endIndex < range.startIndex)
        return std::nullopt;
    return range;
}

bool TrimWorker::checkDestination()
{
    const QString &destination = _request.destination;
    if (const auto conflict =
            WriteDestination::sourceConflict(destination, _request.openSourcePath, _request.chapters)) {
        fail(WriteDestination::sourceConflictText(), *conflict);
        return false;
    }
    if (const auto problem = WriteDestination::folderProblem(QFileInfo(destination).absolutePath())) {
        fail(WriteDestination::folderProblemText(), *problem);
        return false;
    }
    return true;
}

bool TrimWorker::checkClip(const QString &clip)
{
    // A cut that ffmpeg ended well may still hold no picture (a selection of no length, a broken
    // chapter): that is no clip to save.
    const auto movie = MovieProbe::probe(clip);
    if (movie && movie->width > 0 && movie->videoFrames > 0)
        return true;
    fail(tr("The clip holds no picture."), QStringLiteral("%1 holds no video frame").arg(clip));
    return false;
}

bool TrimWorker::cancel()
{
    int expected = Running;
    if (_state.compare_exchange_strong(expected, Cancelled) || expected == Cancelled) {
        _isCancelRequested = true;
        return true;
    }
    return false;
}

TrimWorker::Result TrimWorker::run()
{
    Result result = Result::Failed;
    if (!checkDestination()) {
        result = Result::Failed;
    } else if (!QDir().mkpath(_request.workFolderBase)) {
        result = fail(tr("Cannot create the work folder %1.").arg(_request.workFolderBase));
    } else {
        // Every temporary file of the job lives in this folder, which goes with it on every path; the
        // folders of trims whose program was killed are removed first. Only the finished clip is
        // written beside the destination.
        LockedWorkFolder::removeDead(_request.workFolderBase, QStringLiteral("trim-"));
        const LockedWorkFolder work(
            FileUtil::appendPath(_request.workFolderBase, QStringLiteral("trim-XXXXXX")));
        result = work.isValid() ? runPasses(work.path())
                                : fail(tr("Cannot create the work folder %1.").arg(_request.workFolderBase));
        if (result == Result::Failed)
            nameFullVolume();
    }
    int expected = Running;
    _state.compare_exchange_strong(expected, Ended);
    if (expected == Cancelled)
        return Result::Cancelled;
    return result;
}

TrimWorker::Result TrimWorker::runPasses(const QString &workFolder)
{
    const ChapterList &chapters = _request.chapters;
    const auto range = _request.startPlace && _request.endPlace
                           ? planRange(chapters, *_request.startPlace, *_request.endPlace)
                           : planRange(chapters, _request.startMs, _request.endMs);
    if (!range)
        return fail(tr("The selection lies outside the recordings."));
    const int64_t n = range->chapterCount();
    _total = int(2 * n + 4);
    const bool overlay = _request.flags.any();

    // Metadata pass: the clip's driving data, from the chapters whose recording can be read.
    // Each chapter's pictures follow the previous chapter's last picture in the clip (the cuts end
    // there), so a chapter lasts as long as its pictures, however long its sound runs on.
    std::optional<CutVideoKihonInfo> metadata;
    std::vector<int64_t> pictureEnds;
    std::vector<double> frameRates;
    for (int64_t i = range->startIndex; i <= range->endIndex; ++i) {
        if (isCancelled())
            return Result::Cancelled;
        ChapterData &chapter = *chapters[size_t(i)];
        const int64_t endCut = i == range->endIndex ? range->endOffset : chapter.frameTimeSpan();
        const auto movie = MovieProbe::probe(chapter._pathMp4.toLocalFile());
        pictureEnds.push_back(movie ? movie->pictureEndMs : 0);
        frameRates.push_back(movie ? movie->frameRate : 0.0);
        const int64_t duration = pictureEnds.back() > 0 ? pictureEnds.back() : movie ? movie->durationMs : 0;
        const std::shared_ptr<PictureData> picture = chapter.getPicture(true);
        if (picture && picture->video) {
            VideoInfo &video = *picture->video;
            if (!metadata) {
                const OverlayFlags flags =
                    video._isCutVideo
                        ? OverlayFlags{video.isDatetime, video.isSpeed, video.isAcceleration, video.isPoint}
                        : _request.flags;
                metadata = CutVideoKihonInfo::initFromVideoInfo(video, range->startOffset, endCut, duration,
                                                                flags.isDatetime, flags.isSpeed,
                                                                flags.isAcceleration, flags.isPoint);
            } else {
                metadata->appendChapter(video, endCut, duration);
            }
        }
        step();
    }
    if (!metadata)
        return fail(tr("No recording of the selection has driving data."));

    // Pass 1: one cut per chapter. The cuts do not depend on each other and run side by side.
    const SubtitleWriter subtitles(_request.overlaySettings);
    std::vector<FfmpegBatch::Run> cuts;
    QStringList clips;
    std::optional<uint32_t> rememberedStart;
    bool isStartPassDue = false;
    for (int64_t k = 0; k < n; ++k) {
        if (isCancelled())
            return Result::Cancelled;
        ChapterData &chapter = *chapters[size_t(range->startIndex + k)];
        const QString input = chapter._pathMp4.toLocalFile();
        if (!QFileInfo::exists(input))
            return fail(tr("The recording %1 is missing.").arg(input));
        const QString ass =
            overlay ? subtitles.ASSCreate(chapter, _request.flags, subtitlePath(workFolder, k)) : QString();
        const auto startStamp =
            k == 0 ? pictureStartStamp(chapter, range->startOffset, frameRates.front(),
                                       PictureDataUtil::getMovieTimeStamp(chapters, range->startPosition))
                   : std::nullopt;
        auto endStamp = k == n - 1 ? PictureDataUtil::getMovieTimeStamp(chapters, range->endPosition)
                                   : chapterEndStamp(pictureEnds[size_t(k)]);
        // The clip's end; the other cuts end after their chapter's last picture, with every packet.
        std::optional<int64_t> dropFromUs;
        if (k == n - 1 && endStamp && !overlay)
            std::tie(endStamp, dropFromUs) = copyCutEnd(input, startStamp, *endStamp);
        const QString clip = newClipPath(workFolder);
        QStringList args;
        if (k == 0 && n > 1 && !overlay) {
            // The whole first chapter is copied; its start is cut from the joined clip, so the join
            // starts on a key frame.
            args = FfmpegOperate::makeTrimArguments(input, clip, ass, std::nullopt, endStamp, true);
            rememberedStart = startStamp;
            isStartPassDue = true;
        } else {
            args =
                FfmpegOperate::makeTrimArguments(input, clip, ass, startStamp, endStamp, n > 1, dropFromUs);
        }
        if (args.isEmpty())
            return fail(tr("The selection gives no length."));
        const int64_t expected =
            int64_t(endStamp.value_or(uint32_t(chapter.frameTimeSpan()))) - int64_t(startStamp.value_or(0));
        log(FfmpegJob(args).commandLine());
        cuts.push_back({args, expected});
        clips << clip;
    }
    FfmpegBatch batch(_request.ffmpegProgram, FfmpegBatch::defaultLimit());
    switch (batch.run(cuts, _isCancelRequested, [this](size_t) { step(); })) {
    case FfmpegBatch::Outcome::Succeeded:
        break;
    case FfmpegBatch::Outcome::Cancelled:
        return Result::Cancelled;
    case FfmpegBatch::Outcome::Failed:
        return isCancelled() ? Result::Cancelled : fail(batch.errorText(), batch.shortErrorText());
    }
    if (isCancelled())
        return Result::Cancelled;

    // Pass 2: the join.
    step();
    const QString joined = newClipPath(workFolder);
    if (clips.size() == 1) {
        if (!QFile::rename(clips.first(), joined))
            return fail(tr("Cannot move %1 in the work folder.").arg(clips.first()));
    } else {
        const auto listPath = FfmpegOperate::margefileCreate(clips, workFolder);
        if (!listPath)
            return fail(tr("Cannot write the list of cuts in %1.").arg(workFolder));
        // Run from the work folder with the list by name: the list names the cuts the same way, so the
        // folder's path (which may hold a line feed) is never parsed by ffmpeg's concat demuxer.
        const QString listName = QFileInfo(*listPath).fileName();
        if (!runFfmpeg(FfmpegOperate::makeJoinArguments(listName, joined, overlay), 0, workFolder))
            return isCancelled() ? Result::Cancelled : Result::Failed;
    }

    // Pass 3: the start of the first chapter, cut from the joined clip.
    QString finished = joined;
    if (isStartPassDue && rememberedStart) {
        finished = newClipPath(workFolder);
        if (!runFfmpeg(
                FfmpegOperate::makeTrimArguments(joined, finished, QString(), rememberedStart, std::nullopt),
                0))
            return isCancelled() ? Result::Cancelled : Result::Failed;
    }
    // The cuts are no longer needed: free their space before the clip is copied out.
    for (const QString &clip : clips)
        QFile::remove(clip);
    step();

    if (!checkClip(finished))
        return Result::Failed;
    QString boxError;
    if (!CutVideoBoxWriter::append(finished, *metadata, &boxError))
        return fail(boxError);
    step();
    if (!moveIntoPlace(finished))
        return isCancelled() ? Result::Cancelled : Result::Failed;
    return Result::Saved;
}

bool TrimWorker::runFfmpeg(const QStringList &arguments, int64_t expectedMs, const QString &folder)
{
    if (arguments.isEmpty()) {
        fail(tr("The selection gives no length."));
        return false;
    }
    FfmpegJob job(arguments);
    if (!_request.ffmpegProgram.isEmpty())
        job.setProgram(_request.ffmpegProgram);
    job.setExpectedDurationMs(expectedMs);
    if (!folder.isEmpty())
        job.setWorkingDirectory(folder);
    log(job.commandLine());
    const FfmpegJob::Outcome outcome = job.run(&_isCancelRequested);
    if (outcome == FfmpegJob::Outcome::Succeeded)
        return true;
    if (outcome != FfmpegJob::Outcome::Cancelled)
        fail(job.errorText(), job.shortErrorText());
    return false;
}

bool TrimWorker::moveIntoPlace(const QString &finished)
{
    // The clip is copied beside the destination first (moved, on the same file system), so that the
    // old file stays whole until one rename replaces it; a copy that fails leaves nothing there.
    StagedReplacement replacement(_request.destination, QStringLiteral(".trim-"));
    if (!replacement.stage(finished)) {
        fail(replacement.error());
        return false;
    }
    // The one commit point: a cancel that came before it wins, one after it is too late.
    int expected = Running;
    if (!_state.compare_exchange_strong(expected, Committed))
        return false;
    if (!replacement.commit()) {
        fail(tr("Cannot replace %1.").arg(QFileInfo(_request.destination).absoluteFilePath()),
             replacement.error());
        return false;
    }
    return true;
}

void TrimWorker::nameFullVolume()
{
    // ffmpeg rarely says why a write failed (a burned-in cut runs quiet, a failed trailer may even end
    // with 0 and leave a broken file for the next step), so the volume itself is asked.
    const QString destination = QFileInfo(_request.destination).absoluteFilePath();
    const std::pair<QString, QString> written[] = {{destination, QFileInfo(destination).absolutePath()},
                                                   {_request.workFolderBase, _request.workFolderBase}};
    for (const auto &[path, folder] : written) {
        const int64_t free = IOUtil::getFreeSpace(folder);
        if (free < 0 || free >= FULL_VOLUME_BYTES)
            continue;
        const QString reason =
            QStringLiteral("%1: %2").arg(path, QString::fromLocal8Bit(std::strerror(ENOSPC)));
        if (_failureReason == reason)
            return; // the failed write said so itself
        _errorText = reason + QLatin1Char('\n') + _errorText;
        _failureReason = reason;
        return;
    }
}

void TrimWorker::step()
{
    ++_step;
    if (_onProgress)
        _onProgress(_step, _total);
}

TrimWorker::Result TrimWorker::fail(const QString &text, const QString &reason)
{
    if (_errorText.isEmpty()) {
        _errorText = reason.isEmpty() || reason == text ? text : text + QLatin1Char('\n') + reason;
        _failureReason = reason.isEmpty() ? text : reason;
    }
    return Result::Failed;
}

void TrimWorker::log(const QString &line)
{
    if (_onLog)
        _onLog(line);
}
