// The whole main window on the fake media engine over the sample card: what every panel, button and
// child window shows after chapter changes, resets, full screen, trim mode and the tool windows.
#include "app/CardOpener.h"
#include "app/ChildWindows.h"
#include "app/ItemPlayback.h"
#include "app/MainWindowLayout.h"
#include "app/StopWatchCoordinator.h"
#include "app/StopWatchWindow.h"
#include "app/ToolWindows.h"
#include "app/VideoListModel.h"
#include "app/VideoListView.h"
#include "app/WindowCoordinators.h"
#include "card/CardData.h"
#include "card/ChapterData.h"
#include "card/ChapterTimeline.h"
#include "card/PictureDataUtil.h"
#include "graph/CircleChartView.h"
#include "graph/DrivingInfoView.h"
#include "graph/SpeedMeterView.h"
#include "map/MapPoint.h"
#include "map/MapTitleView.h"
#include "map/MapView.h"
#include "map/WebMapView.h"
#include "player/CustomSliderCell.h"
#include "player/CustomSliderCellMin.h"
#include "player/EXTextButton.h"
#include "player/MoviePlayerView.h"
#include "player/NSZoomView.h"
#include "player/PlayMovieValueInfo.h"
#include "player/PlayerControls.h"
#include "player/PlayerView.h"
#include "player/TrackSlider.h"
#include "player/ZoomMenuControl.h"
#include "recording/PictureData.h"
#include "recording/VideoInfo.h"
#include "videotools/CaptureView.h"
#include "videotools/StillCapture.h"
#include "videotools/StopWatchView.h"
#include "videotools/SubtitleWriter.h"
#include "videotools/TrimView.h"

#include "samplecard/SampleCardWriter.h"
#include "support/LostRecord.h"

#include "AppFakes.h"
#include "MainWindowFixture.h"

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QLabel>
#include <QMenuBar>
#include <QMouseEvent>
#include <QPushButton>
#include <QTableView>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

namespace {
using PS = CommonConst::PlayStatus;

// Counts the paint events a widget gets.
struct PaintCounter : QObject
{
    explicit PaintCounter(QWidget *widget) { widget->installEventFilter(this); }
    bool eventFilter(QObject *, QEvent *event) override
    {
        paints += event->type() == QEvent::Paint;
        return false;
    }
    int paints = 0;
};

// The sample card open, its three-chapter trip loaded and paused at its start.
struct PlayingWindow : Fixture
{
    PlayingWindow() : Fixture(false, {}, true)
    {
        EXPECT_TRUE(showAndOpenBackup(writtenSampleCard()));
        const auto &trips = list()->tripData();
        const auto three = std::find_if(trips.begin(), trips.end(),
                                        [](const auto &trip) { return trip->sortedChapters().size() == 3; });
        EXPECT_NE(three, trips.end());
        tripRow = static_cast<int>(three - trips.begin());
        window->itemPlayback().playTripItem(tripRow, 0, false, true);
        engine()->becomeReady();
        player()->pauseMovie();
        // From now on a chapter's file takes a moment to open.
        holdItems = true;
        for (FakeMediaEngine *each : engines)
            each->holdItems = true;
        QCoreApplication::processEvents();
    }

    MoviePlayerView *player() const { return window->panels()->moviePlayerView(); }
    PlayerControls *controls() const { return player()->controls(); }
    QAbstractButton *button(const char *name) const
    {
        return qobject_cast<QAbstractButton *>(controls()->control(QString::fromLatin1(name)));
    }
    FakeMediaEngine *engine() const { return static_cast<FakeMediaEngine *>(player()->engine()); }
    VideoListModel *list() const { return window->videoListView()->model(); }
    DrivingInfoView *panel() const { return window->coordinators()->drivingInfoView(); }
    WebMapView *map() const { return window->mapView()->mapWebView(); }
    int64_t start(int chapter) const
    {
        return PictureDataUtil::getPosition(player()->valueInfo()->chapterDataList(), chapter, 0);
    }
    // A click on the track bar at a position.
    void clickTrackBar(int64_t position)
    {
        CustomSliderCell *cell = player()->trackCell();
        const double x = CustomSliderCell::TRACK_INSET + cell->valueToPosition(position - cell->minValue());
        QTest::mouseClick(player()->trackSlider(), Qt::LeftButton, {},
                          QPoint(qRound(x), qRound(cell->mouseTrackingArea().center().y())));
    }
    // What the window shows of the position, all in one line for the checks.
    struct Shown
    {
        QString title, date;
        int64_t position = 0;
        double speed = 0.0;
        bool circle = false, chart = false;
        int64_t chartChapter = -1;
        std::pair<double, double> car;
    };
    Shown shown() const
    {
        Shown s;
        s.title = window->windowTitle();
        s.date = controls()->datetimeLabel()->text();
        s.position = player()->trackCell()->integerValue();
        s.speed = panel()->speedMeterView()->model().realSpeed();
        CircleChartModel &circle = panel()->circleChartView()->model();
        s.circle = !circle.isEmpty() && circle.marker().has_value();
        s.chart = !panel()->model().chart().speedData.empty();
        s.chartChapter = panel()->model().currentIndex();
        s.car = {map()->currentPoint().lat, map()->currentPoint().lng};
        return s;
    }

    int tripRow = -1;
};
} // namespace

