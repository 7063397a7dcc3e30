#include "card/AdvMoveProtectInfo.h"
#include "card/CardData.h"
#include "card/CardFixture.h"
#include "card/ChapterData.h"
#include "card/MoveProtectInfo.h"
#include "card/PictureDataUtil.h"

#include <gtest/gtest.h>

namespace {
const QString kKey = "202405011200";
using Numbers = std::vector<int>;
using Span = std::tuple<int64_t, int64_t, int64_t>; // position, start, end

Numbers clipNumbers(const EventClip &clip)
{
    return clip.chapters ? CardFixture::numbers(*clip.chapters) : Numbers{};
}

// Consecutive chapters of 60 s each (the last closes the previous one's length), numbered from first,
// with their time stamps from 100000 on.
void addMinuteChapters(CardFixture &f, int first, int count = 3)
{
    for (int i = 0; i < count; ++i) {
        const int number = (first + i - 1) % 9999 + 1;
        f.addMovie(kKey, number, 100000 + 60000 * static_cast<uint32_t>(i), 60 * i);
    }
}

// Section 2 is surveillance: a clip of 60 s; the others 12 s before to 8 s after.
EventClip clipOf(CardData &card)
{
    EXPECT_EQ(card._moveProtectList.size(), 1u);
    auto &record = *card._moveProtectList.front();
    return record._detect == MoveProtectInfo::DetectStatus::SURV ? card.getSurveillanceChapters(record)
                                                                 : card.getEventChapters(record);
}
} // namespace

TEST(CardDataClipTest, EventClipsOverMinuteChapters)
{
    struct Case
    {
        const char *what;
        int section; // of the event record
        int chapters;
        int eventChapter;
        uint32_t eventCounter;
        Numbers clipChapters;
        Span span;
    };
    const Case cases[] = {
        {"3 s into chapter 2 takes the previous chapter", 1, 3, 2, 163000, {1, 2}, {63000, 51000, 71000}},
        {"15 s into chapter 2 takes no earlier one", 1, 3, 2, 175000, {2}, {15000, 3000, 23000}},
        {"at the trip start the clip starts at 0", 3, 3, 1, 100500, {1}, {500, 0, 8500}},
        {"near the end takes the next chapter", 1, 3, 1, 155000, {1, 2}, {55000, 43000, 63000}},
        {"the end is clamped to the list's length", 1, 2, 2, 160000, {1, 2}, {60000, 48000, 60001}},
        // The counter restarted: without the clamp the offset would wrap and no chapter would fit.
        {"stamped before its chapter is placed at its start", 1, 3, 2, 50, {1, 2}, {0, 0, 8000}},
        {"surveillance runs 60 s from the event", 2, 3, 1, 101000, {1, 2}, {1000, 1000, 61000}},
        {"surveillance stamped before its chapter", 2, 3, 1, 50, {1}, {0, 0, 60000}},
        {"a record without its chapter gives no clip", 1, 3, 7, 100000, {}, {0, 0, 0}},
        {"nor does a surveillance record", 2, 3, 7, 100000, {}, {0, 0, 0}},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.what);
        CardFixture f;
        addMinuteChapters(f, 1, c.chapters);
        f.addEvent(c.section, kKey, c.eventChapter, c.eventCounter);
        const auto card = f.load();
        const auto clip = clipOf(*card);
        EXPECT_EQ(clipNumbers(clip), c.clipChapters);
        EXPECT_EQ(Span(clip.position, clip.start, clip.end), c.span);
    }
}

// The loader splits trips at the wrap; a trip holding both sides is made by hand.
TEST(CardDataClipTest, ClipsWalkOverTheWrapButNotOverAGap)
{
    struct Case
    {
        int previous; // the number before 1
        int section;
        int eventChapter;
        uint32_t eventCounter;
        Numbers clipChapters;
        int64_t position;
    };
    const Case cases[] = {
        {9999, 1, 1, 161000, {9999, 1}, 61000},
        {9998, 1, 1, 161000, {1}, 1000},
        {9999, 2, 9999, 101000, {9999, 1}, 1000},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.previous * 10 + c.section);
        CardFixture f;
        const auto before = f.addMovie(kKey, c.previous, 100000, 0);
        const auto one = f.addMovie(kKey, 1, 160000, 60);
        const auto two = f.addMovie(kKey, 2, 220000, 120);
        f.addEvent(c.section, kKey, c.eventChapter, c.eventCounter);
        const auto card = f.recordsOnly();
        card->_tripList.push_back(TripData::create(card.get(), {two, one, before}, kKey));
        const auto clip = clipOf(*card);
        EXPECT_EQ(clipNumbers(clip), c.clipChapters);
        EXPECT_EQ(clip.position, c.position);
    }
}

TEST(CardDataClipTest, AdventureClipsAreTheRunOfConsecutiveRecords)
{
    struct Case
    {
        const char *what;
        int first, count; // minute chapters
        Numbers records;  // adventure records, the clip's is the first
        Numbers clipChapters;
        int64_t end;
    };
    const Case cases[] = {
        {"the run wraps from 9999 to 1", 9998, 3, {9999, 9998, 1}, {9998, 9999, 1}, 60000 + 1 + 0 + 1 + 0},
        {"without neighbours its own chapter", 1, 3, {2}, {2}, 60000},
        {"without its chapter no clip", 1, 3, {8}, {}, 0},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.what);
        CardFixture f;
        addMinuteChapters(f, c.first, c.count);
        for (size_t i = 0; i < c.records.size(); ++i)
            f.addAdventure(kKey, c.records[i], -static_cast<int64_t>(i)); // the first is the newest
        const auto card = f.load();
        const auto clip = card->getAdventureChapters(*card->_advMoveProtectList.back());
        EXPECT_EQ(clipNumbers(clip), c.clipChapters);
        EXPECT_EQ(Span(clip.position, clip.start, clip.end), Span(-1, 0, c.end));
        if (clip.chapters) {
            EXPECT_EQ(clip.end, PictureDataUtil::getTotalLength(*clip.chapters));
        }
    }
}

// Going back from 5 the walk comes round to 6; it stops at the first record seen before and keeps
// every chapter once.
TEST(CardDataClipTest, AdventureWalkEndsWhenTheRecordsCoverEveryNumber)
{
    CardFixture f;
    addMinuteChapters(f, 5, 2);
    const auto card = f.load();
    for (int n = 1; n <= 9999; ++n) {
        ManagementRecordValues v;
        v.type = 0x25;
        v.fileName = CardFixture::recordName(kKey, n);
        card->_advMoveProtectList.push_back(
            std::make_shared<AdvMoveProtectInfo>(CardFixture::bytes(ManagementFileWriter::advRecord(v))));
    }
    auto numbers = clipNumbers(card->getAdventureChapters(*card->_advMoveProtectList[4]));
    std::sort(numbers.begin(), numbers.end());
    EXPECT_EQ(numbers, (Numbers{5, 6}));
}
