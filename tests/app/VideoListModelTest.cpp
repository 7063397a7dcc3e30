#include "app/VideoListModel.h"
#include "app/CardCallbacks.h"
#include "app/VideoListView.h"
#include "card/CardData.h"
#include "card/ChapterData.h"
#include "card/MoveProtectInfo.h"
#include "card/TripData.h"

#include "AppFakes.h"

#include <QCoreApplication>
#include <QFontMetrics>
#include <QHeaderView>
#include <QImage>
#include <QPushButton>
#include <QTableView>
#include <gtest/gtest.h>

#include <algorithm>

namespace {
using LT = CommonConst::ListType;
const QString FORMAT = QStringLiteral("yyyy.MM.dd\nHH:mm:ss");
const QString ZONE = QStringLiteral("Asia/Tokyo");

// The sample card with a still path of its own on every chapter and record, so rows can be told apart.
class VideoListModelTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        card.loadCardFolder(writtenSampleCard());
        int n = 0;
        for (const auto &list : {card._tripList, card._advTripList})
            for (const auto &trip : list)
                for (const auto &chapter : trip->chapters())
                    chapter->setPathThumbnail(QUrl::fromLocalFile(QStringLiteral("/s/c%1.jpg").arg(n++)));
        for (const auto &record : card._moveProtectList)
            record->setPathThumbnail(QUrl::fromLocalFile(QStringLiteral("/s/e%1.jpg").arg(n++)));
        model.setDateStyle({FORMAT, ZONE, false});
        model.setListData(card);
    }
    QStringList paths() const
    {
        QStringList out;
        for (int row = 0; row < model.rowCount(); ++row)
            out << model.index(row, 1).data(VideoListModel::ThumbnailRole).toString();
        return out;
    }
    static QString still(const std::optional<QUrl> &url) { return url ? url->toLocalFile() : QString(); }
    QString date(const Date &d) const { return d.toString(FORMAT, ZONE, false); }

    CardData card;
    VideoListModel model;
};
} // namespace

TEST_F(VideoListModelTest, EachTabListsItsRowsInOrderWithTheirTypeTexts)
{
    ASSERT_EQ(model.eventList().size(), 2u);
    // Each row: its still and its type text; a trip's still is its first chapter's.
    QStringList trips, events, surveillance, adventures;
    for (const auto &trip : model.tripData())
        trips << still(trip->firstChapter()->pathThumbnail()) + " ";
    for (const auto &trip : model.adventureData())
        adventures << still(trip->firstChapter()->pathThumbnail()) + " ";
    for (const auto &record : model.eventList())
        events << still(record->pathThumbnail()) +
                      (record->_detect == MoveProtectInfo::DetectStatus::SW ? " Manual" : " Auto");
    for (const auto &record : model.surveillanceList())
        surveillance << still(record->pathThumbnail()) + " ";
    EXPECT_EQ(events.filter(" Manual").size(), 1) << "one of each kind";
    ASSERT_FALSE(surveillance.isEmpty() || adventures.isEmpty()) << "every tab has rows";
    const QString recording = "Recording time/date", sensing = "Sensing time/date";
    const std::tuple<LT, QStringList, QString> tabs[] = {{LT::Trip, trips, recording},
                                                         {LT::Event, events, sensing},
                                                         {LT::Surveillance, surveillance, sensing},
                                                         {LT::Adventure, adventures, recording}};
    for (const auto &[type, expected, header] : tabs) {
        model.setListType(type);
        QStringList rows;
        for (int row = 0; row < model.rowCount(); ++row)
            rows << paths()[row] + " " + model.index(row, 0).data(VideoListModel::TypeRole).toString();
        EXPECT_EQ(rows, expected) << int(type);
        EXPECT_EQ(model.headerData(0, Qt::Horizontal, Qt::DisplayRole).toString(), header);
    }
    // Trip rows are in the card's order and dated by their first chapter's start, date over time.
    model.setListType(LT::Trip);
    const QString first = date(model.tripData().front()->firstChapter()->startTime());
    EXPECT_EQ(model.index(0, 0).data(VideoListModel::DateRole).toString(), first.section('\n', 0, 0));
    EXPECT_EQ(model.index(0, 0).data(VideoListModel::TimeRole).toString(), first.section('\n', 1));
}