TEST(WindowFollowsTest, APausedChapterChangeByTrackBarButtonOrRowShowsTheNewChapterEverywhereAndAfterPlay)
{
    const std::pair<const char *, std::function<void(PlayingWindow &)>> ways[] = {
        {"track bar", [](PlayingWindow &w) { w.clickTrackBar(w.start(1) + 500); }},
        {"next chapter button", [](PlayingWindow &w) { w.button("forward")->click(); }},
        {"chapter row",
         [](PlayingWindow &w) {
             emit w.window->videoListView()->rowClicked(CommonConst::ListType::TripChapter, 1);
         }},
    };
    for (const auto &[how, move] : ways) {
        SCOPED_TRACE(how);
        PlayingWindow w;
        const PlayingWindow::Shown before = w.shown();
        ASSERT_TRUE(before.chart && before.circle);
        const QString chapter = w.player()->valueInfo()->chapterDataList()[1]->_pathMp4.toLocalFile();
        PaintCounter knob(w.player()->trackSlider());
        move(w);
        ASSERT_EQ(w.player()->valueInfo()->currentIndex(), 1);
        ASSERT_NE(w.engine()->status(), MediaEngine::Status::ReadyToPlay) << "the chapter's file still opens";
        w.engine()->becomeReady();
        QCoreApplication::processEvents();

        const PlayingWindow::Shown after = w.shown();
        EXPECT_TRUE(after.title.contains(chapter)) << after.title.toStdString();
        EXPECT_NE(after.date, before.date);
        EXPECT_FALSE(after.date.contains(QLatin1String("--"))) << after.date.toStdString();
        EXPECT_GE(after.position, w.start(1));
        EXPECT_LT(after.position, w.start(2));
        EXPECT_GT(knob.paints, 0) << "the knob is drawn at the new position";
        EXPECT_GT(after.speed, 0.0) << "the meter shows the speed, not a dash";
        EXPECT_TRUE(after.circle);
        EXPECT_TRUE(after.chart);
        EXPECT_EQ(after.chartChapter, 1);
        EXPECT_NE(after.car, before.car);
        EXPECT_NE(w.player()->currentStatus(), PS::Play);

        w.button("play")->click();
        ASSERT_EQ(w.player()->currentStatus(), PS::Play);
        EventLoop::runFor(std::chrono::milliseconds(150));
        const PlayingWindow::Shown playing = w.shown();
        EXPECT_TRUE(playing.chart && playing.circle) << "the series stay after Play";
        EXPECT_EQ(playing.chartChapter, 1);
        EXPECT_TRUE(playing.title.contains(chapter));
    }
}

// A click on a chapter's pin moves the whole window to that chapter whatever the player was doing: the
// title, the list, the picture, the date label, the charts and the car agree, and a stopped or paused
// player stays so.
TEST(WindowFollowsTest, AChapterPinClickedInAnyPlayStateShowsThatChapterEverywhere)
{
    const std::pair<PS, std::function<void(PlayingWindow &)>> states[] = {
        {PS::Stop,
         [](PlayingWindow &w) {
             // A click on the trip's row loads it at its start, stopped.
             emit w.window->videoListView()->rowClicked(CommonConst::ListType::Trip, w.tripRow);
             w.engine()->becomeReady();
             w.player()->stopMovie();
         }},
        {PS::Pause, [](PlayingWindow &w) { w.player()->moveToPosition(w.start(0) + 700, PS::Pause); }},
        {PS::Play, [](PlayingWindow &w) { w.button("play")->click(); }},
    };
    for (const auto &[state, reach] : states) {
        SCOPED_TRACE(int(state));
        PlayingWindow w;
        reach(w);
        QCoreApplication::processEvents();
        ASSERT_EQ(w.player()->currentStatus(), state);
        const PlayingWindow::Shown before = w.shown();
        const ChapterList chapters = w.player()->valueInfo()->chapterDataList();
        const QString chapter = chapters[1]->_pathMp4.toLocalFile();

        w.window->mapMarkerClicked(MapPoint(35.0, 139.0, QString(), MarkerType::NORMAL, w.tripRow, 1));
        if (w.engine()->status() != MediaEngine::Status::ReadyToPlay)
            w.engine()->becomeReady();
        QCoreApplication::processEvents();
        w.window->updateFrameWithStopWatch();

        const PlayingWindow::Shown after = w.shown();
        EXPECT_EQ(w.player()->valueInfo()->chapterDataList(), chapters) << "the same trip";
        EXPECT_TRUE(after.title.contains(chapter)) << after.title.toStdString();
        EXPECT_EQ(w.list()->currentRow(CommonConst::ListType::TripChapter), 1);
        EXPECT_GE(after.position, w.start(1));
        EXPECT_LT(after.position, w.start(2));
        EXPECT_TRUE(w.engine()->items.endsWith(chapter)) << "the picture is the chapter's";
        EXPECT_NE(after.date, before.date);
        EXPECT_EQ(after.chartChapter, 1);
        EXPECT_TRUE(after.chart && after.circle);
        EXPECT_NE(after.car, before.car);
        EXPECT_EQ(w.player()->currentStatus() == PS::Play, state == PS::Play);
    }
}

// The same on the real engine, with the pin clicked while the trip a row click loaded, stopped, still opens
// its movie: once it has, the panel, the label and the car are the chapter's too.
TEST(WindowFollowsTest, AChapterPinClickedWhileAStoppedTripOpensShowsThatChapterOnTheRealEngine)
{
    Fixture f(false, {}, false);
    ASSERT_TRUE(f.showAndOpenBackup(writtenSampleCard(), false));
    MoviePlayerView *player = f.window->panels()->moviePlayerView();
    const auto &trips = f.window->videoListView()->model()->tripData();
    const auto three = std::find_if(trips.begin(), trips.end(),
                                    [](const auto &trip) { return trip->sortedChapters().size() == 3; });
    ASSERT_NE(three, trips.end());
    const int row = int(three - trips.begin());
    emit f.window->videoListView()->rowClicked(CommonConst::ListType::Trip, row);
    const QString dateAtStart = player->controls()->datetimeLabel()->text();
    f.window->mapMarkerClicked(MapPoint(35.0, 139.0, QString(), MarkerType::NORMAL, row, 1));

    const ChapterTimeline &timeline = player->valueInfo()->timeline();
    DrivingInfoView *panel = f.window->coordinators()->drivingInfoView();
    CircleChartModel &circle = panel->circleChartView()->model();
    const auto shown = [&] {
        return player->engine()->isPlayerReady() && player->currentStatus() == PS::Stop &&
               panel->model().currentIndex() == 1 && !panel->model().chart().speedData.empty() &&
               !circle.isEmpty() && circle.marker().has_value();
    };
    EXPECT_TRUE(EventLoop::waitUntil(shown, std::chrono::seconds(20)))
        << "chart chapter " << panel->model().currentIndex();
    EXPECT_EQ(player->valueInfo()->currentIndex(), 1);
    EXPECT_EQ(player->valueInfo()->currentValue(), timeline.position(1, 0));
    EXPECT_TRUE(
        f.window->windowTitle().contains(player->valueInfo()->chapterDataList()[1]->_pathMp4.fileName()));
    EXPECT_NE(player->controls()->datetimeLabel()->text(), dateAtStart);
}

