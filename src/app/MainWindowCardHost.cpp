#include "app/MainWindowCardHost.h"

#include "app/ListMarkers.h"

#include "app/CardOpener.h"
#include "app/MainWindow.h"
#include "app/MainWindowLayout.h"
#include "app/StopWatchCoordinator.h"
#include "app/VideoListView.h"
#include "app/WindowCoordinators.h"
#include "card/CardData.h"
#include "maintenance/MessagePrompter.h"
#include "map/MapView.h"
#include "map/WebMapView.h"
#include "player/MoviePlayerView.h"
#include "recording/UserDefaultUtil.h"

#include <utility>

MainWindowCardHost::MainWindowCardHost(MainWindow &window) : _window(window) {}

void MainWindowCardHost::openVideoData(const QUrl &url, bool autoPlay, MovieType type)
{
    _window.cardOpener()->openVideoData(url, autoPlay, type);
}

bool MainWindowCardHost::confirmStopWatchReset()
{
    WindowCoordinators *coordinators = _window.coordinators();
    return !coordinators || coordinators->stopWatch().confirmStopWatchReset();
}

void MainWindowCardHost::keepMapState()
{
    WebMapView *bridge = _window.mapView()->mapWebView();
    bool ok = false;
    const int zoom = bridge->getZoom().toInt(&ok, 10);
    if (!ok || !_window.isMapZoomAndCenter())
        return;
    UserDefaultUtil &settings = _window.settings();
    settings.mapZoom = zoom;
    settings.setValue(QString::fromLatin1(UserDefaultUtil::KEY_MAP_ZOOM), zoom);
    settings.mapDispBaloon = bridge->getDispBalloon();
    settings.setValue(QString::fromLatin1(UserDefaultUtil::KEY_MAP_DISP_BALOON), settings.mapDispBaloon);
    _window.setMapZoomAndCenter(false);
}

void MainWindowCardHost::resetDisplay()
{
    _window.resetDisplay();
}

std::shared_ptr<CardData> MainWindowCardHost::cardData()
{
    return _window.cardData();
}

void MainWindowCardHost::setLoading(bool loading)
{
    _window.setLoading(loading);
}

void MainWindowCardHost::setAutoPlay(bool autoPlay)
{
    MoviePlayerView *player = _window.panels()->moviePlayerView();
    const bool wished = player->autoPlay();
    player->setAutoPlay(autoPlay);
    if (!wished && autoPlay)
        player->playMovie();
}

void MainWindowCardHost::setLoadingTextVisible(bool visible)
{
    MoviePlayerView *player = _window.panels()->moviePlayerView();
    const bool autoPlay = player->autoPlay();
    player->clearMovie(visible);
    player->setAutoPlay(autoPlay);
    player->update();
}

void MainWindowCardHost::prepareEngines()
{
    _window.panels()->moviePlayerView()->makeEnginesAhead();
}

void MainWindowCardHost::holdPlayback(bool held)
{
    MoviePlayerView *player = _window.panels()->moviePlayerView();
    if (held) {
        // An item still opening would start when its file is ready: that wish is taken back too.
        _resumeAfterHold = player->autoPlay() || player->currentStatus() == CommonConst::PlayStatus::Play;
        player->setAutoPlay(false);
        player->pauseMovie();
    } else if (std::exchange(_resumeAfterHold, false)) {
        player->playMovie();
    }
}

void MainWindowCardHost::warn(const QString &text, const QString &cause)
{
    _window.setChildWindowsTopMost(false);
    _window.prompter().warn(&_window, text, cause);
    _window.setChildWindowsTopMost(true);
}

void MainWindowCardHost::startLoadWorkers(CardData &card)
{
    card.startLoadWorkers();
}

void MainWindowCardHost::holdItemChanges(bool held)
{
    // The guard an item change in progress sets: the list, the map and the player's buttons ask first.
    _window.videoListView()->model()->isSelectRowChanging = held;
}

void MainWindowCardHost::showCard(CardData &card)
{
    VideoListView *list = _window.videoListView();
    list->model()->setDateStyle(VideoListModel::DateStyle::from(_window.settings()));
    list->setListData(card);
    _window.mapView()->mapWebView()->runScript(QStringLiteral("clearZoomAndCenter()"));
    _window.updateFrameDisplay(false);
}

void MainWindowCardHost::markCard(CardData &)
{
    // In the order events, surveillance, trips.
    ListMarkers &markers = _window.listMarkers();
    markers.setEventMapMarkers();
    markers.setSurveillanceMapMarkers();
    markers.setTripMapMarkers();
}

bool MainWindowCardHost::playFirstItem(const ChapterList &found)
{
    return _window.playFirstItem(found);
}

void MainWindowCardHost::disableSave()
{
    _window.setBackupFlg(false);
}

void MainWindowCardHost::clearPlayer()
{
    _window.panels()->moviePlayerView()->clearMovie(false);
    _window.videoListView()->model()->isSelectRowChanging = false;
}

void MainWindowCardHost::closeStopWatch()
{
    if (WindowCoordinators *coordinators = _window.coordinators())
        coordinators->stopWatch().closeStopWatch();
}

void MainWindowCardHost::updateWindowTitle()
{
    _window.updateWindowTitle();
}

QStringList MainWindowCardHost::loadProblems(CardData &card)
{
    return problems ? problems(card, false) : QStringList();
}

QStringList MainWindowCardHost::keptProblems(CardData &card)
{
    return problems ? problems(card, true) : QStringList();
}
