#include "card/AdvMoveProtectInfo.h"
#include "card/CardFixture.h"
#include "card/MoveProtectInfo.h"

#include <gtest/gtest.h>

namespace {
const QString kKey = "202405011200";
const QString kKey2 = "202405021300";
using Trips = std::vector<std::shared_ptr<TripData>>;

// "<trip name>:<file numbers>" per trip.
QStringList describe(const Trips &trips)
{
    QStringList result;
    for (const auto &t : trips) {
        QStringList numbers;
        for (const int n : CardFixture::numbers(t->chapters()))
            numbers << QString::number(n);
        result << t->_tripName + ":" + numbers.join(',');
    }
    return result;
}

// Counts which management-file sections the loader asks for.
class RecordingCard : public CardData
{
public:
    bool readMoveProtectFile(const QUrl &url, int section) override
    {
        sections.push_back(section);
        return CardData::readMoveProtectFile(url, section);
    }
    std::vector<int> sections;
};

using Numbers = std::vector<int>;
using Span = std::tuple<int64_t, int64_t, int64_t>; // position, start, end

Numbers clipNumbers(const EventClip &clip)
{
    return clip.chapters ? CardFixture::numbers(*clip.chapters) : Numbers{};
}

// Chapters of 60 s each (the last closes the previous one's length) with their time stamps from
// 100000 on. The loader splits trips at the wrap from 9999 to 1; byHand makes one trip of them all.
std::unique_ptr<CardData> minuteCard(CardFixture &f, const Numbers &numbers, bool byHand = false)
{
    QList<QUrl> movies;
    for (const int n : numbers)
        movies.prepend(f.addMovie(kKey, n, 100000 + 60000 * uint32_t(movies.size()), 60 * movies.size()));
    if (!byHand)
        return f.load();
    auto card = f.recordsOnly();
    card->_tripList.push_back(TripData::create(card.get(), movies, kKey));
    return card;
}
} // namespace

// One card, one trip key per case; trips are ordered by their start.
TEST(CardDataTest, FolderLayoutsGiveTheirTrips)
{
    const QString gap = "202405010800", wrap = "202405010900", stray = "202405011000", surv = "202405011100",
                  adv = "202405011300";
    CardFixture f;
    // MOV_PRCT.DAT's later sections are read only after the first one was.
    const auto empty = f.load<RecordingCard>();
    EXPECT_TRUE(empty->_tripList.empty());
    EXPECT_EQ(empty->sections, std::vector<int>{1});
    for (const auto &[n, at] : {std::pair{1, 0}, {2, 60}, {4, 180}})
        f.addMovie(gap, n, 1000 + 1000 * at, at);
    // 9998 and 9999 were recorded before 0001: no wrap-around when forming trips.
    for (const auto &[n, at] : {std::pair{9998, 600}, {9999, 660}, {1, 720}})
        f.addMovie(wrap, n, 1000 + 1000 * at, at);
    f.addMovie(stray, 1, 1000, 1200);
    f.write("MOVE/.hidden/" + CardFixture::movieName(stray, 2));
    f.write("MOVE/MOVE001/." + CardFixture::movieName(stray, 3).mid(1));
    f.write("MOVE/" + CardFixture::movieName(stray, 4)); // not inside a move folder
    f.write("MOVE/_extras/MOVE001/" + CardFixture::movieName(stray, 5));
    f.write("MOVE/MOVE001/notes.txt", "stray");
    // A surveillance movie keeps its trip off the tab, matched by key and number; G and switch
    // events do not.
    f.addMovie(surv, 1, 1000, 1800);
    f.addMovie(surv, 3, 1000, 1920);
    f.addEvent(2, surv, 3, 1500, 1921);
    f.addEvent(2, "202405019999", 1, 1500, 1922);
    f.addEvent(1, surv, 1, 1500, 1801);
    f.addEvent(3, gap, 1, 1200, 1);
    for (int n = 5; n <= 7; ++n)
        f.addMovie(adv, n, 1000 + 60000 * n, 2400 + 60 * n);
    f.addAdventure(adv, 5, 2);
    f.addAdventure(adv, 7, 1);
    const auto card = f.load<RecordingCard>();
    EXPECT_EQ(card->sections, (std::vector<int>{1, 2, 3}));
    const QStringList trips{gap + ":1,2", gap + ":4",  wrap + ":9998,9999", wrap + ":1",
                            stray + ":1", surv + ":1", surv + ":3",         adv + ":5,6,7"};
    EXPECT_EQ(describe(card->_tripList), trips);
    QStringList tab = trips;
    tab.removeAll(surv + ":3");
    EXPECT_EQ(describe(card->_tripList_tab), tab);
    EXPECT_EQ(describe(card->_advTripList), (QStringList{adv + ":5", adv + ":7"}));
    EXPECT_EQ(card->_openSourcePath, f.folderUrl());
    for (const auto &trip : card->_tripList)
        EXPECT_EQ(trip->_parent, card.get());
    // Records by date, oldest first, whatever their section.
    std::vector<MoveProtectInfo::DetectStatus> detects;
    for (const auto &record : card->_moveProtectList)
        detects.push_back(record->_detect);
    using D = MoveProtectInfo::DetectStatus;
    EXPECT_EQ(detects, (std::vector{D::SW, D::G, D::SURV, D::SURV}));
    EXPECT_EQ(card->_advMoveProtectList[0]->fileNumber(), 7);
    // Adventure trips hold chapter objects of their own, linked to their records.
    const auto own = card->_advTripList[0]->chapters()[0];
    const auto shared = card->_tripList.back()->chapters()[0];
    EXPECT_NE(own, shared);
    EXPECT_EQ(own->_pathMp4, shared->_pathMp4);
    EXPECT_TRUE(own->_advInfo);
    EXPECT_FALSE(card->_tripList.back()->chapters()[1]->_advInfo);
    // The start order is a strict weak one: trips without chapters come first and equal each other.
    auto all = card->_tripList;
    all.insert(all.begin(), {TripData::create(card.get(), {}, "x"), TripData::create(card.get(), {}, "y")});
    for (size_t i = 0; i < all.size(); ++i)
        for (size_t j = 0; j < all.size(); ++j)
            EXPECT_EQ(CardData::isTripStartAscending(*all[i], *all[j]),
                      std::max(i, size_t(1)) < std::max(j, size_t(1)))
                << i << j;
    EXPECT_TRUE(CardData::isFileNumberAscending(QUrl("file:///x/ABCD.MP4"), own->_pathMp4));
}