TEST(WindowFollowsTest, TheFixtureListsOnlyTheEnginesThePlayerStillHolds)
{
    // Opening the card plays its first item, then the fixture's own play drops that engine: a
    // test that set a flag through a dropped one wrote into freed memory.
    PlayingWindow w;
    std::vector<MediaEngine *> held, listed(w.engines.begin(), w.engines.end());
    for (MediaEngine *each : {w.player()->engine(), w.player()->preparedEngine()})
        if (each)
            held.push_back(each);
    std::sort(held.begin(), held.end());
    std::sort(listed.begin(), listed.end());
    EXPECT_EQ(listed, held);
}

TEST(WindowFollowsTest, AResetLeavesTheDrivingPanelEmpty)
{
    PlayingWindow w;
    w.player()->moveToPosition(w.start(0) + 3000, PS::Pause);
    w.window->updateFrameDisplay(false); // as every caller of a move does
    ASSERT_TRUE(w.shown().chart);
    ASSERT_GT(w.shown().speed, 0.0);
    w.window->resetDisplay();
    const PlayingWindow::Shown reset = w.shown();
    EXPECT_FALSE(reset.chart || reset.circle);
    EXPECT_EQ(reset.speed, 0.0);
    EXPECT_EQ(reset.title, QStringLiteral("Orvalind"));
}

TEST(WindowFollowsTest, FullScreenFromAnySourceActsAsThePlayersButtonAndHidesThePanelsToolBarAndChildWindows)
{
    PlayingWindow w;
    w.button("stopwatch")->click();
    QWidget *stopWatch = w.window->coordinators()->stopWatchWindow().window();
    ASSERT_TRUE(stopWatch->isVisible());
    w.window->panels()->mapTitleView()->onMapWindowButton();
    QWidget *mapWindow = w.window->mapView()->window();
    ASSERT_NE(mapWindow, w.window.get());
    ASSERT_TRUE(mapWindow->isVisible());
    QAbstractButton *fullscreen = w.button("fullscrn");
    QAction *viewFullScreen = nullptr;
    for (QAction *action : w.window->menuBar()->findChildren<QAction *>())
        viewFullScreen = action->shortcut() == QKeySequence(Qt::Key_F11) ? action : viewFullScreen;
    ASSERT_NE(viewFullScreen, nullptr);

    const std::pair<const char *, std::function<void()>> entries[] = {
        {"F11", [&] { QTest::keyClick(w.window.get(), Qt::Key_F11); }},
        {"window manager", [&] { w.window->setWindowState(Qt::WindowFullScreen); }},
        {"player's button", [&] { fullscreen->click(); }},
        {"View menu", [&] { viewFullScreen->trigger(); }},
    };
    // F11 again once the menu bar, whose action holds the key, is hidden.
    const std::pair<const char *, std::function<void()>> exits[] = {
        {"Escape", [&] { QTest::keyClick(w.window.get(), Qt::Key_Escape); }},
        {"button", [&] { fullscreen->click(); }},
        {"F11", [&] { QTest::keyClick(w.window.get(), Qt::Key_F11); }},
    };
    for (const auto &[entry, enter] : entries) {
        for (const auto &[exit, leave] : exits) {
            SCOPED_TRACE(std::string(entry) + " then " + exit);
            QApplication::setActiveWindow(w.window.get());
            enter();
            ASSERT_TRUE(EventLoop::waitUntil([&] { return w.window->isFullscreen(); }));
            EXPECT_TRUE(fullscreen->isChecked());
            EXPECT_EQ(fullscreen->toolTip(), QStringLiteral("Close full screen"));
            EXPECT_FALSE(w.controls()->toolsView()->isVisible());
            EXPECT_FALSE(stopWatch->isVisible());
            EXPECT_FALSE(mapWindow->isVisible());
            EXPECT_FALSE(w.window->menuBar()->isVisible()) << "the picture takes the whole screen";
            leave();
            ASSERT_TRUE(EventLoop::waitUntil([&] { return !w.window->isFullscreen(); }));
            EXPECT_FALSE(fullscreen->isChecked());
            EXPECT_EQ(fullscreen->toolTip(), QStringLiteral("Full Screen Display"));
            EXPECT_TRUE(w.controls()->toolsView()->isVisible());
            EXPECT_TRUE(stopWatch->isVisible());
            EXPECT_TRUE(mapWindow->isVisible());
            EXPECT_TRUE(w.window->menuBar()->isVisible());
        }
    }

    // The two alerts leave full screen before they show; the missing file also closes the stopwatch.
    struct FullScreenAtAlert : FakePrompter
    {
        void warn(QWidget *parent, const QString &text, const QString &cause = {}) override
        {
            FakePrompter::warn(parent, text, cause);
            fullScreen.push_back(parent->window()->isFullScreen());
        }
        std::vector<bool> fullScreen;
    };
    for (const bool missing : {false, true}) {
        PlayingWindow alerted;
        alerted.button("stopwatch")->click();
        QTest::keyClick(alerted.window.get(), Qt::Key_F11);
        ASSERT_TRUE(EventLoop::waitUntil([&] { return alerted.window->isFullscreen(); }));
        missing ? alerted.window->showFileNotFound() : alerted.window->showLoadFailed();
        EXPECT_FALSE(alerted.window->isFullScreen()) << missing;
        EXPECT_FALSE(alerted.button("fullscrn")->isChecked()) << missing;
        EXPECT_EQ(alerted.window->coordinators()->stopWatchWindow().window()->isVisible(), !missing);
        EXPECT_EQ(alerted.button("stopwatch")->isChecked(), !missing);
    }
}

// Every show, hide and move that a widget of the window gets, by the widget's name or class.
struct LayoutChurn : QObject
{
    explicit LayoutChurn(QWidget *window) : window(window)
    {
        QApplication::instance()->installEventFilter(this);
    }
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        const auto type = event->type();
        auto *widget = qobject_cast<QWidget *>(watched);
        if (!widget || widget->window() != window ||
            (type != QEvent::Show && type != QEvent::Hide && type != QEvent::Move))
            return false;
        const QString name =
            widget->objectName().isEmpty() ? widget->metaObject()->className() : widget->objectName();
        seen << (type == QEvent::Show ? "show " : type == QEvent::Hide ? "hide " : "move ") + name;
        return false;
    }
    QWidget *window;
    QStringList seen;
};

