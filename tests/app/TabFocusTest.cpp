// Tab and Shift-Tab in the whole main window over the sample card, pressed as the keyboard presses them:
// the player and driving panel's ring, and the map page, which hands the focus back to the window.
#include "app/CardOpener.h"
#include "app/MainWindowLayout.h"
#include "app/WindowCoordinators.h"
#include "graph/DrivingInfoView.h"
#include "map/MapTitleView.h"
#include "map/MapView.h"
#include "map/MapWebPage.h"
#include "player/CustomSliderCellMin.h"
#include "player/MoviePlayerView.h"
#include "player/PlayerControls.h"

#include "AppFakes.h"
#include "MainWindowFixture.h"

#include <QApplication>
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