TEST(CardDataTest, ChosenFilesOpenAsAMovieOrAsTheirFolder)
{
    CardFixture f;
    const auto movie = f.addMovie(kKey, 1, 1000);
    f.addMovie(kKey, 1, std::nullopt, 0, "MOVE002"); // the same file in a second folder
    f.addMovie(kKey, 2, 61000, 60, "MOVE002");
    f.addEvent(1, kKey, 1, 1500);
    f.writeManagementFiles();
    // One movie: an unnamed trip of its own, no management file read.
    const auto single = f.load(movie);
    EXPECT_EQ(describe(single->_tripList), QStringList{":1"});
    EXPECT_EQ(single->_tripList_tab, single->_tripList);
    EXPECT_TRUE(single->_vrecList.empty() && single->_moveProtectList.empty());
    EXPECT_EQ(single->_openSourcePath, movie);
    // A management file (the name the user picked, in lower case) opens its folder.
    const auto chosen = QUrl::fromLocalFile(f.root() + "/vrec_mov_mng.dat");
    f.write("MOVE/vrec_mov_mng.dat");
    const auto folder = f.load(chosen);
    EXPECT_EQ(describe(folder->_tripList), QStringList{kKey + ":1,2"});
    EXPECT_EQ(folder->_tripList[0]->chapters()[0]->_pathMp4, movie); // the first folder's copy
    EXPECT_EQ(folder->_vrecList.size(), 2u);
    EXPECT_EQ(folder->_openSourcePath, chosen);
}

