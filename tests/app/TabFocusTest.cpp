// Tab and Shift-Tab in the whole main window over the sample card, pressed as the keyboard presses them:
// the player and driving panel's ring, and the map page, which hands the focus back to the window; where
// the keys go after the clicks that hide the control they land on, and after the program itself hides or
// disables the control that has them; and the detached map's window, which opens with no button focused.
#include "app/CardOpener.h"
#include "app/ItemPlayback.h"
#include "app/MainWindowLayout.h"
#include "app/ModalWindow.h"
#include "app/VideoListModel.h"
#include "app/VideoListView.h"
#include "app/WindowCoordinators.h"
#include "graph/DrivingInfoView.h"
#include "map/MapTitleView.h"
#include "map/MapView.h"
#include "map/MapWebPage.h"
#include "player/CustomSliderCell.h"
#include "player/CustomSliderCellMin.h"
#include "player/EXTextButton.h"
#include "player/MoviePlayerView.h"
#include "player/NSZoomView.h"
#include "player/PlayerControls.h"
#include "player/PlayerView.h"
#include "player/ZoomMenuControl.h"

#include "AppFakes.h"
#include "MainWindowFixture.h"

#include <QAbstractButton>
#include <QApplication>
#include <QTableView>
#include <QTest>
#include <QToolButton>
#include <QWebEngineView>
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>

namespace {

// The sample card open and its first item loaded, the map page ready, the window active.
struct TabbedWindow : Fixture
{
    TabbedWindow() : Fixture(false, {}, true)
    {
        EXPECT_TRUE(showAndOpenBackup(writtenSampleCard()));
        EXPECT_TRUE(EventLoop::waitUntil([&] { return window->mapView()->webPage()->isPageReady(); }));
        QCoreApplication::processEvents();
    }

    QWidget *openButton() const
    {
        return window->panels()->moviePlayerView()->controls()->control(QStringLiteral("open"));
    }
    QWidget *circleChartButton() const
    {
        return window->coordinators()->drivingInfoView()->circleChartButton();
    }
    QWidget *mapFocusFrame() const
    {
        return window->mapView()->findChild<QWidget *>(QStringLiteral("mapFocusFrame"));
    }
    bool inMapPage(const QWidget *w) const { return w && window->mapView()->webView()->isAncestorOf(w); }
    // One press and release of the key, through the window as the keyboard's arrive.
    static void press(QWidget *window, Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier)
    {
        QTest::keyClick(window->windowHandle(), key, modifiers);
        QCoreApplication::processEvents();
    }
};

struct Direction
{
    const char *name;
    Qt::Key key;
    Qt::KeyboardModifiers modifiers;
    bool forward;
};

// The X server gives Shift-Tab as Backtab; a Tab with Shift held means the same.
const Direction DIRECTIONS[] = {
    {"Tab", Qt::Key_Tab, Qt::NoModifier, true},
    {"Shift-Tab as Backtab", Qt::Key_Backtab, Qt::ShiftModifier, false},
    {"Tab with Shift held", Qt::Key_Tab, Qt::ShiftModifier, false},
};

} // namespace

// Also once the map has been in a window of its own and is back: the window's order then puts the map last.
TEST(TabFocusTest, TabOnTheCircleChartButtonGoesToTheOpenButtonAndShiftTabBack)
{
    const std::pair<const char *, std::function<void(TabbedWindow &)>> setUps[] = {
        {"as started", [](TabbedWindow &) {}},
        {"the map back from its closed window",
         [](TabbedWindow &w) {
             w.window->panels()->mapTitleView()->onMapWindowButton();
             ASSERT_NE(w.window->mapView()->window(), w.window.get());
             w.window->mapView()->window()->close();
             ASSERT_EQ(w.window->mapView()->window(), w.window.get());
             // The closed window's deactivation comes from the event loop.
             EventLoop::runFor(std::chrono::milliseconds(100));
             QApplication::setActiveWindow(w.window.get());
         }},
    };
    for (const auto &[setUpName, setUp] : setUps) {
        TabbedWindow w;
        setUp(w);
        for (const Direction &d : DIRECTIONS) {
            SCOPED_TRACE(QStringLiteral("%1, %2").arg(setUpName, d.name).toStdString());
            QWidget *from = d.forward ? w.circleChartButton() : w.openButton();
            QWidget *to = d.forward ? w.openButton() : w.circleChartButton();
            from->setFocus(Qt::OtherFocusReason);
            ASSERT_EQ(QApplication::focusWidget(), from);
            TabbedWindow::press(w.window.get(), d.key, d.modifiers);
            EXPECT_EQ(QApplication::focusWidget(), to);
        }
    }
}

