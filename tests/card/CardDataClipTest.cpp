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

Numbers clipNumbers(const EventClip &clip)
{
    return clip.chapters ? CardFixture::numbers(*clip.chapters) : Numbers{};
}

// Three consecutive chapters of 60 s each (the third closes the second's length), numbered from
// first, with their time stamps from 100000 on.
void addMinuteChapters(CardFixture &f, int first, int count = 3, int64_t startSeconds = 0)
{
    for (int i = 0; i < count; ++i) {
        const int number = (first + i - 1) % 9999 + 1;
        f.addMovie(kKey, number, 100000 + 60000 * static_cast<uint32_t>(i), startSeconds + 60 * i);
    }
}

MoveProtectInfo &onlyEvent(CardData &card)
{
    EXPECT_EQ(card._moveProtectList.size(), 1u);
    return *card._moveProtectList.front();
}
} // namespace

TEST(CardDataClipTest, EventClipsOverMinuteChapters)
{
    struct Case
    {
        const char *what;
        int type; // of the event record
        int chapters;
        int eventChapter;
        uint32_t eventCounter;
        Numbers clipChapters;
        int64_t position, start, end;
    };
    const Case cases[] = {
        {"3 s into chapter 2 takes the previous chapter", 1, 3, 2, 163000, {1, 2}, 63000, 51000, 71000},
        {"15 s into chapter 2 takes no earlier one", 1, 3, 2, 175000, {2}, 15000, 3000, 23000},
        {"at the trip start the clip starts at 0", 3, 3, 1, 100500, {1}, 500, 0, 8500},
        {"near the end takes the next chapter", 1, 3, 1, 155000, {1, 2}, 55000, 43000, 63000},
        {"the end is clamped to the list's length", 1, 2, 2, 160000, {1, 2}, 60000, 48000, 60001},
        // The counter restarted: without the clamp the offset would wrap and no chapter would fit.
        {"stamped before its chapter is placed at its start", 1, 3, 2, 50, {1, 2}, 0, 0, 8000},
    };
    for (const Case &c : cases) {
        CardFixture f;
        addMinuteChapters(f, 1, c.chapters);
        f.addEvent(c.type, kKey, c.eventChapter, c.eventCounter);
        const auto card = f.load();
        const auto clip = card->getEventChapters(onlyEvent(*card));
        EXPECT_EQ(clipNumbers(clip), c.clipChapters) << c.what;
        EXPECT_EQ(std::tuple(clip.position, clip.start, clip.end), std::tuple(c.position, c.start, c.end))
            << c.what;
    }
}

TEST(CardDataClipTest, PreviousChapterAcrossTheWrapIsTakenButNotAcrossAGap)
{
    for (const int previous : {9999, 9998}) {
        CardFixture f;
        const auto before = f.addMovie(kKey, previous, 100000, 0);
        const auto one = f.addMovie(kKey, 1, 160000, 60);
        const auto two = f.addMovie(kKey, 2, 220000, 120);
        f.addEvent(1, kKey, 1, 161000);
        const auto card = f.recordsOnly();
        // The loader would split at the wrap; a trip holding both is made by hand.
        card->_tripList.push_back(TripData::create(card.get(), {two, one, before}, kKey));
        const auto clip = card->getEventChapters(onlyEvent(*card));
        if (previous == 9999) {
            EXPECT_EQ(clipNumbers(clip), (Numbers{9999, 1}));
            EXPECT_EQ(clip.position, 61000);
        } else {
            EXPECT_EQ(clipNumbers(clip), (Numbers{1}));
            EXPECT_EQ(clip.position, 1000);
        }
    }
}

TEST(CardDataClipTest, SurveillanceStampedBeforeItsChapterIsPlacedAtTheChapterStart)
{
    CardFixture g;
    addMinuteChapters(g, 1);
    g.addEvent(2, kKey, 1, 50);
    const auto card = g.load();
    const auto surv = card->getSurveillanceChapters(onlyEvent(*card));
    EXPECT_EQ(std::tuple(surv.position, surv.start, surv.end), std::tuple(0, 0, 60000));
}

TEST(CardDataClipTest, SurveillanceRunsSixtySecondsFromTheEvent)
{
    CardFixture f;
    addMinuteChapters(f, 1);
    f.addEvent(2, kKey, 1, 101000); // 1000 ms into chapter 1
    const auto card = f.load();
    auto &record = onlyEvent(*card);
    const auto clip = card->getSurveillanceChapters(record);
    EXPECT_EQ(clipNumbers(clip), (Numbers{1, 2}));
    EXPECT_EQ(clip.position, 1000);
    EXPECT_EQ(clip.start, 1000);
    EXPECT_EQ(clip.end, 61000);
    // Surveillance movies are found although their trip is off the tab.
    EXPECT_TRUE(card->_tripList_tab.empty());
}