// A refresh on every tick of the clock that showed the play button and hid it again laid the control row out
// twice a tick: a click on the pause button in between found the row's empty place where it had been.
TEST(WindowFollowsTest, NoWidgetOfTheWindowIsShownHiddenOrMovedWhileATripPlays)
{
    PlayingWindow w;
    w.button("play")->click();
    EventLoop::runFor(std::chrono::milliseconds(300));
    ASSERT_EQ(w.player()->currentStatus(), PS::Play);
    const int64_t from = w.player()->clock()->position();
    LayoutChurn churn(w.window.get());
    EventLoop::runFor(std::chrono::milliseconds(1000));
    EXPECT_GT(w.player()->clock()->position(), from + 500) << "the trip played meanwhile";
    EXPECT_EQ(churn.seen.size(), 0) << "in a second of play: " << churn.seen.join(", ").toStdString();
    // Pause and play again: the one button takes the other's place, never beside it.
    for (const char *name : {"pause", "play"}) {
        churn.seen.clear();
        QAbstractButton *clicked = w.button(name);
        const QPoint place = clicked->pos();
        clicked->click();
        QCoreApplication::processEvents();
        QAbstractButton *other = w.button(name == std::string("pause") ? "play" : "pause");
        EXPECT_TRUE(clicked->isHidden() && !other->isHidden()) << name;
        EXPECT_EQ(other->pos(), place) << name;
        EXPECT_EQ(churn.seen.filter("show").size(), 1) << name << ": " << churn.seen.join(", ").toStdString();
    }
}

TEST(WindowFollowsTest, TheStopwatchButtonGoesOffWithItsWindowSoOneClickOpensItAgain)
{
    PlayingWindow w;
    QAbstractButton *button = w.button("stopwatch");
    StopWatchView *view = w.window->coordinators()->stopWatchWindow().view();
    const std::pair<const char *, std::function<void()>> closers[] = {
        {"close box", [&] { view->close(); }},
        {"Escape", [&] { QTest::keyClick(view, Qt::Key_Escape); }},
        {"closeStopWatch", [&] { w.window->coordinators()->stopWatch().closeStopWatch(); }},
    };
    for (const auto &[how, close] : closers) {
        SCOPED_TRACE(how);
        button->click();
        ASSERT_TRUE(view->isVisible());
        ASSERT_TRUE(button->isChecked());
        close();
        EXPECT_FALSE(view->isVisible());
        EXPECT_FALSE(button->isChecked());
    }
    button->click();
    EXPECT_TRUE(view->isVisible()) << "one click opens it again";
}

TEST(WindowFollowsTest, TheFirstCutPressEntersTrimModeAndEveryWayOutClearsItsLabelAndRange)
{
    const QString range = QString::fromUtf8(" ～ ");
    const std::pair<const char *, std::function<void(PlayingWindow &)>> ways[] = {
        {"cancelled", [](PlayingWindow &w) { w.window->coordinators()->toolWindows().toolWindowClosed(1); }},
        {"saved", [](PlayingWindow &w) { w.window->coordinators()->toolWindows().toolWindowClosed(2); }},
        {"another item",
         [](PlayingWindow &w) {
             w.window->itemPlayback().playTripItem(w.tripRow == 0 ? 1 : 0, 0, false, true);
         }},
        {"stop", [](PlayingWindow &w) { w.button("stop")->click(); }},
    };
    for (const auto &[how, leave] : ways) {
        SCOPED_TRACE(how);
        PlayingWindow w;
        w.player()->moveToPosition(w.start(0) + 1000, PS::Pause);
        w.button("cut")->click();
        QLabel *label = w.player()->playerView()->trimLabel();
        ASSERT_NE(label, nullptr);
        EXPECT_TRUE(label->isVisible());
        EXPECT_EQ(label->text(), QString::fromUtf8("● Trim Mode"));
        EXPECT_TRUE(w.button("cut")->isChecked());
        EXPECT_FALSE(w.button("zoom")->isEnabled());
        EXPECT_TRUE(w.player()->trackCell()->selectFrame());
        w.player()->moveToPosition(w.start(0) + 2000, PS::Pause);
        EXPECT_TRUE(w.controls()->datetimeLabel()->text().contains(range));
        // Back keeps trim mode as it was.
        w.window->coordinators()->toolWindows().toolWindowClosed(0);
        EXPECT_TRUE(label->isVisible());

        leave(w);
        EXPECT_FALSE(label->isVisible());
        EXPECT_FALSE(w.button("cut")->isChecked());
        EXPECT_FALSE(w.player()->trackCell()->selectFrame());
        EXPECT_FALSE(w.controls()->datetimeLabel()->text().contains(range));
    }
}

TEST(WindowFollowsTest, TrimAndCaptureWindowsOpenBelowTheirButtons)
{
    PlayingWindow w;
    w.player()->moveToPosition(w.start(0) + 1000, PS::Pause);
    w.engine()->becomeReady();
    // Each press ends in a tool window's modal run; where it opened is read from inside the run.
    const std::pair<const char *, int> presses[] = {{"cut", 2}, {"snapshot", 1}};
    for (const auto &[name, count] : presses) {
        SCOPED_TRACE(name);
        QAbstractButton *button = w.button(name);
        std::optional<QPoint> topLeft;
        QTimer closer;
        QObject::connect(&closer, &QTimer::timeout, [&] {
            if (QWidget *tool = QApplication::activeModalWidget()) {
                topLeft = tool->frameGeometry().topLeft();
                tool->close();
            }
        });
        closer.start(20);
        for (int i = 0; i < count; ++i)
            button->click();
        closer.stop();
        ASSERT_TRUE(topLeft);
        const QPoint below = button->mapToGlobal(QPoint(0, button->height()));
        EXPECT_EQ(*topLeft, below);
    }
}

TEST(WindowFollowsTest, AValueBubbleLiesWhollyInsideTheWindowsContent)
{
    PlayingWindow w;
    for (CustomSliderCellMin *slider : {w.controls()->volumeSlider(), w.controls()->brightSlider()}) {
        SCOPED_TRACE(slider->identifier().toStdString());
        const QPoint at(slider->width() / 2, slider->height() / 2);
        QTest::mousePress(slider, Qt::LeftButton, {}, at);
        QLabel *bubble = slider->valLabel();
        ASSERT_NE(bubble, nullptr);
        ASSERT_TRUE(bubble->isVisible());
        QWidget *content = w.window->centralWidget();
        const QRect shown(bubble->mapTo(content, QPoint(0, 0)), bubble->size());
        EXPECT_TRUE(content->rect().contains(shown));
        EXPECT_FALSE(shown.intersects(QRect(slider->mapTo(content, QPoint(0, 0)), slider->size())));
        QTest::mouseRelease(slider, Qt::LeftButton, {}, at);
    }
}

