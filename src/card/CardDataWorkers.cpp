// CardData's background workers and the stills of its event records (the rest of CardData is in
// CardData.cpp).
#include "card/AVUtil.h"
#include "card/CardData.h"
#include "card/CardDataDelegate.h"
#include "card/CardWorkerSteps.h"
#include "card/ChapterData.h"
#include "card/MoveProtectInfo.h"
#include "card/TripData.h"
#include "card/WorkerGroup.h"
#include "recording/CommonConst.h"
#include "recording/PictureData.h"
#include "recording/VideoInfo.h"

#include <QObject>
#include <algorithm>
#include <chrono>

namespace {

using Chapter = std::shared_ptr<ChapterData>;

// Each attempt at an event still looks this much earlier than the one before (ms).
constexpr int64_t EVENT_STILL_STEP_BACK_MS = 500;

QUrl thumbnailFolder()
{
    return QUrl::fromLocalFile(CommonConst::DIR_PATH_THUMB());
}

} // namespace

void CardData::startLoadWorkers()
{
    if (_wkThreadGroup)
        return;
    if (!_handOffContext)
        _handOffContext = std::make_unique<QObject>();
    _wkThreadGroup = std::make_unique<WorkerGroup>(
        _handOffContext.get(), [this] { return _isDispose.load(); },
        std::chrono::milliseconds(THREADED_SLEEP_MSEC), [this] { workersFinished(); });

    // The hand-offs run on the main thread through the context, which dies with this card; the
    // delegate is resolved there, at the moment of the call.
    using Requirement = void (CardDataDelegate::*)(ChapterData &);
    _loopsWithNothingLeft = 0;
    _handOffsToRun = 0;
    const auto worker = [this](std::shared_ptr<ChapterData> (CardData::*step)(), Requirement requirement) {
        return [this, step, requirement, isDone = false]() mutable -> WorkerGroup::HandOff {
            CardWorkerSteps::resetAttempts();
            Chapter chapter = (this->*step)();
            if (!chapter && CardWorkerSteps::attempts() == 0 && !isDone) {
                isDone = true;
                ++_loopsWithNothingLeft;
            }
            if (!chapter)
                return nullptr;
            // Counted before the step that finds nothing left, so "done" waits for this one to run.
            ++_handOffsToRun;
            return [this, chapter = std::move(chapter), requirement] {
                if (const auto receiver = delegate.lock())
                    (receiver.get()->*requirement)(*chapter);
                --_handOffsToRun;
            };
        };
    };
    _wkThreadGroup->start(worker(&CardData::loadNextPictureData, &CardDataDelegate::redrawRoute),
                          WorkerGroup::Priority::Background);
    _wkThreadGroup->start(worker(&CardData::loadNextThumbnail, &CardDataDelegate::chapterDataUpdated),
                          WorkerGroup::Priority::Default);
}

void CardData::workersFinished()
{
    // Main thread, after both loops have returned and their last hand-off ran. Dropping the group
    // joins threads that have already left their loops.
    releaseLists();
    _wkThreadGroup.reset();
    _isDispose = false;
}

std::shared_ptr<ChapterData> CardData::loadNextPictureData()
{
    return CardWorkerSteps::nextPictureData(*this, _pictureScan);
}

std::shared_ptr<ChapterData> CardData::loadNextThumbnail()
{
    return CardWorkerSteps::nextThumbnail(*this, _thumbnailScan);
}

std::optional<QUrl> CardData::makeEventThumbnail(bool force, MoveProtectInfo &record)
{
    return makeRecordThumbnail(force, record, false);
}

std::optional<QUrl> CardData::makeSurveillanceThumbnail(bool force, MoveProtectInfo &record)
{
    return makeRecordThumbnail(force, record, true);
}

std::optional<QUrl> CardData::makeRecordThumbnail(bool force, MoveProtectInfo &record, bool isSurveillance)
{
    const Chapter chapter = getEventChapter(record);
    if (!chapter)
        return std::nullopt;
    // Only reporting: the main thread must not wait for an attempt running on the worker.
    if (!force)
        return record.pathThumbnail();
    const auto build = record.lockThumbnailBuild();
    // A record that has its still keeps it: no new grab, no counted attempt.
    if (auto existing = record.pathThumbnail())
        return existing;
    record.addRetryCntThumbnail();
    const int64_t attempts = record.retryCntThumbnail();

    // The event's place in the chapter's movie, on the camera's millisecond counter.
    const int64_t offset = int64_t(record._timeStamp) - int64_t(chapter->timeStamp());
    // An event right at the chapter's start has no still of its own (a surveillance record does).
    if (offset == 0 && !isSurveillance)
        return std::nullopt;

    int64_t grab = 1;
    if (const auto picture = chapter->getPicture(true); picture && picture->video) {
        const VideoInfo &video = *picture->video;
        const VideoFrame frame = picture->video->findFrame(1, offset, true);
        grab = int64_t(std::min(frame._movieTimeStamp, video._timeSpan)) + 1;
    }
    // Each retry looks half a second earlier, but never before the movie's start, where no
    // attempt could ever succeed.
    const int64_t position = std::max<int64_t>(0, grab - EVENT_STILL_STEP_BACK_MS * attempts);
    QString problem;
    auto still = AVUtil::saveThumbnail(chapter->_pathMp4, position, thumbnailFolder(), &_isDispose, &problem);
    _fileProblems.add(chapter->_pathMp4.toLocalFile(), problem);
    if (still && still->isLocalFile())
        record.setPathThumbnail(still);
    return record.pathThumbnail();
}

bool CardData::loadEventThumbnail(MoveProtectInfo &record)
{
    return CardWorkerSteps::eventThumbnail(*this, record);
}
