// The whole program from exec to its main window on the screen: the time a person waits after starting
// orvalind. Needs an X display, with or without a window manager (scripts/bench gives it a virtual one
// when there is none); every start has a fresh settings folder that is past the first launch.
#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>
#include <xcb/xcb.h>

#include <poll.h>

#include <cstdlib>
#include <cstring>
#include <memory>

namespace {

constexpr int SHOW_LIMIT_MS = 60000;

// A window's property as a reply (null when the window went away).
std::unique_ptr<xcb_get_property_reply_t, decltype(&std::free)> property(xcb_connection_t *connection,
                                                                         xcb_window_t window, xcb_atom_t name)
{
    return {xcb_get_property_reply(
                connection, xcb_get_property(connection, 0, window, name, XCB_GET_PROPERTY_TYPE_ANY, 0, 64),
                nullptr),
            &std::free};
}

// Whether a viewable window named "Orvalind" of the process pid is at or below window, as the window
// tests' xdotool search --onlyvisible --name finds it: directly on the root without a window manager,
// inside the manager's frame with one (openbox reparents it). Only viewable windows are searched below.
bool namedWindowShownBelow(xcb_connection_t *connection, xcb_window_t window, xcb_atom_t pidAtom,
                           uint32_t pid)
{
    const std::unique_ptr<xcb_query_tree_reply_t, decltype(&std::free)> tree(
        xcb_query_tree_reply(connection, xcb_query_tree(connection, window), nullptr), &std::free);
    if (!tree)
        return false;
    const xcb_window_t *children = xcb_query_tree_children(tree.get());
    for (int i = 0; i < xcb_query_tree_children_length(tree.get()); ++i) {
        const std::unique_ptr<xcb_get_window_attributes_reply_t, decltype(&std::free)> attributes(
            xcb_get_window_attributes_reply(connection, xcb_get_window_attributes(connection, children[i]),
                                            nullptr),
            &std::free);
        if (!attributes || attributes->map_state != XCB_MAP_STATE_VIEWABLE)
            continue;
        const auto name = property(connection, children[i], XCB_ATOM_WM_NAME);
        if (name && xcb_get_property_value_length(name.get()) == 8 &&
            std::memcmp(xcb_get_property_value(name.get()), "Orvalind", 8) == 0) {
            // Another copy's window (one left on the display) is not this start's.
            const auto owner = property(connection, children[i], pidAtom);
            if (owner && xcb_get_property_value_length(owner.get()) == 4 &&
                *static_cast<const uint32_t *>(xcb_get_property_value(owner.get())) == pid)
                return true;
        }
        if (namedWindowShownBelow(connection, children[i], pidAtom, pid))
            return true;
    }
    return false;
}

enum class Shown
{
    Yes,
    Ended,
    TimedOut,
    DisplayLost
};

// Looks again whenever a window below the root is mapped, created or moved (the root's substructure
// events: the program's window without a window manager, the frame with one), and every 20 ms besides;
// gives up after SHOW_LIMIT_MS or when the program ends.
Shown waitForMainWindow(xcb_connection_t *connection, QProcess &viewer)
{
    QElapsedTimer clock;
    clock.start();
    const int fd = xcb_get_file_descriptor(connection);
    const std::unique_ptr<xcb_intern_atom_reply_t, decltype(&std::free)> pidAtom(
        xcb_intern_atom_reply(connection, xcb_intern_atom(connection, 0, 11, "_NET_WM_PID"), nullptr),
        &std::free);
    if (!pidAtom)
        return Shown::DisplayLost;
    const auto pid = uint32_t(viewer.processId());
    while (true) {
        while (xcb_generic_event_t *event = xcb_poll_for_event(connection))
            std::free(event);
        if (xcb_connection_has_error(connection))
            return Shown::DisplayLost;
        if (namedWindowShownBelow(connection, xcb_setup_roots_iterator(xcb_get_setup(connection)).data->root,
                                  pidAtom->atom, pid))
            return Shown::Yes;
        if (viewer.waitForFinished(0))
            return Shown::Ended;
        if (clock.elapsed() > SHOW_LIMIT_MS)
            return Shown::TimedOut;
        if (xcb_generic_event_t *queued = xcb_poll_for_queued_event(connection)) {
            std::free(queued);
            continue;
        }
        pollfd wake{fd, POLLIN, 0};
        ::poll(&wake, 1, 20);
    }
}

void BM_StartToShownWindow(benchmark::State &state)
{
    xcb_connection_t *connection = xcb_connect(nullptr, nullptr);
    if (xcb_connection_has_error(connection)) {
        state.SkipWithError("no X display (run under xvfb-run)");
        xcb_disconnect(connection);
        return;
    }
    xcb_screen_t *screen = xcb_setup_roots_iterator(xcb_get_setup(connection)).data;
    const uint32_t mask = XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY;
    xcb_change_window_attributes(connection, screen->root, XCB_CW_EVENT_MASK, &mask);
    xcb_flush(connection);

    for (auto _ : state) {
        QTemporaryDir settings;
        QDir(settings.path()).mkpath(QStringLiteral("config/Orvalind"));
        QFile ini(settings.filePath(QStringLiteral("config/Orvalind/Orvalind.ini")));
        ini.open(QIODevice::WriteOnly);
        ini.write("[General]\nTQ-MW58_ViewerFirstLaunch=true\n");
        ini.close();
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QStringLiteral("XDG_CONFIG_HOME"), settings.filePath(QStringLiteral("config")));
        environment.insert(QStringLiteral("XDG_DATA_HOME"), settings.filePath(QStringLiteral("data")));
        environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("xcb"));
        QProcess viewer;
        viewer.setProcessEnvironment(environment);
        viewer.setProcessChannelMode(QProcess::ForwardedErrorChannel);

        QElapsedTimer clock;
        clock.start();
        viewer.start(QStringLiteral(ORV_BINARY_DIR "/orvalind"), {});
        const Shown shown = viewer.waitForStarted() ? waitForMainWindow(connection, viewer) : Shown::Ended;
        state.SetIterationTime(clock.nsecsElapsed() / 1e9);
        viewer.terminate();
        if (!viewer.waitForFinished(10000))
            viewer.kill();
        viewer.waitForFinished();
        if (shown != Shown::Yes) {
            state.SkipWithError(shown == Shown::Ended         ? "orvalind ended before its window showed"
                                : shown == Shown::DisplayLost ? "the X display went away"
                                                              : "no window named Orvalind shown within 60 s");
            break;
        }
    }
    xcb_disconnect(connection);
}
BENCHMARK(BM_StartToShownWindow)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(5);

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    if (qEnvironmentVariableIsEmpty("QTWEBENGINE_CHROMIUM_FLAGS"))
        qputenv("QTWEBENGINE_CHROMIUM_FLAGS", "--no-sandbox");
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