TEST(CustomSliderCellMinTest, TheBubbleSitsOnTheSlidersTopEdgeWhereItFitsElseUnderItInsideTheArea)
{
    const QSize bubble(20, 12);
    const QRect area(0, 0, 400, 300);
    // Slider, where the bubble goes.
    const std::pair<QRect, QRect> cases[] = {
        {QRect(100, 100, 80, 16), QRect(100, 88, 20, 12)}, // room above: on the top edge
        {QRect(100, 4, 80, 16), QRect(100, 20, 20, 12)},   // none above: under it
        {QRect(390, 4, 80, 16), QRect(380, 20, 20, 12)},   // and moved in from the right edge
        {QRect(100, 0, 80, 300), QRect(100, 288, 20, 12)}, // no room at all: the lowest place inside
    };
    for (const auto &[slider, expected] : cases)
        EXPECT_EQ(CustomSliderCellMin::bubbleRect(slider, bubble, area), expected) << slider.y();
}

TEST(WindowFollowsTest, TheOpenFromDialogRunsAtItsOwnSize)
{
    Fixture f;
    f.startUpUntilShown();
    f.window->showOpenFromDialog();
    ASSERT_FALSE(f.runner->sizes.empty());
    EXPECT_EQ(f.runner->sizes.back(), QSize(285, 155));
}

TEST(WindowFollowsTest, FrameBackGoesOffAtTheRunningStopwatchsLastMarkAndBackOnPastItOrWhenItStops)
{
    PlayingWindow w;
    const int64_t at = w.start(0) + 1500;
    w.player()->moveToPosition(at, PS::Pause);
    w.window->updateFrameWithStopWatch();
    QAbstractButton *back = w.button("komaBack");
    ASSERT_TRUE(back->isEnabled());
    w.button("stopwatch")->click();
    StopWatchView *view = w.window->coordinators()->stopWatchWindow().view();
    const std::tuple<const char *, std::function<void()>, bool> steps[] = {
        {"started where it stands", [&] { view->btnStartStop->click(); }, false},
        {"on past the start",
         [&] {
             w.player()->moveToPosition(at + 1000, PS::Pause);
             w.window->updateFrameWithStopWatch();
         },
         true},
        {"a lap there", [&] { view->btnLapReset->click(); }, false},
        {"stopped", [&] { view->btnStartStop->click(); }, true},
    };
    for (const auto &[step, act, enabled] : steps) {
        SCOPED_TRACE(step);
        act();
        EXPECT_EQ(back->isEnabled(), enabled);
    }
}

namespace {
// The loaded item paused; each call moves it to a position as a click on the track bar does, and the
// window follows as on a clock tick.
struct PausedMover
{
    PausedMover(Fixture &fixture, bool handleEvents) : f(fixture), events(handleEvents)
    {
        engine()->becomeReady();
        player()->pauseMovie();
    }
    MoviePlayerView *player() const { return f.window->panels()->moviePlayerView(); }
    FakeMediaEngine *engine() const { return static_cast<FakeMediaEngine *>(player()->engine()); }
    void operator()(int64_t position) const
    {
        player()->moveToPosition(position, PS::Pause);
        if (engine()->status() != MediaEngine::Status::ReadyToPlay)
            engine()->becomeReady();
        if (events)
            QCoreApplication::processEvents();
        f.window->updateFrameWithStopWatch();
    }

    Fixture &f;
    bool events;
};

// The card of the scenario, written under dir, with the listed records of its movies lost; the URL of the
// folder to open as a backup, none when it could not be written.
std::optional<QUrl> cardWithLostRecords(const TempDir &dir, const SampleScenario &scenario,
                                        const std::vector<int> &lost)
{
    if (!SampleCardWriter(scenario).writeCard(dir.path()))
        return std::nullopt;
    const QString folder = SampleCardWriter::cardFolder(dir.path());
    for (int index : lost) {
        if (!loseMovieRecord(folder, index))
            return std::nullopt;
    }
    return QUrl::fromLocalFile(folder + "/");
}

// A lap's speed needs the driving data of the chapters it runs over, which the card's workers or the
// stopwatch's own reads bring off the main thread: until then its row shows "-km/h". Waits until the
// first lap's and the total's rows show a speed.
bool lapAndTotalSpeedsShown(StopWatchView *view)
{
    const QString pending = QStringLiteral("-km/h");
    return EventLoop::waitUntil([view, &pending] {
        return view->speedText(0) != pending && view->speedText(StopWatchModel::LAP_MAX) != pending;
    });
}
} // namespace

TEST(WindowFollowsTest, TheStopwatchFirstOpenedDuringAnAdventureMeasuresItsRecordedSpeed)
{
    PlayingWindow w;
    ASSERT_TRUE(w.window->itemPlayback().playAdventureItem(0, 0, false));
    const PausedMover moveTo{w, true};
    const int64_t from = 1500, to = 7500;
    moveTo(from);
    w.button("stopwatch")->click();
    StopWatchView *view = w.window->coordinators()->stopWatchWindow().view();
    view->btnStartStop->click();
    moveTo(to);
    view->btnLapReset->click();

    // The mean of the speed the sample card recorded over the lap, in its adventure's own time.
    const SampleScenario scenario = SampleScenario::standard();
    const auto adventure =
        std::find_if(scenario.trips.begin(), scenario.trips.end(), [](const SampleTrip &t) {
            return !t.events.empty() && t.events.front().kind == SampleEvent::Kind::Adventure;
        });
    ASSERT_NE(adventure, scenario.trips.end());
    double sum = 0.0;
    for (int64_t ms = from; ms < to; ms += 10)
        sum += SampleCardWriter::speedAt(*adventure, ms);
    const double recorded = sum / double((to - from) / 10);

    ASSERT_TRUE(lapAndTotalSpeedsShown(view));
    const std::vector<LapInfo> &laps = view->model().laps();
    ASSERT_EQ(laps.size(), 1u);
    EXPECT_EQ(laps[0].lapTimeSpan, to - from);
    EXPECT_NEAR(double(laps[0].aveSpeed), recorded, 1.0);
    EXPECT_EQ(view->speedText(0), QString::number(laps[0].aveSpeed) + QStringLiteral("km/h"));
    const std::optional<LapInfo> total = view->model().total();
    ASSERT_TRUE(total);
    EXPECT_NEAR(double(total->aveSpeed), recorded, 1.0) << "the total runs over the same stretch";
}