// Pressed on and on from the open button, either way round, the focus passes through the map page and the
// list and comes back to the open button; in the page it stays for one press at most, framed.
TEST(TabFocusTest, TabAndShiftTabPassThroughTheMapPageBackToTheOpenButton)
{
    TabbedWindow w;
    for (const Direction &d : DIRECTIONS) {
        SCOPED_TRACE(d.name);
        w.openButton()->setFocus(Qt::OtherFocusReason);
        int presses = 0, inPage = 0, longestInPage = 0, hidden = 0, unframed = 0;
        bool pageVisited = false;
        do {
            TabbedWindow::press(w.window.get(), d.key, d.modifiers);
            ++presses;
            QWidget *focus = QApplication::focusWidget();
            ASSERT_NE(focus, nullptr) << "after press " << presses;
            hidden += !focus->isVisible();
            inPage = w.inMapPage(focus) ? inPage + 1 : 0;
            const QWidget *frame = w.mapFocusFrame();
            unframed += (frame && frame->isVisible()) != (inPage > 0);
            pageVisited = pageVisited || inPage > 0;
            longestInPage = std::max(longestInPage, inPage);
        } while (QApplication::focusWidget() != w.openButton() && presses < 200);
        EXPECT_EQ(QApplication::focusWidget(), w.openButton()) << "after " << presses << " presses";
        EXPECT_TRUE(pageVisited);
        EXPECT_LE(longestInPage, 1);
        EXPECT_EQ(hidden, 0) << "presses that put the focus on a hidden control";
        EXPECT_EQ(unframed, 0)
            << "presses after which the map's frame did not tell whether the page has the focus";
    }
}

// Before anything is opened the tool bar's settings button works and takes its place in the order: Tab and
// Shift-Tab pass through it, and no press anywhere leaves the focus where it was.
TEST(TabFocusTest, BeforeAnythingIsOpenedTheSettingsButtonWorksAndTheOrderNeverSticks)
{
    Fixture f(false, {}, true);
    f.startUpUntilShown();
    f.window->resize(1280, 800);
    QApplication::setActiveWindow(f.window.get());
    PlayerControls *controls = f.window->panels()->moviePlayerView()->controls();
    auto *setting = qobject_cast<QAbstractButton *>(controls->control(QStringLiteral("setting")));
    ASSERT_NE(setting, nullptr);
    EXPECT_TRUE(setting->isEnabled());
    EXPECT_EQ(setting->toolTip(), QStringLiteral("Setting"));
    const auto name = [] {
        const QWidget *w = QApplication::focusWidget();
        return !w                                             ? QStringLiteral("none")
               : qobject_cast<const CustomSliderCellMin *>(w) ? w->objectName() + QStringLiteral(" slider")
                                                              : w->objectName();
    };
    const struct
    {
        Direction direction;
        const char *from;
        QStringList next;
    } walks[] = {
        {DIRECTIONS[0],
         "open",
         {"setting", "bright", "bright slider", "volumeButton", "volume slider", "speed slider"}},
        {DIRECTIONS[1],
         "speed",
         {"volume slider", "volumeButton", "bright slider", "bright", "setting", "open"}},
        {DIRECTIONS[2],
         "speed",
         {"volume slider", "volumeButton", "bright slider", "bright", "setting", "open"}},
    };
    for (const auto &walk : walks) {
        SCOPED_TRACE(walk.direction.name);
        QWidget *from = walk.from == std::string("open")
                            ? controls->control(QStringLiteral("open"))
                            : static_cast<QWidget *>(controls->playSpeedSlider());
        from->setFocus(Qt::OtherFocusReason);
        QStringList walked;
        for (qsizetype i = 0; i < walk.next.size(); ++i) {
            TabbedWindow::press(f.window.get(), walk.direction.key, walk.direction.modifiers);
            walked << name();
        }
        EXPECT_EQ(walked.join(QStringLiteral(", ")).toStdString(),
                  walk.next.join(QStringLiteral(", ")).toStdString());
        // On round the window and back, the focus moving at every press.
        int presses = 0, stuck = 0;
        do {
            const QWidget *before = QApplication::focusWidget();
            TabbedWindow::press(f.window.get(), walk.direction.key, walk.direction.modifiers);
            stuck += QApplication::focusWidget() == before;
        } while (QApplication::focusWidget() != from && ++presses < 200);
        EXPECT_EQ(QApplication::focusWidget(), from);
        EXPECT_EQ(stuck, 0) << "presses that left the focus where it was";
    }
    // It opens the card drive choice for the camera's settings, or says there is no drive.
    setting->click();
    const bool ran = !f.runs.empty() && f.runs.back().first == ModalWindow::Type::CameraSetting;
    EXPECT_TRUE(ran ||
                f.prompter.shown.contains(QStringLiteral("warn: Unable to locate the selected drive.")));
}

