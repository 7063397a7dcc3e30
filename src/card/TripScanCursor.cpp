#include "card/TripScanCursor.h"

#include "card/TripData.h"

TripScanCursor::Chapter TripScanCursor::next(const Trips &trips, bool activeOnly, bool firstChapterOnly,
                                             const Rule &isDone, const Rule &attempt)
{
    _trips.resize(trips.size());
    for (size_t t = 0; t < trips.size(); ++t) {
        TripData &trip = *trips[t];
        Mark &mark = _trips[t];
        if (mark.trip != &trip)
            mark = {&trip, 0};
        if (activeOnly && !trip._isActive)
            continue;
        for (size_t i = mark.done;; ++i) {
            if (firstChapterOnly && i > 0)
                break;
            Chapter chapter = trip.sortedChapter(i);
            if (!chapter)
                break;
            // Only the leading run of done chapters is passed over for good; one that failed but may
            // be tried again keeps the mark where it is.
            if (i == mark.done && isDone(chapter)) {
                ++mark.done;
                continue;
            }
            if (attempt(chapter))
                return chapter;
            if (firstChapterOnly)
                break;
        }
    }
    return nullptr;
}
