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
           !chapter->getPicture(false);
}

// Builds a candidate's driving data (the attempt is counted by retryPicture); true when it has some.
bool loadPicture(const Chapter &chapter)
{
    if (!hasPictureCandidate(chapter))
        return false;
    ++attemptsOfThisStep;
    return chapter->retryPicture() != nullptr;
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

Chapter CardWorkerSteps::nextPictureData(CardData &card)
{
    // What the user looks at first, then every trip. The lists themselves are not changed while
    // the workers run; only the order within a trip may be (under the trip's lock).
    switch (card._activeType.load()) {
    case CardData::ActiveType::EventRec:
        // Only records whose chapter the lookup has already cached.
        for (const auto &record : card._moveProtectList) {
            if (Chapter chapter = record->eventChapter(); loadPicture(chapter))
                return chapter;
        }
        break;
    case CardData::ActiveType::AdventureRec:
        if (Chapter chapter = firstInTrips(card._advTripList, true, false, loadPicture))
            return chapter;
        break;
    case CardData::ActiveType::MovieRec:
        if (Chapter chapter = firstInTrips(card._tripList_tab, true, false, loadPicture))
            return chapter;
        break;
    }
    return firstInTrips(card._tripList, false, false, loadPicture);
}

Chapter CardWorkerSteps::nextThumbnail(CardData &card)
{
    const auto passM = [&card] { return firstInTrips(card._tripList_tab, true, false, loadThumbnail); };
    const auto passM1 = [&card] { return firstInTrips(card._tripList_tab, true, true, loadThumbnail); };
    const auto passA = [&card] { return firstInTrips(card._advTripList, false, false, loadThumbnail); };
    const auto passA1 = [&card] { return firstInTrips(card._advTripList, false, true, loadThumbnail); };
    const auto passT = [&card] { return firstInTrips(card._tripList, false, false, loadThumbnail); };
    const auto passE = [&card]() -> Chapter {
        for (const auto &record : card._moveProtectList) {
            if (eventThumbnail(card, *record))
                return record->eventChapter();
        }
        return nullptr;
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