namespace {

// What a stray key could change outside the player panel's own state.
struct AroundThePanel
{
    MapType map;
    int listRow;
    int tableRow;
    CommonConst::PlayStatus status;
    int64_t position;
    bool operator==(const AroundThePanel &) const = default;
    friend std::ostream &operator<<(std::ostream &out, const AroundThePanel &a)
    {
        return out << "map " << int(a.map) << ", list row " << a.listRow << ", table row " << a.tableRow
                   << ", status " << int(a.status) << ", position " << a.position;
    }
};

// The focused control as the user would name it.
std::string focusName(const QWidget *w = QApplication::focusWidget())
{
    if (!w)
        return "nothing";
    const auto *button = qobject_cast<const QAbstractButton *>(w);
    return QStringLiteral("%1 %2 %3")
        .arg(QString::fromLatin1(w->metaObject()->className()), w->objectName(),
             button ? button->text() : QString())
        .toStdString();
}

struct ClickedWindow : TabbedWindow
{
    // The first trip playing.
    ClickedWindow()
    {
        static_cast<FakeMediaEngine *>(player()->engine())->becomeReady();
        QCoreApplication::processEvents();
    }
    MoviePlayerView *player() const { return window->panels()->moviePlayerView(); }
    QWidget *control(const char *name) const
    {
        return player()->controls()->control(QString::fromLatin1(name));
    }
    // A playing position moves on by itself: only a resting one is compared.
    AroundThePanel around() const
    {
        QTableView *table = window->videoListView()->listTable();
        const CommonConst::PlayStatus status = player()->currentStatus();
        return {window->panels()->mapTitleView()->mapType(),
                window->videoListView()->model()->currentRowTrip(), table->currentIndex().row(), status,
                status == CommonConst::PlayStatus::Play ? -1 : player()->trackCell()->integerValue()};
    }
    // A press and release of the left button where the pointer would give it.
    void click(QWidget *on, std::optional<QPoint> at = {}) const
    {
        const QPoint inWindow = on->mapTo(window.get(), at.value_or(on->rect().center()));
        QTest::mouseClick(window->windowHandle(), Qt::LeftButton, {}, inWindow);
        QCoreApplication::processEvents();
    }
    void clickScale(int index) const
    {
        click(control("zoom"));
        ASSERT_TRUE(player()->controls()->zoom()->isShown());
        click(player()->controls()->zoom()->zoomMenu()->button(index));
    }
    // Play clicked, as the user starts playback from a pause: Pause takes the focus.
    void clickPlay() const
    {
        player()->pauseMovie();
        click(control("play"));
        ASSERT_EQ(player()->currentStatus(), CommonConst::PlayStatus::Play);
        ASSERT_EQ(QApplication::focusWidget(), control("pause")) << "the focus is on " << focusName();
    }
    // Played from a moment before the trip's end until it pauses there; meanwhile away, when asked.
    void playToTheEnd(bool awayMeanwhile) const
    {
        player()->moveToPosition(player()->trackCell()->maxValue() - 300, CommonConst::PlayStatus::Pause);
        clickPlay();
        if (awayMeanwhile)
            QApplication::setActiveWindow(nullptr);
        ASSERT_TRUE(
            EventLoop::waitUntil([&] { return player()->currentStatus() != CommonConst::PlayStatus::Play; }));
        ASSERT_EQ(player()->trackCell()->integerValue(), player()->trackCell()->maxValue());
        if (awayMeanwhile)
            QApplication::setActiveWindow(window.get());
    }
    // From a resting position, the step button reached by Tab and pressed by Space until it is disabled.
    void stepByKeyboard(const char *name, int64_t from) const
    {
        player()->moveToPosition(from, CommonConst::PlayStatus::Pause);
        control(name)->setFocus(Qt::TabFocusReason);
        for (int presses = 0; control(name)->isEnabled() && presses < 20; ++presses)
            TabbedWindow::press(window.get(), Qt::Key_Space);
        ASSERT_FALSE(control(name)->isEnabled());
    }
    QWidget *mapWindow() const { return window->mapView()->window(); }
    // Active as a click on it makes it: a window manager may leave a new window inactive.
    static bool activate(QWidget *w)
    {
        w->activateWindow();
        return EventLoop::waitUntil([&] { return QApplication::activeWindow() == w; });
    }
    // Whether the window reached the state within the wait: a window manager goes in and out later.
    bool waitForFullScreen(bool on) const
    {
        return EventLoop::waitUntil([&] { return window->isFullscreen() == on; });
    }
};

} // namespace

