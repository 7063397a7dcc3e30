// The child windows as a window manager minimises and restores the main window: the main window comes back
// with the child windows it hid, and all of them stay on the screen. The real window manager's case runs
// under openbox (on-screen-xvfb.sh --window-manager) and is skipped on the offscreen platform.
#include "app/ChildWindows.h"
#include "app/ItemPlayback.h"
#include "app/MainWindowLayout.h"
#include "app/StopWatchWindow.h"
#include "app/WindowCoordinators.h"
#include "map/MapTitleView.h"
#include "map/MapView.h"
#include "player/MoviePlayerView.h"
#include "player/PlayerControls.h"
#include "support/EventLoop.h"

#include "AppFakes.h"
#include "MainWindowFixture.h"

#include <QAbstractButton>
#include <QApplication>
#include <QProcess>
#include <QToolButton>
#include <QWindow>
#include <gtest/gtest.h>
#include <xcb/xcb.h>

#include <algorithm>
#include <chrono>
#include <map>
#include <memory>
#include <string>
#include <vector>

namespace {
using namespace std::chrono_literals;

// The window's X window: the one its native window has now (a change of window flags makes a new one,
// which the widget's own winId does not always follow).
xcb_window_t xWindowOf(const QWidget *window)
{
    return window->windowHandle() ? xcb_window_t(window->windowHandle()->winId()) : XCB_NONE;
}

// A window as the window manager has it (its ICCCM WM_STATE) and whether it is on the screen.
struct XState
{
    uint32_t wm = 0; // WM_STATE: 0 withdrawn, 1 normal, 3 iconic
    bool viewable = false;

    bool shown() const { return wm == 1 && viewable; }
    bool minimised() const { return wm == 3; }
};

std::string wmStateName(uint32_t state)
{
    return state == 1 ? "Normal" : state == 3 ? "Iconic" : "Withdrawn";
}

std::string describe(const XState &state)
{
    return wmStateName(state.wm) + (state.viewable ? " viewable" : " unmapped");
}

// Reads the windows' states on a connection of its own, apart from the program's, and records for the
// windows it watches every map, unmap and change of WM_STATE, in order.
class XWatch
{
public:
    XWatch() : _connection(xcb_connect(nullptr, nullptr))
    {
        if (xcb_connection_has_error(_connection))
            return;
        const char name[] = "WM_STATE";
        xcb_intern_atom_reply_t *atom = xcb_intern_atom_reply(
            _connection, xcb_intern_atom(_connection, 0, sizeof name - 1, name), nullptr);
        if (atom)
            _wmState = atom->atom;
        free(atom);
    }
    ~XWatch() { xcb_disconnect(_connection); }
    XWatch(const XWatch &) = delete;
    XWatch &operator=(const XWatch &) = delete;

    bool ok() const { return !xcb_connection_has_error(_connection) && _wmState != XCB_NONE; }

    XState of(const QWidget *window) const { return of(xWindowOf(window)); }

