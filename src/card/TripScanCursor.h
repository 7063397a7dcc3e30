// Where a worker's search for its next chapter resumes in one list of trips. What is done for a
// worker stays done (a chapter whose driving data or thumbnail is made, or whose attempts are used
// up), so each search starts at the first chapter of each trip that may not be: over a run of n
// chapters the worker looks at each about once, not n times.
#pragma once

#include <cstddef>
#include <functional>
#include <memory>
#include <vector>

class ChapterData;
class TripData;

class TripScanCursor
{
public:
    using Chapter = std::shared_ptr<ChapterData>;
    using Trips = std::vector<std::shared_ptr<TripData>>;
    // isDone: the chapter is done for good; attempt: tries a chapter that is not, true on success.
    using Rule = std::function<bool(const Chapter &)>;

    // The first chapter, in list order and each trip's start-time order, that attempt succeeds for:
    // of every trip or only the active ones, every chapter or only each trip's first. One thread at
    // a time.
    Chapter next(const Trips &trips, bool activeOnly, bool firstChapterOnly, const Rule &isDone,
                 const Rule &attempt);
    // Every trip from its start again: a done chapter was given back to the worker.
    void rewind() { _trips.clear(); }

private:
    struct Mark
    {
        const TripData *trip = nullptr; // the trip this mark belongs to; another one starts again
        size_t done = 0;                // its leading chapters that are done
    };
    std::vector<Mark> _trips;
};