// After a scale chosen by the mouse, full screen by its button, and every other way the menu closes or the
// tool bar goes, the keys go to the player panel: Space presses nothing, Tab stays in the panel's order.
TEST(TabFocusTest, AfterAZoomScaleOrFullScreenByTheMouseTheKeysGoToThePlayerPanel)
{
    using Way = std::function<void(ClickedWindow &)>;
    const auto scale = [](int index) { return [index](ClickedWindow &w) { w.clickScale(index); }; };
    const auto fullScreenByTheButton = [](ClickedWindow &w) {
        w.click(w.control("fullscrn"));
        ASSERT_TRUE(w.waitForFullScreen(true));
    };
    const auto byF11From = [](QWidget *(*focus)(ClickedWindow &)) {
        return [focus](ClickedWindow &w) {
            focus(w)->setFocus(Qt::TabFocusReason);
            TabbedWindow::press(w.window.get(), Qt::Key_F11);
            ASSERT_TRUE(w.waitForFullScreen(true));
        };
    };
    const std::pair<const char *, Way> ways[] = {
        {"x2 by the mouse", scale(1)},
        {"x3 by the mouse", scale(2)},
        {"x5 by the mouse", scale(4)},
        {"x1 by the mouse", scale(0)},
        {"the menu closed by a click on the list beside it",
         [](ClickedWindow &w) {
             w.click(w.control("zoom"));
             QTableView *table = w.window->videoListView()->listTable();
             w.click(table->viewport(), table->visualRect(table->model()->index(1, 0)).center());
         }},
        {"the menu closed by Escape",
         [](ClickedWindow &w) {
             w.click(w.control("zoom"));
             TabbedWindow::press(w.window.get(), Qt::Key_Escape);
         }},
        {"the menu closed by a new item",
         [](ClickedWindow &w) {
             w.click(w.control("zoom"));
             w.window->itemPlayback().playTripItem(1, 0, false, true);
             QCoreApplication::processEvents();
         }},
        {"full screen by its button", fullScreenByTheButton},
        {"full screen by its button, left by Escape",
         [&](ClickedWindow &w) {
             fullScreenByTheButton(w);
             TabbedWindow::press(w.window.get(), Qt::Key_Escape);
             ASSERT_TRUE(w.waitForFullScreen(false));
         }},
        {"full screen by its button, left by a click on the picture",
         [&](ClickedWindow &w) {
             fullScreenByTheButton(w);
             w.click(w.player()->playerView());
             ASSERT_TRUE(w.waitForFullScreen(false));
         }},
        {"full screen by F11 from the zoom button",
         byF11From([](ClickedWindow &w) { return w.control("zoom"); })},
        {"full screen by F11 from the list",
         byF11From([](ClickedWindow &w) -> QWidget * { return w.window->videoListView()->listTable(); })},
    };
    for (const auto &[way, act] : ways) {
        SCOPED_TRACE(way);
        ClickedWindow w;
        w.click(w.control("pause"));
        ASSERT_EQ(w.player()->currentStatus(), CommonConst::PlayStatus::Pause);
        act(w);
        EXPECT_FALSE(w.player()->controls()->zoom()->isShown());
        EXPECT_EQ(QApplication::focusWidget(), w.player()) << "the focus is on " << focusName();
        const AroundThePanel before = w.around();
        for (const Qt::Key key : {Qt::Key_Space, Qt::Key_Tab}) {
            TabbedWindow::press(w.window.get(), key);
            EXPECT_EQ(w.around(), before) << "after " << QKeySequence(key).toString().toStdString();
        }
        const QWidget *focus = QApplication::focusWidget();
        EXPECT_TRUE(focus && w.player()->isAncestorOf(focus) && focus->isVisible())
            << "Tab put the focus on " << focusName();
    }
}