    // Records what happens to the window from now on, apart from what was recorded before.
    void watch(const QWidget *window)
    {
        const xcb_window_t id = xWindowOf(window);
        const uint32_t mask = XCB_EVENT_MASK_STRUCTURE_NOTIFY | XCB_EVENT_MASK_PROPERTY_CHANGE;
        xcb_change_window_attributes(_connection, id, XCB_CW_EVENT_MASK, &mask);
        xcb_flush(_connection);
        take();
        _trails[id].clear();
    }
    // What happened to the window since it was watched: "map", "unmap" and the WM_STATE set.
    std::vector<std::string> trail(const QWidget *window)
    {
        take();
        return _trails[xWindowOf(window)];
    }

private:
    XState of(xcb_window_t id) const
    {
        XState state;
        xcb_get_window_attributes_reply_t *attributes =
            xcb_get_window_attributes_reply(_connection, xcb_get_window_attributes(_connection, id), nullptr);
        state.viewable = attributes && attributes->map_state == XCB_MAP_STATE_VIEWABLE;
        free(attributes);
        xcb_get_property_reply_t *property = xcb_get_property_reply(
            _connection, xcb_get_property(_connection, 0, id, _wmState, _wmState, 0, 2), nullptr);
        if (property && xcb_get_property_value_length(property) >= 4)
            state.wm = *static_cast<const uint32_t *>(xcb_get_property_value(property));
        free(property);
        return state;
    }
    // The events that arrived; the sent ones (an ICCCM withdrawal's copy) do not change the window.
    void take()
    {
        while (xcb_generic_event_t *event = xcb_poll_for_event(_connection)) {
            switch (event->response_type) {
            case XCB_MAP_NOTIFY:
                _trails[reinterpret_cast<xcb_map_notify_event_t *>(event)->window].push_back("map");
                break;
            case XCB_UNMAP_NOTIFY:
                _trails[reinterpret_cast<xcb_unmap_notify_event_t *>(event)->window].push_back("unmap");
                break;
            case XCB_PROPERTY_NOTIFY:
                if (const auto *change = reinterpret_cast<xcb_property_notify_event_t *>(event);
                    change->atom == _wmState) {
                    _trails[change->window].push_back(change->state == XCB_PROPERTY_DELETE
                                                          ? "Withdrawn"
                                                          : wmStateName(of(change->window).wm));
                }
                break;
            default:
                break;
            }
            free(event);
        }
    }

    xcb_connection_t *_connection;
    xcb_atom_t _wmState = XCB_NONE;
    std::map<xcb_window_t, std::vector<std::string>> _trails;
};

std::string joined(const std::vector<std::string> &trail)
{
    std::string out;
    for (const std::string &step : trail)
        out += (out.empty() ? "" : ", ") + step;
    return out.empty() ? "nothing" : out;
}

// Runs xdotool with the arguments while the program goes on; true when it succeeded.
bool xdotool(const QStringList &args)
{
    QProcess tool;
    tool.start(QStringLiteral("xdotool"), args);
    return tool.waitForStarted() &&
           EventLoop::waitUntil([&] { return tool.state() == QProcess::NotRunning; }, 30s) &&
           tool.exitStatus() == QProcess::NormalExit && tool.exitCode() == 0;
}

QString idOf(const QWidget *window)
{
    return QString::number(xWindowOf(window));
}

// The sample card open and its first trip paused in the main window, on the screen.
struct ShownWindow : Fixture
{
    ShownWindow() : Fixture(false, {}, true)
    {
        EXPECT_TRUE(showAndOpenBackup(writtenSampleCard()));
        window->itemPlayback().playTripItem(0, 0, false, true);
        for (FakeMediaEngine *engine : engines)
            engine->becomeReady();
        player()->pauseMovie();
        QCoreApplication::processEvents();
    }
    MoviePlayerView *player() const { return window->panels()->moviePlayerView(); }
    // Opened as the user opens them: the player's stopwatch button, the map title bar's Window button.
    QWidget *openStopWatch()
    {
        qobject_cast<QAbstractButton *>(player()->controls()->control(QStringLiteral("stopwatch")))->click();
        return window->coordinators()->stopWatchWindow().window();
    }
    QWidget *detachMap()
    {
        window->panels()->mapTitleView()->mapWindowButton()->click();
        return window->mapView()->window();
    }
};
} // namespace