// An adventure recorded across the file numbers' wrap from 9999 to 1 is listed as two adventures, split
// at the wrap. The stopwatch first opened while the part after the wrap plays measures that part as played,
// not the whole recording the card's records chain together: there the two timelines differ.
TEST(WindowFollowsTest, TheStopwatchFirstOpenedDuringAnAdventureAfterTheFileNumbersWrapMeasuresItAsPlayed)
{
    SampleScenario scenario = SampleScenario::standard();
    SampleTrip wrapped;
    wrapped.key = "202405051000";
    wrapped.start = QDateTime(QDate(2024, 5, 5), QTime(10, 0, 0), Qt::UTC);
    wrapped.counterStart = 400000;
    wrapped.chapters = {{9998, 0, 3000}, {9999, 3000, 3000}, {1, 6000, 3000}, {2, 9000, 3000}};
    wrapped.route = {{0, 7.2600, 43.7000}, {12000, 7.2700, 43.7050}};
    // Slow before the wrap, fast after it: a lap measured on the wrong part is far off.
    wrapped.speed = {{0, 20.0}, {6000, 20.0}, {6500, 90.0}, {12000, 90.0}};
    wrapped.g = {{0, 0.0, 0.0, 0.0}};
    wrapped.events = {{SampleEvent::Kind::Adventure, 0, 0x00, 0x00}};
    scenario.trips = {wrapped};
    TempDir cardDir;
    SampleCardWriter writer(scenario);
    ASSERT_TRUE(writer.writeCard(cardDir.path())) << writer.lastError().toStdString();

    Fixture f(false, {}, true);
    ASSERT_TRUE(f.showAndOpenBackup(QUrl::fromLocalFile(SampleCardWriter::cardFolder(cardDir.path()) + "/")));
    const auto &adventures = f.window->cardData()->_advTripList;
    ASSERT_EQ(adventures.size(), 2u) << "split at the wrap";
    const auto afterWrap = std::find_if(adventures.begin(), adventures.end(), [](const auto &adventure) {
        return adventure->sortedChapters().front()->fileNumber() == 1;
    });
    ASSERT_NE(afterWrap, adventures.end());
    ASSERT_TRUE(f.window->itemPlayback().playAdventureItem(int(afterWrap - adventures.begin()), 0, false));
    MoviePlayerView *player = f.window->panels()->moviePlayerView();
    const PausedMover moveTo{f, true};
    const int64_t from = 500, to = 5500;
    moveTo(from);
    qobject_cast<QAbstractButton *>(player->controls()->control(QStringLiteral("stopwatch")))->click();
    StopWatchView *view = f.window->coordinators()->stopWatchWindow().view();
    view->btnStartStop->click();
    moveTo(to);
    view->btnLapReset->click();

    // The part after the wrap starts 6 s into the recording.
    double sum = 0.0;
    for (int64_t ms = from; ms < to; ms += 10)
        sum += SampleCardWriter::speedAt(wrapped, 6000 + ms);
    const double recorded = sum / double((to - from) / 10);
    EXPECT_EQ(view->model().chapterDataList(), player->valueInfo()->chapterDataList());
    ASSERT_TRUE(lapAndTotalSpeedsShown(view));
    const std::vector<LapInfo> &laps = view->model().laps();
    ASSERT_EQ(laps.size(), 1u);
    EXPECT_EQ(laps[0].lapTimeSpan, to - from);
    EXPECT_NEAR(double(laps[0].aveSpeed), recorded, 1.0);
}

// A chapter whose record was lost, before one that has its record, is as long as only its recording tells,
// which the card's workers read after the open. Stopwatch marks made meanwhile stay on their pictures once
// the length has come, as the player's position does: the lap is measured as the track bar shows it.
TEST(WindowFollowsTest, StopwatchMarksMadeBeforeALostRecordsLengthCameStayOnTheirPictures)
{
    constexpr int CHAPTERS = 150;
    constexpr int LOST = 140; // far from the chapters the workers read first
    TempDir cardDir;
    SampleScenario scenario = SampleScenario::chapters(CHAPTERS, 2000);
    scenario.movieMs = 500;
    ASSERT_TRUE(SampleCardWriter(scenario).writeCard(cardDir.path()));
    ASSERT_TRUE(loseMovieRecord(SampleCardWriter::cardFolder(cardDir.path()), LOST));
    Fixture f(false, {}, true);
    ASSERT_TRUE(f.showAndOpenBackup(QUrl::fromLocalFile(SampleCardWriter::cardFolder(cardDir.path()) + "/")));
    MoviePlayerView *player = f.window->panels()->moviePlayerView();
    const std::shared_ptr<PlayMovieValueInfo> valueInfo = player->valueInfo();
    ASSERT_TRUE(valueInfo);
    const ChapterTimeline &timeline = valueInfo->timeline();
    // Whether the workers had read the chapter before the marks were made; either way the marks end on
    // their pictures.
    const bool learnedAfterTheMarks = !timeline.isSettled();
    RecordProperty("learnedAfterTheMarks", learnedAfterTheMarks ? "yes" : "no");
    // No events between the marks: a chapter the workers have read meanwhile is handed over after them.
    const PausedMover moveTo{f, false};
    moveTo(timeline.position(2, 100));
    qobject_cast<QAbstractButton *>(player->controls()->control(QStringLiteral("stopwatch")))->click();
    StopWatchView *view = f.window->coordinators()->stopWatchWindow().view();
    view->btnStartStop->click();
    moveTo(timeline.position(LOST + 5, 300));
    view->btnLapReset->click();

    // The workers are done once both loops found nothing left, which may come before their last hand-offs
    // ran here.
    ASSERT_TRUE(EventLoop::waitUntil(
        [&] { return f.window->cardData()->loadWorkersDone() && timeline.isSettled(); }));
    const ChapterList chapters = f.window->cardData()->_tripList_tab.front()->sortedChapters();
    ASSERT_EQ(timeline.length(LOST), chapters[LOST]->frameTimeSpan());
    const StopWatchModel &model = view->model();
    EXPECT_EQ(model.startMs(), timeline.position(2, 100));
    ASSERT_EQ(model.laps().size(), 1u);
    EXPECT_EQ(model.laps()[0].pos, timeline.position(LOST + 5, 300));
    EXPECT_EQ(model.laps()[0].lapTimeSpan, timeline.position(LOST + 5, 300) - timeline.position(2, 100));
    EXPECT_EQ(valueInfo->currentValue(), timeline.position(LOST + 5, 300)) << "the player's position";
}