// Where the program itself hides or disables the control that has the focus, the keys go to the player
// panel: Space presses no button the user did not pick, Tab stays in the panel's order.
TEST(TabFocusTest, AControlTheProgramHidesOrDisablesHandsTheKeysToThePlayerPanel)
{
    using Way = std::function<void(ClickedWindow &)>;
    // Playing paused around the map's change, and resumed.
    const auto clickOnTheMap = [](bool windowButton) {
        return [windowButton](ClickedWindow &w) {
            w.clickPlay();
            MapTitleView *title = w.window->panels()->mapTitleView();
            w.click(windowButton ? title->mapWindowButton() : title->mapHideButton());
            if (windowButton)
                ASSERT_NE(w.mapWindow(), w.window.get());
        };
    };
    const std::pair<const char *, Way> ways[] = {
        {"Pause hidden at the trip's end", [](ClickedWindow &w) { w.playToTheEnd(false); }},
        {"Pause hidden at the trip's end while another window is active",
         [](ClickedWindow &w) { w.playToTheEnd(true); }},
        {"a pause by Ctrl+O, its window ended",
         [](ClickedWindow &w) {
             w.clickPlay();
             TabbedWindow::press(w.window.get(), Qt::Key_O, Qt::ControlModifier);
             ASSERT_FALSE(w.runs.empty());
             ASSERT_EQ(w.runs.back().first, ModalWindow::Type::OpenForm);
         }},
        {"a pause by a click on the map's Hide", clickOnTheMap(false)},
        {"a pause by a click on the map's Window", clickOnTheMap(true)},
        {"frame-forward by Space to the last picture",
         [](ClickedWindow &w) { w.stepByKeyboard("komaGo", w.player()->trackCell()->maxValue() - 100); }},
        {"frame-back by Space to the first picture",
         [](ClickedWindow &w) { w.stepByKeyboard("komaBack", w.player()->trackCell()->minValue() + 100); }},
    };
    for (const auto &[way, act] : ways) {
        SCOPED_TRACE(way);
        ClickedWindow w;
        act(w);
        // The main window's focus: where its keys go, also while the detached map's window is active.
        EXPECT_EQ(w.window->focusWidget(), w.player())
            << "the focus is on " << focusName(w.window->focusWidget());
        const AroundThePanel before = w.around();
        for (const Qt::Key key : {Qt::Key_Space, Qt::Key_Tab}) {
            TabbedWindow::press(w.window.get(), key);
            EXPECT_EQ(w.around(), before) << "after " << QKeySequence(key).toString().toStdString();
        }
        const QWidget *focus = w.window->focusWidget();
        EXPECT_TRUE(focus && w.player()->isAncestorOf(focus) && focus->isVisible())
            << "Tab put the focus on " << focusName(focus);
    }
}

