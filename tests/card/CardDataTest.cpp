#include "card/CardData.h"
#include "card/AdvMoveProtectInfo.h"
#include "card/CardFixture.h"
#include "card/ChapterData.h"
#include "card/MoveProtectInfo.h"
#include "card/VrecMoveManagerInfo.h"

#include <gtest/gtest.h>

namespace {
const QString kKey = "202405011200";
const QString kKey2 = "202405021300";

std::vector<std::vector<int>> tripNumbers(const std::vector<std::shared_ptr<TripData>> &trips)
{
    std::vector<std::vector<int>> result;
    for (const auto &t : trips)
        result.push_back(CardFixture::numbers(t->chapters()));
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
} // namespace

TEST(CardDataTest, SingleMovieFileBecomesOneUnnamedTripWithoutReadingManagementFiles)
{
    CardFixture f;
    const auto movie = f.addMovie(kKey, 1, 1000);
    f.addEvent(1, kKey, 1, 1500);
    const auto card = f.load(movie);
    ASSERT_EQ(card->_tripList.size(), 1u);
    EXPECT_EQ(card->_tripList_tab, card->_tripList);
    EXPECT_EQ(card->_tripList[0]->_tripName, "");
    const auto chapters = card->_tripList[0]->chapters();
    ASSERT_EQ(chapters.size(), 1u);
    EXPECT_EQ(chapters[0]->_pathMp4, movie);
    EXPECT_TRUE(card->_vrecList.empty());
    EXPECT_TRUE(card->_moveProtectList.empty());
    EXPECT_TRUE(card->_advTripList.empty());
    EXPECT_EQ(card->_openSourcePath, movie);
    EXPECT_FALSE(card->_isDispose);
}

TEST(CardDataTest, ManagementFileChosenAsPathLoadsItsFolder)
{
    CardFixture f;
    f.addMovie(kKey, 1, 1000);
    f.addMovie(kKey, 2, 61000, 60);
    f.writeManagementFiles();
    const auto chosen = QUrl::fromLocalFile(f.root() + "/vrec_mov_mng.dat");
    f.write("MOVE/vrec_mov_mng.dat"); // the name the user picked, in lower case
    const auto card = f.load(chosen);
    EXPECT_EQ(tripNumbers(card->_tripList), (std::vector<std::vector<int>>{{1, 2}}));
    EXPECT_EQ(card->_vrecList.size(), 2u);
    EXPECT_EQ(card->_openSourcePath, chosen);
}

TEST(CardDataTest, NumberingGapsAndTheWrapSplitTrips)
{
    CardFixture f;
    f.addMovie(kKey, 1, 1000, 0);
    f.addMovie(kKey, 2, 61000, 60);
    f.addMovie(kKey, 4, 181000, 180);
    // 9998 and 9999 were recorded before 0001 of another key's wrap: no wrap-around when forming trips.
    f.addMovie(kKey2, 9998, 1000, -600);
    f.addMovie(kKey2, 9999, 61000, -540);
    f.addMovie(kKey2, 1, 121000, -480);
    const auto card = f.load();
    EXPECT_EQ(tripNumbers(card->_tripList), (std::vector<std::vector<int>>{{9998, 9999}, {1}, {1, 2}, {4}}));
    for (const auto &trip : card->_tripList) {
        EXPECT_FALSE(trip->_tripName.isEmpty());
        EXPECT_EQ(trip->_parent, card.get());
    }
    EXPECT_EQ(card->_tripList[0]->_tripName, kKey2);
    EXPECT_EQ(card->_tripList[2]->_tripName, kKey);
    EXPECT_EQ(card->_tripList[3]->_tripName, kKey);
    EXPECT_EQ(card->_tripList_tab, card->_tripList);
}

TEST(CardDataTest, SameFileInTwoFoldersGivesOneChapter)
{
    CardFixture f;
    const auto first = f.addMovie(kKey, 1, 1000, 0, "MOVE001");
    f.addMovie(kKey, 1, std::nullopt, 0, "MOVE002");
    f.addMovie(kKey, 2, 61000, 60, "MOVE002");
    const auto card = f.load();
    ASSERT_EQ(tripNumbers(card->_tripList), (std::vector<std::vector<int>>{{1, 2}}));
    EXPECT_EQ(card->_tripList[0]->chapters()[0]->_pathMp4, first);
}

TEST(CardDataTest, HiddenStrayAndExtraFilesAreSkipped)
{
    CardFixture f;
    f.addMovie(kKey, 1, 1000);
    f.write("MOVE/.hidden/" + CardFixture::movieName(kKey, 2));
    f.write("MOVE/MOVE001/." + CardFixture::movieName(kKey, 3).mid(1));
    f.write("MOVE/" + CardFixture::movieName(kKey, 4)); // not inside a move folder
    f.write("MOVE/_extras/MOVE001/" + CardFixture::movieName(kKey, 5));
    f.write("MOVE/MOVE001/notes.txt", "stray");
    const auto card = f.load();
    EXPECT_EQ(tripNumbers(card->_tripList), (std::vector<std::vector<int>>{{1}}));
}

TEST(CardDataTest, SurveillanceMoviesKeepTheirTripOffTheTab)
{
    CardFixture f;
    f.addMovie(kKey, 1, 1000, 0);
    f.addMovie(kKey, 3, 1000, 120); // its own trip
    f.addMovie(kKey2, 1, 1000, 600);
    f.addEvent(2, kKey, 3, 1500, 121);  // surveillance in the second trip
    f.addEvent(1, kKey2, 1, 1500, 601); // a G event keeps its trip on the tab
    f.addEvent(3, kKey, 1, 1200, 1);    // so does a switch event
    const auto card = f.load();
    ASSERT_EQ(card->_tripList.size(), 3u);
    EXPECT_EQ(tripNumbers(card->_tripList_tab), (std::vector<std::vector<int>>{{1}, {1}}));
    EXPECT_EQ(card->_tripList_tab[0]->_tripName, kKey);
    EXPECT_EQ(card->_tripList_tab[1]->_tripName, kKey2);
    // Records by date, oldest first, whatever their section.
    ASSERT_EQ(card->_moveProtectList.size(), 3u);
    EXPECT_EQ(card->_moveProtectList[0]->_detect, MoveProtectInfo::DetectStatus::SW);
    EXPECT_EQ(card->_moveProtectList[1]->_detect, MoveProtectInfo::DetectStatus::SURV);
    EXPECT_EQ(card->_moveProtectList[2]->_detect, MoveProtectInfo::DetectStatus::G);
}

TEST(CardDataTest, AdventureRecordsFormTripsOfTheirOwnChapters)
{
    CardFixture f;
    for (int n = 4; n <= 8; ++n)
        f.addMovie(kKey, n, 1000 + 60000 * n, 60 * n);
    f.addAdventure(kKey, 7, 3);
    f.addAdventure(kKey, 5, 2);
    f.addAdventure(kKey, 6, 1);
    f.addAdventure(kKey, 6, 9);  // repeated name: dropped by the reader
    f.addAdventure(kKey2, 1, 0); // not on the card
    const auto card = f.load();
    EXPECT_EQ(tripNumbers(card->_advTripList), (std::vector<std::vector<int>>{{5, 6, 7}}));
    EXPECT_EQ(card->_advMoveProtectList.size(), 4u);
    EXPECT_EQ(card->_advMoveProtectList[0]->fileNumber(), 1); // oldest first
    const auto adv = card->_advTripList[0]->chapters();
    const auto all = card->_tripList[0]->chapters();
    EXPECT_NE(adv[0], all[1]); // chapter objects of their own
    EXPECT_EQ(adv[0]->_pathMp4, all[1]->_pathMp4);
    EXPECT_TRUE(adv[0]->_advInfo);
    EXPECT_FALSE(all[0]->_advInfo);
}

TEST(CardDataTest, AdventureGapGivesTwoAdventureTrips)
{
    CardFixture f;
    for (int n = 5; n <= 7; ++n)
        f.addMovie(kKey, n, 1000 + 60000 * n, 60 * n);
    f.addAdventure(kKey, 5);
    f.addAdventure(kKey, 7);
    const auto card = f.load();
    EXPECT_EQ(tripNumbers(card->_advTripList), (std::vector<std::vector<int>>{{5}, {7}}));
}

TEST(CardDataTest, LaterSectionsAreReadOnlyAfterTheEarlierOneSucceeded)
{
    CardFixture f;
    f.addMovie(kKey, 1, 1000);
    f.writeManagementFiles();
    RecordingCard without;
    without.loadCardFolder(f.folderUrl());
    EXPECT_EQ(without.sections, std::vector<int>{1});

    f.addEvent(1, kKey, 1, 1200);
    f.writeManagementFiles();
    RecordingCard with;
    with.loadCardFolder(f.folderUrl());
    EXPECT_EQ(with.sections, (std::vector<int>{1, 2, 3}));
    EXPECT_EQ(with._moveProtectList.size(), 1u);
}

TEST(CardDataTest, EmptyFolderGivesEmptyLists)
{
    CardFixture f;
    const auto card = f.load();
    EXPECT_TRUE(card->_tripList.empty());
    EXPECT_TRUE(card->_tripList_tab.empty());
    EXPECT_TRUE(card->_moveProtectList.empty());
    EXPECT_EQ(card->_openSourcePath, f.folderUrl());
}

TEST(CardDataTest, TripStartOrderIsAStrictWeakOrderingWithEmptyTripsFirst)
{
    CardFixture f;
    const auto a = f.addMovie(kKey, 1, 1000, 0);
    const auto b = f.addMovie(kKey, 2, 1000, 0);
    const auto c = f.addMovie(kKey2, 1, 1000, 60);
    const auto card = f.recordsOnly();
    const auto empty1 = TripData::create(card.get(), {}, "x");
    const auto empty2 = TripData::create(card.get(), {}, "y");
    const auto early = TripData::create(card.get(), {a}, kKey);
    const auto sameStart = TripData::create(card.get(), {b}, kKey);
    const auto late = TripData::create(card.get(), {c}, kKey2);
    EXPECT_FALSE(CardData::isTripStartAscending(*empty1, *empty2));
    EXPECT_FALSE(CardData::isTripStartAscending(*empty2, *empty1));
    EXPECT_FALSE(CardData::isTripStartAscending(*empty1, *empty1));
    EXPECT_TRUE(CardData::isTripStartAscending(*empty1, *early));
    EXPECT_FALSE(CardData::isTripStartAscending(*early, *empty1));
    EXPECT_TRUE(CardData::isTripStartAscending(*early, *late));
    EXPECT_FALSE(CardData::isTripStartAscending(*late, *early));
    EXPECT_FALSE(CardData::isTripStartAscending(*early, *sameStart));
    EXPECT_FALSE(CardData::isTripStartAscending(*sameStart, *early));

    std::vector<std::shared_ptr<TripData>> trips{late, empty1, sameStart, early, empty2};
    std::stable_sort(trips.begin(), trips.end(),
                     [](const auto &x, const auto &y) { return CardData::isTripStartAscending(*x, *y); });
    EXPECT_EQ(trips, (std::vector<std::shared_ptr<TripData>>{empty1, empty2, sameStart, early, late}));
}

TEST(CardDataTest, FileNumberOrderAndSurveillanceMatchOnKeyAndNumber)
{
    EXPECT_TRUE(
        CardData::isFileNumberAscending(QUrl("file:///x/ABCD.MP4"), QUrl("file:///x/m2024050112000001.MP4")));
    EXPECT_FALSE(CardData::isFileNumberAscending(QUrl("file:///x/m2024050112000002.MP4"),
                                                 QUrl("file:///x/m2024050112000001.MP4")));
    CardFixture f;
    const auto movie = f.addMovie(kKey, 3, 1000);
    f.addEvent(2, kKey2, 3, 1200); // same number, other key
    const auto card = f.recordsOnly();
    const auto trip = TripData::create(card.get(), {movie}, kKey);
    EXPECT_TRUE(CardData::isTripWithoutSurveillance(*trip, card->_moveProtectList));
    EXPECT_TRUE(CardData::isTripWithoutSurveillance(*trip, {}));
    f.addEvent(2, kKey, 3, 1200);
    const auto card2 = f.recordsOnly();
    EXPECT_FALSE(CardData::isTripWithoutSurveillance(*trip, card2->_moveProtectList));
}

TEST(CardDataTest, DisposeReleasesTripsAndEventsButKeepsMovieRecords)
{
    CardFixture f;
    f.addMovie(kKey, 1, 1000, 0);
    f.addMovie(kKey, 2, 61000, 60);
    f.addEvent(1, kKey, 1, 1500);
    f.addAdventure(kKey, 2);
    const auto card = f.load();
    const auto trip = card->_tripList[0];
    ASSERT_EQ(trip->chapterCount(), 2u);
    // Clips cache the records' chapters; that must not keep chapters (and their driving data)
    // alive once the card lets go of its trips.
    ASSERT_TRUE(card->getEventChapters(*card->_moveProtectList[0]).chapters);
    ASSERT_TRUE(card->getAdventureChapters(*card->_advMoveProtectList[0]).chapters);
    std::weak_ptr<ChapterData> eventChapter = card->getEventChapter(*card->_moveProtectList[0]);
    std::weak_ptr<ChapterData> advChapter = card->getAdvChapter(*card->_advMoveProtectList[0]);
    std::weak_ptr<ChapterData> advTripChapter = card->_advTripList[0]->chapters()[0];
    const auto advRecord = card->_advMoveProtectList[0];
    card->dispose();
    EXPECT_TRUE(eventChapter.expired());
    EXPECT_TRUE(advChapter.expired());
    EXPECT_TRUE(advTripChapter.expired());
    EXPECT_FALSE(advRecord->eventChapter());
    EXPECT_EQ(trip->chapterCount(), 0u);
    EXPECT_TRUE(card->_tripList.empty());
    EXPECT_TRUE(card->_tripList_tab.empty());
    EXPECT_TRUE(card->_advTripList.empty());
    EXPECT_TRUE(card->_moveProtectList.empty());
    EXPECT_TRUE(card->_advMoveProtectList.empty());
    EXPECT_EQ(card->_vrecList.size(), 2u);
    EXPECT_FALSE(card->_isDispose);
    EXPECT_TRUE(card->_openSourcePath);
}

TEST(CardDataTest, EventChapterIsFoundAcrossGapsAndCached)
{
    CardFixture f;
    f.addMovie(kKey, 1, 1000, 0);
    f.addMovie(kKey, 2, 61000, 60);
    f.addMovie(kKey, 5, 1000, 300);
    f.addEvent(1, kKey, 5, 2000, 301);
    f.addEvent(1, kKey, 9, 2000, 302); // not on the card
    const auto card = f.load();
    ASSERT_EQ(card->_moveProtectList.size(), 2u);
    auto &present = *card->_moveProtectList[0];
    auto &missing = *card->_moveProtectList[1];
    const auto chapter = card->getEventChapter(present);
    ASSERT_TRUE(chapter);
    EXPECT_EQ(chapter->fileNumber(), 5);
    EXPECT_EQ(present.eventChapter(), chapter);
    EXPECT_EQ(card->getEventChapter(present), chapter);
    EXPECT_FALSE(card->getEventChapter(missing));
    EXPECT_FALSE(missing.eventChapter());
}

TEST(CardDataTest, SecondLoadLinksTheRecordsOfTheNewFolder)
{
    CardFixture first;
    first.addMovie(kKey, 1, 1000, 0);
    first.addAdventure(kKey, 1);
    const auto card = first.load();
    ASSERT_TRUE(card->_tripList[0]->chapters()[0]->_vmmInfo);
    ASSERT_TRUE(card->_tripList[0]->chapters()[0]->_advInfo);

    // Another folder with as many records: its chapters must link its own records.
    CardFixture second;
    second.addMovie(kKey2, 1, 5000, 60);
    second.addAdventure(kKey2, 1);
    second.writeManagementFiles();
    card->loadCardFolder(second.folderUrl());
    ASSERT_EQ(card->_vrecList.size(), 1u);
    const auto chapter = card->_tripList[0]->chapters()[0];
    ASSERT_TRUE(chapter->_vmmInfo);
    EXPECT_EQ(chapter->_vmmInfo, card->_vrecList[0]);
    EXPECT_EQ(chapter->timeStamp(), 5000u);
    ASSERT_TRUE(chapter->_advInfo);
    EXPECT_EQ(chapter->_advInfo, card->_advMoveProtectList[0]);
}