TEST(ChildWindowsOnScreenTest, ARestoreShowsTheMainWindowThenTheChildWindowsItHidOnceAndTheyStay)
{
    if (QApplication::platformName() != QLatin1String("xcb"))
        GTEST_SKIP() << "needs an X server with a window manager (on-screen-xvfb.sh --window-manager)";
    XWatch x;
    ASSERT_TRUE(x.ok()) << "no connection to the X server";

    struct Row
    {
        const char *name;
        bool stopWatch, map;
    };
    const Row rows[] = {
        {"the stopwatch", true, false}, {"the detached map", false, true}, {"both", true, true}};
    for (const Row &row : rows) {
        SCOPED_TRACE(row.name);
        ShownWindow w;
        QWidget *main = w.window.get();
        std::vector<QWidget *> children;
        if (row.stopWatch)
            children.push_back(w.openStopWatch());
        if (row.map)
            children.push_back(w.detachMap());
        ASSERT_NE(children.back(), main);
        for (QWidget *child : children)
            ASSERT_TRUE(child->isVisible()) << child->metaObject()->className();
        auto allShown = [&] {
            bool shown = x.of(main).shown();
            for (QWidget *child : children)
                shown = shown && x.of(child).shown();
            return shown;
        };
        auto now = [&] {
            std::string out = "main " + describe(x.of(main));
            for (QWidget *child : children)
                out += ", child " + describe(x.of(child));
            return out;
        };
        ASSERT_TRUE(EventLoop::waitUntil(allShown, 30s))
            << "the windows were never all on the screen: " << now();

        ASSERT_TRUE(xdotool({QStringLiteral("windowminimize"), idOf(main)}));
        ASSERT_TRUE(EventLoop::waitUntil(
            [&] {
                bool hidden = x.of(main).minimised();
                for (QWidget *child : children)
                    hidden = hidden && !x.of(child).viewable;
                return hidden;
            },
            30s))
            << "minimising did not take the main window and its child windows off the screen";
        // The program has handled the minimise as well (it hides the child windows itself), and what it
        // does on losing the activation has run: the restore is watched from a settled state.
        ASSERT_TRUE(EventLoop::waitUntil(
            [&] {
                return std::none_of(children.begin(), children.end(),
                                    [](const QWidget *child) { return child->isVisible(); });
            },
            30s))
            << "the program never hid its child windows with the minimised main window";
        EventLoop::runFor(1s);

        // Restored as a task bar or the window list does it; from then on every map and unmap counts.
        x.watch(main);
        for (QWidget *child : children)
            x.watch(child);
        ASSERT_TRUE(xdotool({QStringLiteral("windowactivate"), idOf(main)}));
        EventLoop::waitUntil(allShown, 10s);
        // Settled: nothing takes them off the screen again.
        EventLoop::runFor(2s);

        const std::vector<std::string> mainTrail = x.trail(main);
        EXPECT_TRUE(x.of(main).shown()) << describe(x.of(main)) << " after " << joined(mainTrail);
        EXPECT_FALSE(main->isMinimized());
        EXPECT_EQ(std::count(mainTrail.begin(), mainTrail.end(), "map"), 1) << joined(mainTrail);
        EXPECT_EQ(std::count(mainTrail.begin(), mainTrail.end(), "unmap"), 0) << joined(mainTrail);
        for (QWidget *child : children) {
            SCOPED_TRACE(child->metaObject()->className());
            const std::vector<std::string> trail = x.trail(child);
            EXPECT_TRUE(x.of(child).shown()) << describe(x.of(child)) << " after " << joined(trail);
            EXPECT_TRUE(child->isVisible());
            EXPECT_FALSE(child->isMinimized());
            EXPECT_EQ(std::count(trail.begin(), trail.end(), "map"), 1) << joined(trail);
            EXPECT_EQ(std::count(trail.begin(), trail.end(), "unmap"), 0) << joined(trail);
        }
    }
}

TEST(ChildWindowsTest, AWindowMinimisedAlongWithTheMainWindowComesBackNotMinimised)
{
    QWidget stopwatch, map;
    ChildWindows children;
    children.add(&stopwatch);
    children.add(&map);
    stopwatch.show();
    map.show();
    // The window manager minimises the main window's tool window with it; the detached map stays as it is.
    stopwatch.setWindowState(Qt::WindowMinimized);
    map.setWindowState(Qt::WindowMaximized);
    children.mainWindowMinimised();
    children.mainWindowRestored();
    EXPECT_TRUE(stopwatch.isVisible());
    EXPECT_FALSE(stopwatch.isMinimized()) << "shown minimised, it takes the main window down again";
    EXPECT_TRUE(map.isVisible());
    EXPECT_TRUE(map.isMaximized()) << "only the minimised state goes";
}
