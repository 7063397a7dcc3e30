#include "card/TripScanCursor.h"

#include "card/ChapterData.h"
#include "card/TripData.h"

#include <gtest/gtest.h>

#include <map>
#include <set>

namespace {

using Chapter = std::shared_ptr<ChapterData>;

// Trips of placeholder chapters ("t<trip>c<chapter>"), in file order; nothing is read from them.
TripScanCursor::Trips makeTrips(const std::vector<int> &chapterCounts)
{
    TripScanCursor::Trips trips;
    for (size_t t = 0; t < chapterCounts.size(); ++t) {
        QList<QUrl> paths;
        for (int c = 0; c < chapterCounts[t]; ++c)
            paths << QUrl::fromLocalFile(QStringLiteral("/nowhere/t%1c%2.MP4").arg(t).arg(c));
        trips.push_back(TripData::create(nullptr, paths, QStringLiteral("trip%1").arg(t)));
    }
    return trips;
}

QString nameOf(const Chapter &chapter)
{
    return chapter ? chapter->_pathMp4.fileName().chopped(4) : QStringLiteral("none");
}

// A worker's rule with counted looks: a chapter is done once an attempt at it succeeded; attempts
// fail as often as `failures` says first.
struct CountingRule
{
    std::set<const ChapterData *> done;
    std::map<QString, int> failures;
    int looks = 0;

    TripScanCursor::Rule isDone()
    {
        return [this](const Chapter &c) {
            ++looks;
            return done.contains(c.get());
        };
    }
    TripScanCursor::Rule attempt()
    {
        return [this](const Chapter &c) {
            ++looks;
            if (done.contains(c.get()))
                return false;
            if (int &left = failures[nameOf(c)]; left > 0) {
                --left;
                return false;
            }
            done.insert(c.get());
            return true;
        };
    }
};

} // namespace

// A worker's whole run looks at each chapter a few times, not once per chapter before it.
TEST(TripScanCursorTest, ARunOverALongTripLooksAtEachChapterAFewTimes)
{
    for (const int count : {10, 1000}) {
        SCOPED_TRACE(count);
        const auto trips = makeTrips({count});
        TripScanCursor cursor;
        CountingRule rule;
        int found = 0;
        while (const Chapter chapter = cursor.next(trips, false, false, rule.isDone(), rule.attempt())) {
            ASSERT_EQ(nameOf(chapter), QStringLiteral("t0c%1").arg(found));
            ++found;
        }
        EXPECT_EQ(found, count);
        EXPECT_LE(rule.looks, 3 * count + 3);
    }
}

TEST(TripScanCursorTest, FailuresActiveTripsFirstChaptersAndGivenBackChapters)
{
    const auto trips = makeTrips({3, 2});
    TripScanCursor cursor;
    CountingRule rule;
    const auto next = [&](bool activeOnly, bool firstOnly) {
        return nameOf(cursor.next(trips, activeOnly, firstOnly, rule.isDone(), rule.attempt()));
    };
    // A chapter that fails is tried again at the next step, the chapters after it meanwhile.
    rule.failures["t0c0"] = 1;
    EXPECT_EQ(next(false, false), "t0c1");
    EXPECT_EQ(next(false, false), "t0c0");
    // Only active trips; then each trip's first chapter only.
    trips[1]->_isActive = true;
    EXPECT_EQ(next(true, true), "t1c0");
    EXPECT_EQ(next(true, true), "none");
    EXPECT_EQ(next(true, false), "t1c1");
    EXPECT_EQ(next(false, true), "none");
    EXPECT_EQ(next(false, false), "t0c2");
    EXPECT_EQ(next(false, false), "none");
    // A chapter given back is found only after a rewind.
    rule.done.erase(trips[0]->sortedChapter(1).get());
    EXPECT_EQ(next(false, false), "none");
    cursor.rewind();
    EXPECT_EQ(next(false, false), "t0c1");
    // Other trips in the list: their own marks from the start.
    const auto others = makeTrips({1});
    EXPECT_EQ(nameOf(cursor.next(others, false, false, rule.isDone(), rule.attempt())), "t0c0");
}