TEST(CardDataClipTest, SurveillanceWalksOverTheWrap)
{
    CardFixture f;
    const auto last = f.addMovie(kKey, 9999, 100000, 0);
    const auto one = f.addMovie(kKey, 1, 160000, 60);
    const auto two = f.addMovie(kKey, 2, 220000, 120);
    f.addEvent(2, kKey, 9999, 101000);
    const auto card = f.recordsOnly();
    card->_tripList.push_back(TripData::create(card.get(), {last, one, two}, kKey));
    const auto clip = card->getSurveillanceChapters(onlyEvent(*card));
    EXPECT_EQ(clipNumbers(clip), (Numbers{9999, 1}));
}

TEST(CardDataClipTest, RecordWithoutChapterGivesNoClip)
{
    CardFixture f;
    addMinuteChapters(f, 1);
    f.addEvent(1, kKey, 7, 100000);
    f.addAdventure(kKey, 8);
    const auto card = f.load();
    const auto clip = card->getEventChapters(onlyEvent(*card));
    EXPECT_FALSE(clip.chapters);
    EXPECT_EQ(clip.position, 0);
    EXPECT_EQ(clip.end, 0);
    EXPECT_FALSE(card->getSurveillanceChapters(onlyEvent(*card)).chapters);
    const auto adv = card->getAdventureChapters(*card->_advMoveProtectList[0]);
    EXPECT_FALSE(adv.chapters);
    EXPECT_EQ(adv.position, -1);
}

TEST(CardDataClipTest, AdventureRunWrapsFromNineThousandNineHundredNinetyNineToOne)
{
    CardFixture f;
    f.addMovie(kKey, 9998, 100000, 0);
    f.addMovie(kKey, 9999, 160000, 60);
    f.addMovie(kKey, 1, 220000, 120);
    f.addAdventure(kKey, 1, 120);
    f.addAdventure(kKey, 9999, 60);
    f.addAdventure(kKey, 9998, 0);
    const auto card = f.load();
    AdvMoveProtectInfo *middle = nullptr;
    for (const auto &r : card->_advMoveProtectList)
        if (r->fileNumber() == 9999)
            middle = r.get();
    ASSERT_TRUE(middle);
    const auto clip = card->getAdventureChapters(*middle);
    EXPECT_EQ(clipNumbers(clip), (Numbers{9998, 9999, 1}));
    EXPECT_EQ(clip.position, -1);
    EXPECT_EQ(clip.start, 0);
    EXPECT_EQ(clip.end, PictureDataUtil::getTotalLength(*clip.chapters));
    EXPECT_EQ(clip.end, 60000 + 1 + 0 + 1 + 0);
}

TEST(CardDataClipTest, AdventureWithoutNeighboursIsItsOwnChapter)
{
    CardFixture f;
    addMinuteChapters(f, 1);
    f.addAdventure(kKey, 2);
    const auto card = f.load();
    const auto clip = card->getAdventureChapters(*card->_advMoveProtectList[0]);
    EXPECT_EQ(clipNumbers(clip), (Numbers{2}));
    EXPECT_EQ(clip.end, 60000);
}

TEST(CardDataClipTest, AdventureWalkEndsWhenTheRecordsCoverEveryNumber)
{
    CardFixture f;
    addMinuteChapters(f, 5, 2);
    const auto card = f.load();
    for (int n = 1; n <= 9999; ++n) {
        ManagementRecordValues v;
        v.type = 0x25;
        v.fileName = CardFixture::recordName(kKey, n);
        const auto bytes = ManagementFileWriter::advRecord(v);
        card->_advMoveProtectList.push_back(std::make_shared<AdvMoveProtectInfo>(std::span(
            reinterpret_cast<const uint8_t *>(bytes.constData()), static_cast<size_t>(bytes.size()))));
    }
    // Going back from 5 the walk comes round to 6; it stops at the first record seen before and
    // keeps every chapter once.
    const auto clip = card->getAdventureChapters(*card->_advMoveProtectList[4]);
    auto numbers = clipNumbers(clip);
    std::sort(numbers.begin(), numbers.end());
    EXPECT_EQ(numbers, (Numbers{5, 6}));
}