// Clips cache the records' chapters; that must not keep chapters (and their driving data) alive once
// the card lets go of its trips.
TEST(CardDataTest, EventChaptersAreFoundAcrossGapsCachedAndReleasedWithTheTrips)
{
    CardFixture f;
    f.addMovie(kKey, 1, 1000, 0);
    f.addMovie(kKey, 2, 61000, 60);
    f.addMovie(kKey, 5, 1000, 300);
    f.addEvent(1, kKey, 5, 1000, 301);  // at its chapter's start
    f.addEvent(1, kKey, 9, 2000, 302);  // not on the card
    f.addEvent(1, kKey2, 5, 2000, 303); // nor is this one: another key
    f.addAdventure(kKey, 2);
    const auto card = f.load();
    auto &present = *card->_moveProtectList[0];
    const auto advRecord = card->_advMoveProtectList[0];
    std::weak_ptr<ChapterData> eventChapter = card->getEventChapter(present);
    ASSERT_FALSE(eventChapter.expired());
    EXPECT_EQ(eventChapter.lock()->fileNumber(), 5);
    EXPECT_EQ(present.eventChapter(), eventChapter.lock());
    for (const size_t missing : {1, 2}) {
        EXPECT_FALSE(card->getEventChapter(*card->_moveProtectList[missing]));
        EXPECT_FALSE(card->_moveProtectList[missing]->eventChapter());
    }
    // A still attempt at the chapter's start is counted but takes none; without a chapter, none is made.
    EXPECT_FALSE(card->makeEventThumbnail(true, present).has_value());
    EXPECT_EQ(present.retryCntThumbnail(), 1);
    EXPECT_FALSE(card->loadEventThumbnail(*card->_moveProtectList[1]));
    EXPECT_EQ(card->_moveProtectList[1]->retryCntThumbnail(), 0);

    const auto trip = card->_tripList[0];
    ASSERT_TRUE(card->getEventChapters(present).chapters);
    ASSERT_TRUE(card->getAdventureChapters(*advRecord).chapters);
    std::weak_ptr<ChapterData> advChapter = card->getAdvChapter(*advRecord);
    std::weak_ptr<ChapterData> advTripChapter = card->_advTripList[0]->chapters()[0];
    card->dispose();
    EXPECT_TRUE(eventChapter.expired());
    EXPECT_TRUE(advChapter.expired());
    EXPECT_TRUE(advTripChapter.expired());
    EXPECT_FALSE(advRecord->eventChapter());
    EXPECT_EQ(trip->chapterCount(), 0u);
    EXPECT_TRUE(card->_tripList.empty() && card->_tripList_tab.empty() && card->_advTripList.empty());
    EXPECT_TRUE(card->_moveProtectList.empty() && card->_advMoveProtectList.empty());
    EXPECT_EQ(card->_vrecList.size(), 3u); // movie records stay
    EXPECT_FALSE(card->_isDispose);
}

// A chapter links the last records of its trip name and number; a second load on the same card links
// the new folder's records.
TEST(CardDataTest, SecondLoadLinksTheRecordsOfTheNewFolder)
{
    CardFixture first;
    const auto m1 = first.addMovie(kKey, 1, 1000, 0);
    first.addVrec(kKey, 1, 5000, 30); // a second record for the same file wins
    first.addVrec(kKey2, 1, 9000, 90);
    first.addAdventure(kKey, 1, 7);
    const auto card = first.load();
    auto chapter = card->_tripList[0]->chapters()[0];
    EXPECT_EQ(chapter->timeStamp(), 5000u);
    EXPECT_EQ(chapter->startTime(), Date::fromUnixSeconds(CardFixture::BASE_SECONDS + 30));
    ASSERT_TRUE(chapter->_advInfo);
    EXPECT_EQ(chapter->startAdvTime(), Date::fromUnixSeconds(CardFixture::BASE_SECONDS + 7));
    // Records are matched by the trip's name, and only with a card.
    EXPECT_FALSE(TripData::create(card.get(), {m1}, "")->chapters()[0]->_vmmInfo);
    EXPECT_FALSE(TripData::create(nullptr, {m1}, kKey)->chapters()[0]->_vmmInfo);

    // Another folder with as many records: its chapters must link its own records.
    CardFixture second;
    second.addMovie(kKey2, 1, 6000, 60);
    second.addVrec(kKey, 7, 1000, 0);
    second.addVrec(kKey, 8, 1000, 0);
    second.addAdventure(kKey2, 1);
    second.writeManagementFiles();
    card->loadCardFolder(second.folderUrl());
    ASSERT_EQ(card->_vrecList.size(), 3u);
    chapter = card->_tripList[0]->chapters()[0];
    EXPECT_EQ(chapter->_vmmInfo, card->_vrecList[0]);
    EXPECT_EQ(chapter->timeStamp(), 6000u);
    EXPECT_EQ(chapter->_advInfo, card->_advMoveProtectList[0]);
}

