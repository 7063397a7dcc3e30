// The whole program from exec to its main window on the screen: the time a person waits after starting
// orvalind. Needs an X display (scripts/bench gives it a virtual one); every start has a fresh settings
// folder that is past the first launch.
#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>
#include <xcb/xcb.h>

#include <cstdlib>
#include <cstring>
#include <memory>

namespace {

// The first top-level window mapped with the title "Orvalind"; false when the display goes away.
bool waitForMainWindow(xcb_connection_t *connection)
{
    while (xcb_generic_event_t *event = xcb_wait_for_event(connection)) {
        const std::unique_ptr<xcb_generic_event_t, decltype(&std::free)> owned(event, &std::free);
        if ((event->response_type & 0x7f) != XCB_MAP_NOTIFY)
            continue;
        const auto *map = reinterpret_cast<xcb_map_notify_event_t *>(event);
        const xcb_get_property_cookie_t cookie =
            xcb_get_property(connection, 0, map->window, XCB_ATOM_WM_NAME, XCB_GET_PROPERTY_TYPE_ANY, 0, 64);
        std::unique_ptr<xcb_get_property_reply_t, decltype(&std::free)> reply(
            xcb_get_property_reply(connection, cookie, nullptr), &std::free);
        if (reply && xcb_get_property_value_length(reply.get()) == 8 &&
            std::memcmp(xcb_get_property_value(reply.get()), "Orvalind", 8) == 0)
            return true;
    }
    return false;
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
        const bool shown = viewer.waitForStarted() && waitForMainWindow(connection);
        state.SetIterationTime(clock.nsecsElapsed() / 1e9);
        viewer.terminate();
        viewer.waitForFinished();
        if (!shown) {
            state.SkipWithError("orvalind did not show its window");
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
