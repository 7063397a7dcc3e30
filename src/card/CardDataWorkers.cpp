// CardData's background workers and the stills of its event records (the rest of CardData is in
// CardData.cpp).
#include "card/AVUtil.h"
#include "card/CardData.h"
#include "card/CardDataDelegate.h"
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
using Trips = std::vector<std::shared_ptr<TripData>>;

// Each attempt at an event still looks this much earlier than the one before (ms).
constexpr int64_t EVENT_STILL_STEP_BACK_MS = 500;

// Candidates a worker's step tried, failed or not; every loop has a thread of its own.
thread_local int64_t attemptsOfThisStep = 0;

bool hasPictureCandidate(const Chapter &chapter)
{
    return chapter && chapter->retryCntPictureData() < CardData::MAX_RETRY_CNT_PICTUREDATA &&
           !chapter->getPicture(false);
}

// Builds a candidate's driving data (the attempt is counted by getPicture); true when it has some.
bool loadPicture(const Chapter &chapter)
{
    if (!hasPictureCandidate(chapter))
        return false;
    ++attemptsOfThisStep;
    return chapter->getPicture(true) != nullptr;
}

bool loadThumbnail(const Chapter &chapter)
{
    if (!chapter || chapter->retryCntThumbnail() >= CardData::MAX_RETRY_CNT_THUMBNAIL ||
        chapter->pathThumbnail())
        return false;
    ++attemptsOfThisStep;
    return chapter->makeThumbnail(true).has_value();
}

// The first chapter of the trips (all of them, or only the active ones) for which the rule
// succeeds; every chapter or only each trip's first.
template <typename Rule>
Chapter firstInTrips(const Trips &trips, bool activeOnly, bool firstChapterOnly, Rule rule)
{
    for (const auto &trip : trips) {
        if (activeOnly && !trip->_isActive)
            continue;
        const ChapterList chapters = trip->sortedChapters();
        for (const auto &chapter : chapters) {
            if (rule(chapter))
                return chapter;
            if (firstChapterOnly)
                break;
        }
    }
    return nullptr;
}

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
    const auto worker = [this](std::shared_ptr<ChapterData> (CardData::*step)(), Requirement requirement) {
        return [this, step, requirement, isDone = false]() mutable -> WorkerGroup::HandOff {
            attemptsOfThisStep = 0;
            Chapter chapter = (this->*step)();
            if (!chapter && attemptsOfThisStep == 0 && !isDone) {
                isDone = true;
                ++_loopsWithNothingLeft;
            }
            if (!chapter)
                return nullptr;
            return [this, chapter = std::move(chapter), requirement] {
                if (const auto receiver = delegate.lock())
                    (receiver.get()->*requirement)(*chapter);
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
    // What the user looks at first, then every trip. The lists themselves are not changed while
    // the workers run; only the order within a trip may be (under the trip's lock).
    switch (_activeType.load()) {
    case ActiveType::EventRec:
        // Only records whose chapter the lookup has already cached.
        for (const auto &record : _moveProtectList) {
            if (Chapter chapter = record->eventChapter(); loadPicture(chapter))
                return chapter;
        }
        break;
    case ActiveType::AdventureRec:
        if (Chapter chapter = firstInTrips(_advTripList, true, false, loadPicture))
            return chapter;
        break;
    case ActiveType::MovieRec:
        if (Chapter chapter = firstInTrips(_tripList_tab, true, false, loadPicture))
            return chapter;
        break;
    }
    return firstInTrips(_tripList, false, false, loadPicture);
}

std::shared_ptr<ChapterData> CardData::loadNextThumbnail()
{
    const auto passM = [this] { return firstInTrips(_tripList_tab, true, false, loadThumbnail); };
    const auto passM1 = [this] { return firstInTrips(_tripList_tab, true, true, loadThumbnail); };
    const auto passA = [this] { return firstInTrips(_advTripList, false, false, loadThumbnail); };
    const auto passA1 = [this] { return firstInTrips(_advTripList, false, true, loadThumbnail); };
    const auto passT = [this] { return firstInTrips(_tripList, false, false, loadThumbnail); };
    const auto passE = [this]() -> Chapter {
        for (const auto &record : _moveProtectList) {
            if (loadEventThumbnail(*record))
                return record->eventChapter();
        }
        return nullptr;
    };
    using Pass = std::function<Chapter()>;
    std::vector<Pass> passes;
    switch (_activeType.load()) {
    case ActiveType::MovieRec:
        passes = {passM, passM1, passT, passE, passA};
        break;
    case ActiveType::EventRec:
        passes = {passE, passT, passE, passA};
        break;
    case ActiveType::AdventureRec:
        passes = {passA, passA1, passT, passE, passA};
        break;
    }
    for (const Pass &pass : passes) {
        if (Chapter chapter = pass())
            return chapter;
    }
    return nullptr;
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
    auto still = AVUtil::saveThumbnail(chapter->_pathMp4, position, thumbnailFolder());
    if (still && still->isLocalFile())
        record.setPathThumbnail(still);
    return record.pathThumbnail();
}

bool CardData::loadEventThumbnail(MoveProtectInfo &record)
{
    if (!getEventChapter(record) || record.retryCntThumbnail() >= MAX_RETRY_CNT_THUMBNAIL)
        return false;
    const bool isSurveillance = record._detect == MoveProtectInfo::DetectStatus::SURV;
    if (makeRecordThumbnail(false, record, isSurveillance))
        return false;
    ++attemptsOfThisStep;
    return makeRecordThumbnail(true, record, isSurveillance).has_value();
}
