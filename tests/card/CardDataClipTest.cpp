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

TEST(CardDataClipTest, EventNearTheStartOfItsChapterTakesThePreviousChapter)
{
    CardFixture f;
    addMinuteChapters(f, 1);
    f.addEvent(1, kKey, 2, 163000); // 3000 ms into chapter 2
    const auto card = f.load();
    const auto clip = card->getEventChapters(onlyEvent(*card));
    EXPECT_EQ(clipNumbers(clip), (Numbers{1, 2}));
    EXPECT_EQ(clip.position, 63000);
    EXPECT_EQ(clip.start, 51000);
    EXPECT_EQ(clip.end, 71000);
}

TEST(CardDataClipTest, EventTwelveSecondsInTakesNoEarlierChapter)
{
    CardFixture f;
    addMinuteChapters(f, 1);
    f.addEvent(1, kKey, 2, 175000); // 15000 ms into chapter 2
    const auto card = f.load();
    const auto clip = card->getEventChapters(onlyEvent(*card));
    EXPECT_EQ(clipNumbers(clip), (Numbers{2}));
    EXPECT_EQ(clip.position, 15000);
    EXPECT_EQ(clip.start, 3000);
    EXPECT_EQ(clip.end, 23000);
}

TEST(CardDataClipTest, EventAtTheTripStartStartsAtZero)
{
    CardFixture f;
    addMinuteChapters(f, 1);
    f.addEvent(3, kKey, 1, 100500);
    const auto card = f.load();
    const auto clip = card->getEventChapters(onlyEvent(*card));
    EXPECT_EQ(clipNumbers(clip), (Numbers{1}));
    EXPECT_EQ(clip.position, 500);
    EXPECT_EQ(clip.start, 0);
    EXPECT_EQ(clip.end, 8500);
}

TEST(CardDataClipTest, EventNearTheEndTakesTheNextChapter)
{
    CardFixture f;
    addMinuteChapters(f, 1);
    f.addEvent(1, kKey, 1, 155000); // 55000 ms into a 60000 ms chapter
    const auto card = f.load();
    const auto clip = card->getEventChapters(onlyEvent(*card));
    EXPECT_EQ(clipNumbers(clip), (Numbers{1, 2}));
    EXPECT_EQ(clip.position, 55000);
    EXPECT_EQ(clip.start, 43000);
    EXPECT_EQ(clip.end, 63000);
}

TEST(CardDataClipTest, EventEndIsClampedToTheList)
{
    CardFixture f;
    addMinuteChapters(f, 1, 2);
    f.addEvent(1, kKey, 2, 160000); // chapter 2 is the last: its own span (0 here)
    const auto card = f.load();
    const auto clip = card->getEventChapters(onlyEvent(*card));
    EXPECT_EQ(clipNumbers(clip), (Numbers{1, 2}));
    EXPECT_EQ(clip.position, 60000);
    EXPECT_EQ(clip.start, 48000);
    EXPECT_EQ(clip.end, 60001); // the list's total length
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

TEST(CardDataClipTest, EventStampedBeforeItsChapterIsPlacedAtTheChapterStart)
{
    CardFixture f;
    addMinuteChapters(f, 1);
    f.addEvent(1, kKey, 2, 50); // the counter restarted: below chapter 2's 160000
    const auto card = f.load();
    const auto clip = card->getEventChapters(onlyEvent(*card));
    // Without the clamp the offset would wrap to about 4.29e9 and no chapter would fit.
    EXPECT_EQ(clipNumbers(clip), (Numbers{1, 2}));
    EXPECT_EQ(clip.position, 0);
    EXPECT_EQ(clip.start, 0);
    EXPECT_EQ(clip.end, 8000);

    CardFixture g;
    addMinuteChapters(g, 1);
    g.addEvent(2, kKey, 1, 50);
    const auto card2 = g.load();
    const auto surv = card2->getSurveillanceChapters(onlyEvent(*card2));
    EXPECT_EQ(surv.position, 0);
    EXPECT_EQ(surv.start, 0);
    EXPECT_EQ(surv.end, 60000);
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