TEST_F(VideoListModelTest, ChapterTabFollowsTheCurrentRowsAndTheAdventureStartsItsFirstRow)
{
    model.setListType(model.chapterListType());
    EXPECT_EQ(model.rowCount(), 0) << "no trip chosen yet";
    ASSERT_TRUE(model.selectRow(0, LT::Trip, false));
    model.setListType(model.chapterListType());
    EXPECT_EQ(model.listType(), LT::TripChapter);
    EXPECT_EQ(model.rowCount(), static_cast<int>(model.tripData().front()->chapterCount()));

    model.resetRows();
    ASSERT_TRUE(model.selectRow(0, LT::Adventure, false));
    EXPECT_EQ(model.chapterListType(), LT::AdvChapter);
    const auto chapters = model.selectedAdventureChapters();
    ASSERT_FALSE(chapters.empty());
    for (int current : {-1, 1, 0}) {
        ASSERT_TRUE(current < 0 || model.selectRow(current, LT::AdvChapter, false));
        model.setListType(LT::AdvChapter);
        const Date expected = current == 0 ? chapters.front()->startAdvTime() : chapters.front()->startTime();
        EXPECT_EQ(model.tableData().front()._dateTime, date(expected)) << current;
    }
}

TEST_F(VideoListModelTest, SelectRowOnAHiddenListAndResetRowsKeepingTheWorkRow)
{
    EXPECT_FALSE(model.selectRow(static_cast<int>(model.eventList().size()), LT::Event, false));
    EXPECT_FALSE(model.selectRow(-1, LT::Trip, false));
    EXPECT_EQ(model.currentRow(LT::Event), -1);
    ASSERT_TRUE(model.selectRow(1, LT::Event, false));
    EXPECT_EQ(model.listType(), LT::Trip) << "the list shown stays";
    EXPECT_EQ(model.currentRow(LT::Event), 1);
    EXPECT_EQ(model.shownCurrentRow(), -1);

    ASSERT_TRUE(model.selectRow(1, LT::Trip, true));
    EXPECT_TRUE(model.index(1, 0).data(VideoListModel::CurrentRole).toBool());
    model.resetRows();
    EXPECT_EQ(model.currentRowTrip(), -1);
    EXPECT_EQ(model.currentRow(LT::Event), -1);
    EXPECT_EQ(model.currentRow(LT::Trip), 1) << "the trip last chosen serves";
    EXPECT_EQ(model.selectedTripChapters(), model.tripData()[1]->sortedChapters());
}

TEST_F(VideoListModelTest, AClickIsOnlyReportedAndTabsSwapTheirRows)
{
    VideoListView view;
    view.model()->setDateStyle({FORMAT, ZONE, false});
    view.setListData(card);
    ASSERT_TRUE(view.selectRow(0, LT::Trip, true));
    std::vector<std::pair<LT, int>> clicks;
    QObject::connect(&view, &VideoListView::rowClicked,
                     [&](LT type, int row) { clicks.emplace_back(type, row); });
    emit view.listTable()->pressed(view.model()->index(1, 0));
    EXPECT_EQ(clicks, (std::vector<std::pair<LT, int>>{{LT::Trip, 1}}));
    EXPECT_EQ(view.model()->shownCurrentRow(), 0) << "the row stays until the main window marks another";

    const std::pair<void (VideoListView::*)(), bool> tabs[] = {{&VideoListView::onEventButton, true},
                                                               {&VideoListView::onSurveillanceButton, true},
                                                               {&VideoListView::onTripButton, false},
                                                               {&VideoListView::onChapterButton, false},
                                                               {&VideoListView::onAdventureButton, false}};
    // The row holding the tab shown lies next to the table, under the other.
    for (const auto &[tab, tripRowOnTop] : tabs) {
        (view.*tab)();
        EXPECT_EQ(view.isTripRowOnTop(), tripRowOnTop) << int(view.model()->listType());
        EXPECT_TRUE(view.tabButton(view.model()->listType())->isChecked());
    }
}

