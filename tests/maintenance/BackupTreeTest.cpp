#include "maintenance/BackupTree.h"
#include "maintenance/BackupTreeModel.h"

#include "card/CardFixture.h"

#include <QFile>
#include <gtest/gtest.h>

namespace {
const QString kKey = "202405011200";
const QString kKey2 = "202405021300";

// One field of each chapter node of a trip.
template <class T> std::vector<T> column(const Backup &trip, T BackupItem::*field)
{
    std::vector<T> values;
    for (const BackupItem &item : trip.children)
        values.push_back(item.*field);
    return values;
}
std::vector<int> states(const Backup &trip)
{
    return column(trip, &BackupItem::chapterItem);
}

// Trip 0: four chapters of 60 s; chapter 2 lies in the clips of a G and a switch event, chapter 1 in the
// G event's clip only. Trip 1: one chapter without events.
struct TreeCard
{
    TreeCard()
    {
        for (int i = 0; i < 4; ++i)
            f.addMovie(kKey, i + 1, 100000 + 60000 * uint32_t(i), 60 * i);
        f.addMovie(kKey2, 1, 900000, 3600);
        f.addEvent(1, kKey, 2, 163000); // 3 s into chapter 2: the clip takes chapter 1 too
        f.addEvent(3, kKey, 2, 175000); // 15 s into chapter 2: chapter 2 alone
        f.write("MOVE/MOVE001/" + CardFixture::movieName(kKey, 1), QByteArray(1000, 'a'));
        f.write("MOVE/MOVE001/" + CardFixture::movieName(kKey, 2), QByteArray(234, 'b'));
        card = f.load();
    }
    CardFixture f;
    std::unique_ptr<CardData> card;
};
} // namespace

TEST(BackupTreeTest, NodesCarryEventsSizesAndThePlayingChapterAndAnEmptySourceHasNone)
{
    TreeCard c;
    QFile::remove(c.f.root() + "/MOVE001/" + CardFixture::movieName(kKey2, 1));
    const auto playing = c.card->_tripList[0]->sortedChapters()[2];
    const BackupTree tree = BackupTree::build(*c.card, playing.get());

    ASSERT_EQ(tree.backups().size(), 2u);
    const Backup &first = tree.backups()[0];
    EXPECT_EQ(first.trip, -1);
    EXPECT_EQ(states(first), (std::vector<int>{0, 0, 1, 0}));
    EXPECT_TRUE(first.dateEvent);
    EXPECT_EQ(column(first, &BackupItem::dateEvent), (std::vector<bool>{true, true, false, false}));
    EXPECT_EQ(column(first, &BackupItem::fileSize), (std::vector<std::uint64_t>{1000, 234, 0, 0}));
    EXPECT_EQ(first.children[2].idx, (std::array<int, 2>{0, 2}));

    const Backup &second = tree.backups()[1];
    EXPECT_EQ(second.idx, 1);
    EXPECT_EQ(second.trip, 0);
    EXPECT_FALSE(second.dateEvent);
    EXPECT_EQ(second.children[0].fileSize, 0u); // deleted since the card was opened
    EXPECT_EQ(tree.checkedPaths(), QStringList{playing->_pathMove.toLocalFile()});

    CardFixture empty;
    EXPECT_TRUE(BackupTree::build(*empty.load(), nullptr).backups().empty());
}

TEST(BackupTreeTest, CheckChangesKeepTripStatesInStep)
{
    TreeCard c;
    BackupTree tree = BackupTree::build(*c.card, nullptr);
    struct Step
    {
        QString identifier;
        int state;
        bool applies;
        int tripState;
        std::vector<int> chapters;
    };
    const Step steps[] = {
        {"0,1", 1, true, -1, {0, 1, 0, 0}},  {"0", -1, true, 1, {1, 1, 1, 1}},
        {"0,0", 0, true, -1, {0, 1, 1, 1}},  {"0,0", 1, true, 1, {1, 1, 1, 1}},
        {"0", 0, true, 0, {0, 0, 0, 0}},     {"0,3", 1, true, -1, {0, 0, 0, 1}},
        {"0,4", 1, false, -1, {0, 0, 0, 1}}, {"7", 1, false, -1, {0, 0, 0, 1}},
        {"0,x", 1, false, -1, {0, 0, 0, 1}}, {"", 1, false, -1, {0, 0, 0, 1}},
        {"0,3", 2, true, -1, {0, 0, 0, 1}},
    };
    for (const auto &step : steps) {
        SCOPED_TRACE(step.identifier.toStdString());
        EXPECT_EQ(tree.applyIdentifier(step.identifier, step.state), step.applies);
        EXPECT_EQ(tree.backups()[0].trip, step.tripState);
        EXPECT_EQ(states(tree.backups()[0]), step.chapters);
    }
    tree.setAll(1);
    EXPECT_EQ(tree.checkedCount(), 5);
    EXPECT_EQ(tree.checkedSize(), 1234u);
}

TEST(BackupTreeTest, ModelClickOnAMixedTripChecksTheWholeTrip)
{
    TreeCard c;
    BackupTreeModel model;
    model.setTree(BackupTree::build(*c.card, c.card->_tripList[0]->sortedChapters()[0].get()));
    const QModelIndex trip = model.index(0, BackupTreeModel::TripColumn);
    ASSERT_EQ(model.rowCount(trip), 4);
    EXPECT_EQ(model.data(trip, Qt::CheckStateRole).value<Qt::CheckState>(), Qt::PartiallyChecked);
    // Chapter rows have no trip box and trip rows no chapter box.
    EXPECT_FALSE(model.data(model.index(0, BackupTreeModel::ChapterColumn), Qt::CheckStateRole).isValid());
    EXPECT_FALSE(model.data(model.index(0, BackupTreeModel::TripColumn, trip), Qt::CheckStateRole).isValid());
    EXPECT_EQ(model.parent(model.index(2, 0, trip)), trip);

    // What a view's click sends to a box without user tri-state: anything but Checked becomes Checked.
    EXPECT_TRUE(model.setData(trip, Qt::Checked, Qt::CheckStateRole));
    EXPECT_EQ(model.tree().checkedCount(), 4);
    EXPECT_TRUE(model.setData(model.index(1, BackupTreeModel::ChapterColumn, trip), Qt::Unchecked,
                              Qt::CheckStateRole));
    EXPECT_EQ(model.data(trip, Qt::CheckStateRole).value<Qt::CheckState>(), Qt::PartiallyChecked);
    EXPECT_EQ(model.data(model.index(1, BackupTreeModel::EventColumn, trip), Qt::DisplayRole).toString(),
              "Yes");
    EXPECT_EQ(model.data(model.index(3, BackupTreeModel::EventColumn, trip), Qt::DisplayRole).toString(), "");
}