// The hand-overs the controls make on purpose still hold: Space on Play gives the focus to Pause and back,
// and the brightness and volume buttons keep it when clicked.
TEST(TabFocusTest, PlayAndPauseHandTheFocusToEachOtherAndTheSoundButtonsKeepIt)
{
    ClickedWindow w;
    w.player()->pauseMovie();
    w.control("play")->setFocus(Qt::TabFocusReason);
    const char *const handOvers[][2] = {{"play", "pause"}, {"pause", "play"}, {"play", "pause"}};
    for (const auto &[from, to] : handOvers) {
        ASSERT_EQ(QApplication::focusWidget(), w.control(from)) << "the focus is on " << focusName();
        TabbedWindow::press(w.window.get(), Qt::Key_Space);
        EXPECT_EQ(QApplication::focusWidget(), w.control(to))
            << "Space on " << from << " left the focus on " << focusName();
    }
    for (const char *name : {"bright", "volumeButton"}) {
        w.click(w.control(name));
        EXPECT_EQ(QApplication::focusWidget(), w.control(name)) << "the focus is on " << focusName();
    }
}

// The map's own window opens with no button focused: its first Space leaves it open, and neither Space nor
// Tab changes the player or the list.
TEST(TabFocusTest, TheDetachedMapOpensWithNoButtonFocused)
{
    ClickedWindow w;
    w.click(w.control("pause"));
    w.click(w.window->panels()->mapTitleView()->mapWindowButton());
    QWidget *mapWindow = w.mapWindow();
    ASSERT_NE(mapWindow, w.window.get());
    ASSERT_TRUE(ClickedWindow::activate(mapWindow));
    EXPECT_FALSE(qobject_cast<QAbstractButton *>(QApplication::focusWidget()))
        << "the focus is on " << focusName();
    const AroundThePanel before = w.around();
    for (const Qt::Key key : {Qt::Key_Space, Qt::Key_Tab}) {
        TabbedWindow::press(mapWindow, key);
        const auto now = QKeySequence(key).toString().toStdString();
        ASSERT_EQ(w.mapWindow(), mapWindow) << "closed by " << now;
        EXPECT_EQ(w.around(), before) << "after " << now;
    }
}

// The window taking the keys before the user has picked a control, at its start and back from another
// window, gives them to the player panel: the toolkit would give them to the first control, Open, and the
// first Space would bring up the Open From window.
TEST(TabFocusTest, TheWindowTakingTheKeysWithNoControlPickedGivesThemToThePlayerPanel)
{
    Fixture f(false, {}, true);
    f.startUpUntilShown();
    MoviePlayerView *player = f.window->panels()->moviePlayerView();
    QWidget other;
    other.show();
    const std::pair<const char *, QWidget *> activations[] = {
        {"at the start", f.window.get()}, {"another window", &other}, {"back from it", f.window.get()}};
    for (const auto &[name, active] : activations) {
        SCOPED_TRACE(name);
        ASSERT_TRUE(ClickedWindow::activate(active));
        EXPECT_EQ(f.window->focusWidget(), player)
            << "the focus is on " << focusName(f.window->focusWidget());
    }
    TabbedWindow::press(f.window.get(), Qt::Key_Space);
    EXPECT_TRUE(f.runs.empty()) << "Space brought up a window: " << f.runs.front().second.toStdString();
    // Tab starts the walk through the controls.
    TabbedWindow::press(f.window.get(), Qt::Key_Tab);
    const QWidget *focus = QApplication::focusWidget();
    EXPECT_TRUE(focus && player->isAncestorOf(focus)) << "Tab put the focus on " << focusName(focus);
}
