#include "app/MainWindowItemHooks.h"

#include "app/MainWindow.h"
#include "app/MainWindowLayout.h"
#include "app/StopWatchCoordinator.h"
#include "app/VideoListView.h"
#include "app/WindowCoordinators.h"
#include "maintenance/MessagePrompter.h"
#include "map/MapView.h"
#include "player/MoviePlayerView.h"
#include "player/PlayerControls.h"
#include "player/ZoomMenuControl.h"

#include <QPointer>

namespace {
// Runs task later on the main thread, if the window still exists then.
void post(const QPointer<MainWindow> &window, std::function<void()> task)
{
    QMetaObject::invokeMethod(
        window,
        [window, task = std::move(task)] {
            if (window)
                task();
        },
        Qt::QueuedConnection);
}
} // namespace

ItemPlayback::Hooks MainWindowItemHooks::itemPlayback(MainWindow &window)
{
    MainWindow *w = &window;
    MoviePlayerView *player = window.panels()->moviePlayerView();
    ItemPlayback::Hooks hooks;
    hooks.confirmStopWatchReset = [w] {
        return !w->coordinators() || w->coordinators()->stopWatch().confirmStopWatchReset();
    };
    hooks.stopMeasurement = [w] {
        if (w->coordinators())
            w->coordinators()->stopWatch().stopMeasurement();
    };
    hooks.neighbours = [player](bool previous, bool next) { player->setPrevNextTrip(previous, next); };
    hooks.showFileNotFound = [w] { w->showFileNotFound(); };
    hooks.warn = [w](const QString &text) {
        w->setChildWindowsTopMost(false);
        w->prompter().warn(w, text);
        w->setChildWindowsTopMost(true);
    };
    hooks.updateWindowTitle = [w] { w->updateWindowTitle(); };
    hooks.loading = [w]() -> bool & { return w->_isLoading; };
    hooks.leaveTrimMode = [player] { player->setTrimMode(false); };
    hooks.resetZoom = [player] { player->controls()->zoom()->resetZoom(); };
    hooks.redisplayMap = [self = QPointer<MainWindow>(w)] {
        post(self, [self] { self->mapView()->update(); });
    };
    return hooks;
}

ListMarkers::Hooks MainWindowItemHooks::listMarkers(MainWindow &window)
{
    MainWindow *w = &window;
    ListMarkers::Hooks hooks;
    hooks.post = [self = QPointer<MainWindow>(w)](std::function<void()> task) {
        post(self, std::move(task));
    };
    hooks.centred = [w]() -> bool & { return w->_isMapZoomAndCenter; };
    hooks.selectRow = [w](CommonConst::ListType type, int row, bool switchTab) {
        return w->videoListView()->selectRow(row, type, switchTab);
    };
    hooks.selectListItem = [w](CommonConst::ListType type, int row, int chapter, bool switchTab) {
        w->itemPlayback().selectListItem(type, row, chapter, switchTab);
    };
    hooks.playEventItem = [w](int index, bool switchTab) {
        return w->itemPlayback().playEventItem(index, switchTab);
    };
    hooks.playSurveillanceItem = [w](int index, bool switchTab) {
        return w->itemPlayback().playSurveillanceItem(index, switchTab);
    };
    return hooks;
}