// A trip whose chapters lost their records learns their lengths after the open, while it plays: the panel
// draws the speed line with its time labels and the G circle its dot from the first picture on, and still
// after every length came.
TEST(WindowFollowsTest, ThePanelDrawsATripWithLostRecordsFromItsFirstPictureOn)
{
    const auto everyOther = [](int count) {
        std::vector<int> lost;
        for (int i = 1; i < count; i += 2)
            lost.push_back(i);
        return lost;
    };
    const struct
    {
        const char *name;
        SampleScenario scenario;
        std::vector<int> lost;
    } cases[] = {
        {"the sample card's second record", SampleScenario::standard(), {1}},
        {"every other record of a long trip", SampleScenario::chapters(40, 2000), everyOther(40)},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        TempDir cardDir;
        const auto card = cardWithLostRecords(cardDir, c.scenario, c.lost);
        ASSERT_TRUE(card);
        Fixture f(false, {}, true);
        ASSERT_TRUE(f.showAndOpenBackup(*card));
        MoviePlayerView *player = f.window->panels()->moviePlayerView();
        DrivingInfoView *panel = f.window->coordinators()->drivingInfoView();
        const auto drawn = [&](const char *when) {
            SCOPED_TRACE(when);
            const LineChartData &chart = panel->model().chart();
            EXPECT_FALSE(chart.speedData.empty()) << "the speed line";
            EXPECT_FALSE(chart.minValue.text.isEmpty()) << "the time at the chart's start";
            EXPECT_FALSE(chart.maxValue.text.isEmpty()) << "the time at the chart's end";
            CircleChartModel &circle = panel->circleChartView()->model();
            EXPECT_TRUE(!circle.isEmpty() && circle.marker().has_value()) << "the G circle's dot";
        };
        auto *engine = static_cast<FakeMediaEngine *>(player->engine());
        engine->becomeReady();
        QCoreApplication::processEvents();
        f.window->updateFrameWithStopWatch();
        drawn("at the open");

        ASSERT_TRUE(EventLoop::waitUntil([&] {
            return f.window->cardData()->loadWorkersDone() && player->valueInfo()->timeline().isSettled();
        }));
        f.window->updateFrameWithStopWatch();
        drawn("once every length came");
        const PausedMover moveTo{f, true};
        const ChapterTimeline &timeline = player->valueInfo()->timeline();
        for (size_t i = 0; i < timeline.size(); i += 3) {
            SCOPED_TRACE(i);
            moveTo(timeline.position(int64_t(i), 500));
            drawn("paused in a chapter");
            EXPECT_EQ(panel->model().currentIndex(), int64_t(i));
        }
    }
}

// A trim range and a still chosen while the card's workers still learn the lengths of the chapters before
// them stay on the pictures chosen: the selection's start on the track bar, in the trim bounds and in the
// date label, and the positions the trim and capture tools were handed, which name those pictures on the
// timeline they came with, so the clip's range and the still's burned-in data are the chosen pictures'.
TEST(WindowFollowsTest, ATrimRangeAndAStillChosenBeforeTheLengthsCameKeepTheirPictures)
{
    constexpr int CHAPTERS = 150;
    using Place = ChapterTimeline::Place;
    const Place from{140, 1500}, to{143, 700};
    TempDir cardDir;
    SampleScenario scenario = SampleScenario::chapters(CHAPTERS, 2000);
    scenario.movieMs = 500;
    // The chapters before the marks that the workers read last learn their lengths after the open.
    std::vector<int> lost;
    for (int i = 101; i < CHAPTERS; i += 2)
        lost.push_back(i);
    const auto card = cardWithLostRecords(cardDir, scenario, lost);
    ASSERT_TRUE(card);
    Fixture f(false, {}, true);
    ASSERT_TRUE(f.showAndOpenBackup(*card));
    MoviePlayerView *player = f.window->panels()->moviePlayerView();
    const std::shared_ptr<PlayMovieValueInfo> valueInfo = player->valueInfo();
    ASSERT_TRUE(valueInfo);
    const ChapterTimeline &timeline = valueInfo->timeline();
    const auto positionOf = [&timeline](const Place &at) { return int64_t(timeline.position(at)); };
    const bool learnedAfterTheMarks = !timeline.isSettled();
    RecordProperty("learnedAfterTheMarks", learnedAfterTheMarks ? "yes" : "no");
    // No events between the marks: a chapter the workers have read meanwhile is handed over after them.
    const PausedMover moveTo{f, false};
    moveTo(positionOf(from));
    QAbstractButton *cut =
        qobject_cast<QAbstractButton *>(player->controls()->control(QStringLiteral("cut")));
    cut->click();
    moveTo(positionOf(to));

    // Each tool is looked at once every length has come, while it is open.
    std::optional<ToolInfo> trimInfo, stillInfo;
    QTimer closer;
    QObject::connect(&closer, &QTimer::timeout, [&] {
        QWidget *tool = QApplication::activeModalWidget();
        if (!tool || !f.window->cardData()->loadWorkersDone() || !timeline.isSettled())
            return;
        if (auto *trim = tool->findChild<TrimView *>(); trim && trim->toolinfo)
            trimInfo = *trim->toolinfo;
        if (auto *capture = tool->findChild<CaptureView *>(); capture && capture->toolinfo)
            stillInfo = *capture->toolinfo;
        tool->close();
    });
    closer.start(20);
    cut->click();
    qobject_cast<QAbstractButton *>(player->controls()->control(QStringLiteral("snapshot")))->click();
    closer.stop();
    ASSERT_TRUE(timeline.isSettled());

    const ChapterList chapters = valueInfo->chapterDataList();
    const auto frameAt = [&chapters](const Place &at) {
        return chapters[size_t(at.index)]->getPicture(true)->video->findFrame(0, at.offset, true);
    };
    CustomSliderCell *cell = player->trackCell();
    EXPECT_EQ(cell->selectStartSumFrameTS(), positionOf(from));
    EXPECT_EQ(valueInfo->startValueMovieCut(), positionOf(from));
    EXPECT_EQ(valueInfo->endValueMovieCut(), positionOf(from) + TrackMarks::TRM_MAX_VAL);
    EXPECT_EQ(cell->selectStartDate(), frameAt(from).time) << "the date label's start";
    EXPECT_EQ(valueInfo->currentValue(), positionOf(to));

    ASSERT_TRUE(trimInfo && trimInfo->selectStartSumFrameTS && trimInfo->selectEndSumFrameTS);
    const ChapterTimeline handed = trimInfo->positionsTimeline();
    const auto same = [](const Place &a, const Place &b) {
        return a.index == b.index && a.offset == b.offset;
    };
    EXPECT_TRUE(same(handed.place(*trimInfo->selectStartSumFrameTS), from));
    EXPECT_TRUE(same(handed.place(*trimInfo->selectEndSumFrameTS), to));

    ASSERT_TRUE(stillInfo);
    const OverlayFlags flags{true, true, true, true};
    const auto still =
        StillCapture::makeRequest(*stillInfo, flags, OverlaySettings{}, cardDir.filePath("still.jpg"));
    ASSERT_TRUE(still);
    EXPECT_EQ(still->overlayText, SubtitleWriter(OverlaySettings{}).makeInfoText(frameAt(to), flags));
}