TEST(CardDataClipTest, EventClipsOverMinuteChapters)
{
    struct Case
    {
        const char *what;
        int section; // of the event record
        Numbers chapters;
        int eventChapter;
        uint32_t eventCounter;
        Numbers clipChapters;
        Span span;
        bool byHand = false;
    };
    // A position is one more per chapter border crossed than the time since the first chapter's start: each
    // chapter takes its time span plus one position on the timeline.
    const Case cases[] = {
        {"3 s into chapter 2 takes chapter 1", 1, {1, 2, 3}, 2, 163000, {1, 2}, {63001, 51001, 71001}},
        {"15 s into chapter 2 takes no earlier one", 1, {1, 2, 3}, 2, 175000, {2}, {15000, 3000, 23000}},
        {"at the trip start the clip starts at 0", 3, {1, 2, 3}, 1, 100500, {1}, {500, 0, 8500}},
        {"near the end takes the next chapter", 1, {1, 2, 3}, 1, 155000, {1, 2}, {55000, 43000, 63000}},
        {"the end is clamped to the list's length", 1, {1, 2}, 2, 160000, {1, 2}, {60001, 48001, 60001}},
        // The counter restarted: without the clamp the offset would wrap and no chapter would fit.
        {"stamped before its chapter is placed at that chapter's start",
         1,
         {1, 2, 3},
         2,
         50,
         {1, 2},
         {60001, 48001, 68001}},
        {"surveillance runs 60 s from the event", 2, {1, 2, 3}, 1, 101000, {1, 2}, {1000, 1000, 61000}},
        {"surveillance stamped before its chapter", 2, {1, 2, 3}, 1, 50, {1}, {0, 0, 60000}},
        {"a record without its chapter gives no clip", 1, {1, 2, 3}, 7, 100000, {}, {0, 0, 0}},
        {"nor does a surveillance record", 2, {1, 2, 3}, 7, 100000, {}, {0, 0, 0}},
        {"back across the wrap", 1, {9999, 1, 2}, 1, 161000, {9999, 1}, {61001, 49001, 69001}, true},
        {"but not across a gap", 1, {9998, 1, 2}, 1, 161000, {1}, {1000, 0, 9000}, true},
        {"surveillance over the wrap", 2, {9999, 1, 2}, 9999, 101000, {9999, 1}, {1000, 1000, 61000}, true},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.what);
        CardFixture f;
        f.addEvent(c.section, kKey, c.eventChapter, c.eventCounter);
        const auto card = minuteCard(f, c.chapters, c.byHand);
        // Section 2 is surveillance: a clip of 60 s; the others 12 s before to 8 s after.
        auto &record = *card->_moveProtectList.at(0);
        const auto clip =
            c.section == 2 ? card->getSurveillanceChapters(record) : card->getEventChapters(record);
        EXPECT_EQ(clipNumbers(clip), c.clipChapters);
        EXPECT_EQ(Span(clip.position, clip.start, clip.end), c.span);
    }
}

TEST(CardDataClipTest, AdventureClipsAreTheRunOfConsecutiveRecords)
{
    struct Case
    {
        const char *what;
        Numbers chapters;
        Numbers records; // adventure records, the clip's is the first
        Numbers clipChapters;
        int64_t end;
    };
    const Case cases[] = {
        {"the run wraps from 9999 to 1", {9998, 9999, 1}, {9999, 9998, 1}, {9998, 9999, 1}, 60002},
        {"without neighbours its own chapter", {1, 2, 3}, {2}, {2}, 60000},
        {"without its chapter no clip", {1, 2, 3}, {8}, {}, 0},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.what);
        CardFixture f;
        for (size_t i = 0; i < c.records.size(); ++i)
            f.addAdventure(kKey, c.records[i], -static_cast<int64_t>(i)); // the first is the newest
        const auto card = minuteCard(f, c.chapters);
        const auto clip = card->getAdventureChapters(*card->_advMoveProtectList.back());
        EXPECT_EQ(clipNumbers(clip), c.clipChapters);
        EXPECT_EQ(Span(clip.position, clip.start, clip.end), Span(-1, 0, c.end));
    }
}

// Going back from 5 the walk comes round to 6; it stops at the first record seen before and keeps
// every chapter once.
TEST(CardDataClipTest, AdventureWalkEndsWhenTheRecordsCoverEveryNumber)
{
    CardFixture f;
    for (int n = 1; n <= 9999; ++n)
        f.addAdventure(kKey, n);
    const auto card = minuteCard(f, {5, 6});
    ASSERT_EQ(card->_advMoveProtectList[4]->fileNumber(), 5);
    auto numbers = clipNumbers(card->getAdventureChapters(*card->_advMoveProtectList[4]));
    std::sort(numbers.begin(), numbers.end());
    EXPECT_EQ(numbers, (Numbers{5, 6}));
}