// Selecting a row brings it into view every time: also a row already current that the user scrolled away.
TEST_F(VideoListModelTest, SelectingARowScrollsItIntoViewAlsoWhenItIsCurrentAlready)
{
    VideoListView view;
    view.model()->setDateStyle({FORMAT, ZONE, false});
    view.setListData(card);
    view.resize(300, 140);
    view.show();
    QCoreApplication::processEvents();
    const int last = view.model()->rowCount() - 1;
    ASSERT_GE(last, 1);
    QTableView *table = view.listTable();
    const auto inView = [&] {
        return table->viewport()->rect().contains(table->visualRect(view.model()->index(last, 0)));
    };
    ASSERT_FALSE(inView());
    for (const char *when : {"not current yet", "current already"}) {
        SCOPED_TRACE(when);
        ASSERT_TRUE(view.selectRow(last, view.model()->listType(), false));
        QCoreApplication::processEvents();
        EXPECT_TRUE(inView());
        table->scrollToTop();
        ASSERT_FALSE(inView());
    }
}

// The header's titles are set at 15 of the program's points, one pixel each, as every other text.
TEST_F(VideoListModelTest, TheHeaderTitleIsFifteenPixelsHigh)
{
    VideoListView view;
    view.setListData(card);
    view.resize(300, 400);
    view.show();
    QCoreApplication::processEvents();
    QHeaderView *header = view.listTable()->horizontalHeader();
    const QImage image = header->grab().toImage();
    // The title is white on the dark header: the rows it inks.
    int top = image.height(), bottom = -1;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < header->sectionSize(VideoListModel::InfoColumn); ++x)
            if (image.pixelColor(x, y).lightness() > 200) {
                top = std::min(top, y);
                bottom = std::max(bottom, y);
            }
    ASSERT_GE(bottom, top);
    QFont font = header->font();
    font.setPixelSize(15);
    const int expected = QFontMetrics(font).tightBoundingRect(view.model()->infoTitle()).height();
    EXPECT_NEAR(bottom - top + 1, expected, 1);
}

TEST_F(VideoListModelTest, StillsRefreshOnlyTheRowsShowingTheChapterAndDrivingDataOnlyTheSelectedTripsRoute)
{
    int resets = 0;
    std::vector<int> changedRows;
    QObject::connect(&model, &QAbstractItemModel::modelReset, [&] { ++resets; });
    QObject::connect(
        &model, &QAbstractItemModel::dataChanged,
        [&](const QModelIndex &from, const QModelIndex &) { changedRows.push_back(from.row()); });
    std::vector<TripData *> redrawn;
    CardCallbacks callbacks(model, [&](TripData &trip) { redrawn.push_back(&trip); });
    const auto trip = model.tripData()[1];
    const auto chapters = trip->sortedChapters();
    ASSERT_GE(chapters.size(), 2u);
    chapters[0]->setPathThumbnail(QUrl::fromLocalFile("/s/new.jpg"));
    struct Case
    {
        LT shown;
        std::shared_ptr<ChapterData> chapter;
        std::vector<int> rows;
    };
    const auto eventChapter = model.eventList()[0]->eventChapter();
    const Case cases[] = {
        {LT::Trip, chapters[0], {1}}, // a trip's first chapter
        {LT::Trip, chapters[1], {}},  // a later chapter has no row there
        {LT::Event, eventChapter, {0}},
        {LT::Event, model.adventureData()[0]->firstChapter(), {}},
    };
    for (const Case &c : cases) {
        model.setListType(c.shown);
        resets = 0;
        changedRows.clear();
        callbacks.chapterDataUpdated(*c.chapter);
        EXPECT_EQ(changedRows, c.rows) << int(c.shown);
        EXPECT_EQ(resets, 0) << "never the whole table";
    }
    model.setListType(LT::Trip);
    EXPECT_EQ(paths()[1], "/s/new.jpg");
    // Driving data redraws the route of the selected trip only.
    redrawn.clear();
    const auto selected = model.tripData()[0];
    const auto other = model.tripData()[1];
    callbacks.redrawRoute(*selected->firstChapter());
    EXPECT_TRUE(redrawn.empty()) << "no trip chosen";
    ASSERT_TRUE(model.selectRow(0, LT::Trip, false));
    model.setListType(LT::Event);
    callbacks.redrawRoute(*other->firstChapter());
    EXPECT_TRUE(redrawn.empty());
    for (const auto &chapter : selected->sortedChapters())
        callbacks.redrawRoute(*chapter);
    EXPECT_EQ(redrawn, std::vector<TripData *>(selected->chapterCount(), selected.get()))
        << "also while the Event tab is shown";
}