namespace {
// Zoomed x2 around the picture's top-left corner, the menu closed.
void zoomInOnTheTopLeft(PlayingWindow &w)
{
    PlayerView *view = w.player()->playerView();
    w.button("zoom")->click();
    w.controls()->zoom()->zoomMenu()->button(1)->click();
    const QRectF fit = view->fittedVideoRect();
    QTest::mouseClick(view, Qt::LeftButton, {}, (fit.topLeft() + QPointF(20, 20)).toPoint());
}
} // namespace

// While the zoom menu is open a click anywhere outside it only closes the menu: the tool bar, the control
// row, the sliders, the picture, the list and the map do not act, and the applied zoom stays.
TEST(WindowFollowsTest, AClickOutsideTheOpenZoomMenuOnlyClosesItWhereverItLands)
{
    PlayingWindow w;
    QMainWindow *window = w.window.get();
    PlayerView *view = w.player()->playerView();
    ZoomMenuControl *zoom = w.controls()->zoom();
    zoomInOnTheTopLeft(w);
    ASSERT_TRUE(view->zoomPoint().has_value());
    const auto at = [window](QWidget *widget, QPointF inWidget) {
        return widget->mapTo(window, inWidget.toPoint());
    };
    const auto centre = [at](QWidget *widget) { return at(widget, QRectF(widget->rect()).center()); };
    QTableView *table = w.window->videoListView()->listTable();
    const std::pair<const char *, QPoint> targets[] = {
        {"open button", centre(w.button("open"))},
        {"play button", centre(w.button("play"))},
        {"frame forward", centre(w.button("komaGo"))},
        {"brightness slider", centre(w.controls()->brightSlider())},
        {"volume slider", centre(w.controls()->volumeSlider())},
        {"picture", at(view, {view->width() * 0.75, view->height() * 0.75})},
        {"list row", at(table->viewport(), QRectF(table->visualRect(table->model()->index(0, 0))).center())},
        {"map", centre(w.window->mapView())},
    };
    for (const auto &[name, point] : targets) {
        SCOPED_TRACE(name);
        w.button("zoom")->click();
        ASSERT_TRUE(zoom->isShown());
        const auto before = w.shown();
        const auto status = w.player()->currentStatus();
        const double gamma = w.player()->gamma();
        const float volume = w.controls()->sliderVolume();
        const int row = w.list()->currentRowTrip();
        const size_t runs = w.runs.size();
        QTest::mouseClick(window->windowHandle(), Qt::LeftButton, {}, point);
        QCoreApplication::processEvents();
        EXPECT_FALSE(zoom->isShown());
        EXPECT_EQ(w.player()->currentStatus(), status);
        EXPECT_EQ(w.shown().position, before.position);
        EXPECT_EQ(w.player()->gamma(), gamma);
        EXPECT_EQ(w.controls()->sliderVolume(), volume);
        EXPECT_EQ(w.list()->currentRowTrip(), row);
        EXPECT_EQ(w.runs.size(), runs) << "a dialog opened";
        EXPECT_EQ(view->playerScale(), PlayerView::ScaleType::Scale_x2);
        EXPECT_TRUE(view->zoomPoint().has_value());
        EXPECT_TRUE(w.button("zoom")->isChecked());
    }
    // The menu's own buttons still take a click.
    w.button("zoom")->click();
    QTest::mouseClick(window->windowHandle(), Qt::LeftButton, {}, centre(zoom->zoomMenu()->button(0)));
    EXPECT_EQ(view->playerScale(), PlayerView::ScaleType::Scale_x1);
    EXPECT_FALSE(zoom->isShown());
    EXPECT_TRUE(showsWholeQuadrants(view->grab().toImage(), view->fittedVideoRect()));
}

// A new item shows its picture whole, the zoom of the one before undone at once.
TEST(WindowFollowsTest, ANewItemShowsItsPictureUnzoomed)
{
    PlayingWindow w;
    PlayerView *view = w.player()->playerView();
    zoomInOnTheTopLeft(w);
    ASSERT_FALSE(showsWholeQuadrants(view->grab().toImage(), view->fittedVideoRect()));
    const int other = w.tripRow == 0 ? 1 : 0;
    ASSERT_TRUE(w.window->itemPlayback().playTripItem(other, 0, false, true));
    w.engine()->becomeReady();
    QCoreApplication::processEvents();
    EXPECT_EQ(view->playerScale(), PlayerView::ScaleType::Scale_x1);
    EXPECT_FALSE(view->isZoomPreviewVisible());
    EXPECT_FALSE(w.button("zoom")->isChecked());
    EXPECT_TRUE(showsWholeQuadrants(view->grab().toImage(), view->fittedVideoRect()));
}
