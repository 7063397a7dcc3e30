#include "card/CardWorkerSteps.h"

#include "card/CardData.h"
#include "card/ChapterData.h"
#include "card/MoveProtectInfo.h"
#include "card/TripData.h"

#include <functional>

namespace {

using Chapter = std::shared_ptr<ChapterData>;
using Trips = std::vector<std::shared_ptr<TripData>>;

// Candidates a worker's step tried, failed or not; every loop has a thread of its own.
thread_local int64_t attemptsOfThisStep = 0;

bool hasPictureCandidate(const Chapter &chapter)
{
    return chapter && chapter->retryCntPictureData() < CardData::MAX_RETRY_CNT_PICTUREDATA &&
           !chapter->hasPicture();
}

// Builds a candidate's driving data (the attempt is counted by retryPicture); true when it has some
// that nobody has handed on yet, which includes data another caller read first.
bool loadPicture(const Chapter &chapter)
{
    if (!chapter)
        return false;
    if (hasPictureCandidate(chapter)) {
        ++attemptsOfThisStep;
        chapter->retryPicture();
    }
    return chapter->takePictureReport();
}

bool loadThumbnail(const Chapter &chapter)
{
    if (!chapter || chapter->retryCntThumbnail() >= CardData::MAX_RETRY_CNT_THUMBNAIL ||
        chapter->pathThumbnail())
        return false;
    ++attemptsOfThisStep;
    return chapter->makeThumbnail(true).has_value();
}

bool isPictureDone(const Chapter &chapter)
{
    return chapter && !hasPictureCandidate(chapter) &&
           (chapter->isPictureReported() || !chapter->hasPicture());
}

bool isThumbnailDone(const Chapter &chapter)
{
    return chapter &&
           (chapter->retryCntThumbnail() >= CardData::MAX_RETRY_CNT_THUMBNAIL || chapter->pathThumbnail());
}

// Only a cached chapter with its driving data is done: a record without one may get it later.
bool isRecordPictureDone(MoveProtectInfo &record)
{
    return isPictureDone(record.eventChapter());
}

Chapter loadRecordPicture(MoveProtectInfo &record)
{
    Chapter chapter = record.eventChapter();
    return loadPicture(chapter) ? chapter : nullptr;
}

// The first event record from the scan's mark on for which attempt gives a chapter; the leading
// records that isDone calls done are passed over for good.
template <typename Done, typename Attempt>
Chapter firstInRecords(CardData &card, CardWorkerSteps::Scan &scan, Done isDone, Attempt attempt)
{
    const auto &records = card._moveProtectList;
    if (scan.records != records.data()) {
        scan.records = records.data();
        scan.recordsDone = 0;
    }
    for (size_t i = scan.recordsDone; i < records.size(); ++i) {
        MoveProtectInfo &record = *records[i];
        if (i == scan.recordsDone && isDone(record)) {
            ++scan.recordsDone;
            continue;
        }
        if (Chapter chapter = attempt(record))
            return chapter;
    }
    return nullptr;
}

std::optional<QUrl> still(CardData &card, bool force, MoveProtectInfo &record, bool isSurveillance)
{
    return isSurveillance ? card.makeSurveillanceThumbnail(force, record)
                          : card.makeEventThumbnail(force, record);
}

} // namespace

void CardWorkerSteps::resetAttempts()
{
    attemptsOfThisStep = 0;
}

int64_t CardWorkerSteps::attempts()
{
    return attemptsOfThisStep;
}

Chapter CardWorkerSteps::nextPictureData(CardData &card, Scan &scan)
{
    const auto inTrips = [](TripScanCursor &cursor, const Trips &trips, bool activeOnly) {
        return cursor.next(trips, activeOnly, false, isPictureDone, loadPicture);
    };
    // What the user looks at first, then every trip. The lists themselves are not changed while
    // the workers run; only the order within a trip may be (under the trip's lock).
    switch (card._activeType.load()) {
    case CardData::ActiveType::EventRec:
        // Only records whose chapter the lookup has already cached.
        if (Chapter chapter = firstInRecords(card, scan, isRecordPictureDone, loadRecordPicture))
            return chapter;
        break;
    case CardData::ActiveType::AdventureRec:
        if (Chapter chapter = inTrips(scan.adv, card._advTripList, true))
            return chapter;
        break;
    case CardData::ActiveType::MovieRec:
        if (Chapter chapter = inTrips(scan.tab, card._tripList_tab, true))
            return chapter;
        break;
    }
    return inTrips(scan.all, card._tripList, false);
}

Chapter CardWorkerSteps::nextThumbnail(CardData &card, Scan &scan)
{
    // A still taken back by the main thread (a trimmed clip's, made again without its text) makes its
    // chapter a candidate again: every search starts over.
    if (const uint64_t givenBack = card._thumbnailsGivenBack.load(); givenBack != scan.givenBack) {
        scan.givenBack = givenBack;
        for (TripScanCursor *cursor : {&scan.tab, &scan.adv, &scan.all})
            cursor->rewind();
    }
    const auto inTrips = [](TripScanCursor &cursor, const Trips &trips, bool activeOnly, bool firstOnly) {
        return cursor.next(trips, activeOnly, firstOnly, isThumbnailDone, loadThumbnail);
    };
    const auto passM = [&] { return inTrips(scan.tab, card._tripList_tab, true, false); };
    const auto passM1 = [&] { return inTrips(scan.tab, card._tripList_tab, true, true); };
    const auto passA = [&] { return inTrips(scan.adv, card._advTripList, false, false); };
    const auto passA1 = [&] { return inTrips(scan.adv, card._advTripList, false, true); };
    const auto passT = [&] { return inTrips(scan.all, card._tripList, false, false); };
    const auto passE = [&]() -> Chapter {
        return firstInRecords(
            card, scan,
            [&card](MoveProtectInfo &record) {
                return record.retryCntThumbnail() >= CardData::MAX_RETRY_CNT_THUMBNAIL ||
                       record.pathThumbnail() || !card.getEventChapter(record);
            },
            [&card](MoveProtectInfo &record) -> Chapter {
                return eventThumbnail(card, record) ? record.eventChapter() : nullptr;
            });
    };
    using Pass = std::function<Chapter()>;
    std::vector<Pass> passes;
    switch (card._activeType.load()) {
    case CardData::ActiveType::MovieRec:
        passes = {passM, passM1, passT, passE, passA};
        break;
    case CardData::ActiveType::EventRec:
        passes = {passE, passT, passE, passA};
        break;
    case CardData::ActiveType::AdventureRec:
        passes = {passA, passA1, passT, passE, passA};
        break;
    }
    for (const Pass &pass : passes) {
        if (Chapter chapter = pass())
            return chapter;
    }
    return nullptr;
}

bool CardWorkerSteps::eventThumbnail(CardData &card, MoveProtectInfo &record)
{
    if (!card.getEventChapter(record) || record.retryCntThumbnail() >= CardData::MAX_RETRY_CNT_THUMBNAIL)
        return false;
    const bool isSurveillance = record._detect == MoveProtectInfo::DetectStatus::SURV;
    if (still(card, false, record, isSurveillance))
        return false;
    ++attemptsOfThisStep;
    return still(card, true, record, isSurveillance).has_value();
}
