#include "app/MainWindow.h"

#include "app/ApplicationQuit.h"
#include "app/BurstMerger.h"
#include "app/CardCallbacks.h"
#include "app/CardOpener.h"
#include "app/FormColors.h"
#include "app/ItemPlayback.h"
#include "app/ListMarkers.h"
#include "app/MainMenu.h"
#include "app/MainWindowCardHost.h"
#include "app/MainWindowItemHooks.h"
#include "app/MainWindowLayout.h"
#include "app/MainWindowPlayerHost.h"
#include "app/QuitConfirmation.h"
#include "app/RouteRedrawMerger.h"
#include "app/StandardModalRunner.h"
#include "app/StopWatchCoordinator.h"
#include "app/StopWatchWindow.h"
#include "app/StorageVolumeLister.h"
#include "app/TabFocusWrap.h"
#include "app/VideoListView.h"
#include "app/VideoTypeSelectDialog.h"
#include "app/ViewerDialogs.h"
#include "app/WindowComposition.h"
#include "app/WindowCoordinators.h"
#include "app/WindowStateFollower.h"
#include "app/WindowTitle.h"
#include "card/CardData.h"
#include "card/ChapterData.h"
#include "graph/DrivingInfoView.h"
#include "maintenance/MaintenanceMessageBoxes.h"
#include "maintenance/MessagePrompter.h"
#include "map/EmptyMapView.h"
#include "map/MapView.h"
#include "map/ReachabilityProbe.h"
#include "map/WebMapView.h"
#include "platform/BrowserLauncher.h"
#include "player/CustomSliderCell.h"
#include "player/MediaEngine.h"
#include "player/MoviePlayerView.h"
#include "player/MpvEngine.h"
#include "player/PlayMovieValueInfo.h"
#include "player/PlayerControls.h"
#include "player/TrackSlider.h"
#include "player/ZoomMenuControl.h"
#include "recording/CommonConst.h"
#include "recording/UserDefaultUtil.h"

#include <QAction>
#include <QApplication>
#include <QBoxLayout>
#include <QCloseEvent>
#include <QFileInfo>
#include <QMenuBar>
#include <QPointer>
#include <QToolButton>
#include <QWindowStateChangeEvent>

MainWindow::MainWindow(Services services, QWidget *parent)
    : QMainWindow(parent), _settings(services.settings), _prompter(services.prompter),
      _openUrl(std::move(services.openUrl)), _updateServer(std::move(services.updateServer)),
      _cardData(std::make_shared<CardData>()),
      _otherInstanceRunning(std::move(services.otherInstanceRunning)),
      _chooseDirectory(std::move(services.chooseDirectory))
{
    setObjectName(QStringLiteral("Main"));
    // Before the map's web view exists.
    WindowComposition::followRenderPath();
    if (!_openUrl) {
        _openUrl = [this](const QUrl &url) {
            if (!BrowserLauncher::open(url))
                _prompter.warn(this, tr("No web browser could be started to open %1.").arg(url.toString()));
        };
    }
    _modalRunner = services.modalRunner
                       ? services.modalRunner(*this)
                       : std::make_unique<StandardModalRunner>(
                             _settings, this, [this](bool topMost) { setChildWindowsTopMost(topMost); });
    _panels = new MainWindowLayout(createPlayerPanel(std::move(services.engines)), this);
    setCentralWidget(_panels);
    _windowState = std::make_unique<WindowStateFollower>(WindowStateFollower::Parts{
        *this, *_panels, [this] { return _menu ? _menu->action(MenuCommand::FullScreen) : nullptr; },
        [this](bool playing) { updateFrameDisplay(playing); }});
    _quit = std::make_unique<ApplicationQuit>(
        *this, childWindows(),
        QuitConfirmation(_settings, _prompter,
                         QuitConfirmation::Hooks{[this] { return isPlayerActive(); },
                                                 [this] { _panels->moviePlayerView()->pauseMovie(); },
                                                 [this] { return saveViewerState(); },
                                                 [this](bool topMost) { setChildWindowsTopMost(topMost); }}));
    _mapView = new MapView(WebMapView::settingsFrom(_settings), this);
    MapReachabilityWatcher::Probe probe = services.reachability;
    if (!probe) {
        probe = [this](std::function<void(bool)> done) {
            ReachabilityProbe::check(ReachabilityProbe::mapHostName(), this, std::move(done));
        };
    }
    _mapView->mapWebView()->setReachabilityCheck(probe);
    _reachability = new MapReachabilityWatcher(
        probe, [this] { return _mapView->loadMapPage(); }, this);
    setUpOpening();
    _dialogs = std::make_unique<ViewerDialogs>(
        ViewerDialogs::Parts{*this, *this, _settings, _prompter, *_modalRunner, [this] { pauseForCommand(); },
                             [this](bool topMost) { setChildWindowsTopMost(topMost); }, _openUrl,
                             [this]() -> DialogInUseLock & { return _coordinators->inUseLock(); }});
    resize(1280, 800);
    setMinimumSize(800, 520);
}

MainWindow::~MainWindow()
{
    _coordinators.reset();
    // A read still running is cancelled; the card it fills is released only once it has ended,
    // and one that does not end in a moment is left to it: Quit does not wait for a card.
    const bool idle = _cardOpener->shutDown();
    delete _cardOpener;
    _cardOpener = nullptr;
    if (idle)
        _cardData->dispose();
}

void MainWindow::setUpOpening()
{
    _videoListView = new VideoListView(_panels->videoListSlot());
    _panels->videoListSlot()->layout()->addWidget(_videoListView);
    // Each chapter the workers finish adds its piece of the route and may put its marker; a burst of
    // them is drawn at once.
    _mapBeat = new BurstBeat(this);
    _mapBeat->setAround(
        [map = QPointer<WebMapView>(_mapView->mapWebView())](const std::function<void()> &run) {
            if (!map) {
                run();
                return;
            }
            WebMapView::ScriptBatch batch(*map);
            run();
        });
    _routeRedraw =
        new RouteRedrawMerger([this] { return _cardCallbacks ? _cardCallbacks->routeTrip() : nullptr; },
                              [this](TripData &trip) { _mapView->mapWebView()->extendRoute(trip); },
                              [this] { return _mapView->mapWebView()->routeRemovals(); }, _mapBeat, this);
    _cardCallbacks = std::make_shared<CardCallbacks>(
        *_videoListView->model(), [this](TripData &) { _routeRedraw->request(); },
        [this](ChapterData &chapter) {
            if (_listMarkers)
                _listMarkers->chapterRead(chapter);
            if (_itemPlayback)
                _itemPlayback->chapterRead();
        });
    _cardData->delegate = _cardCallbacks;
    setUpPlaying();
    _cardHost = std::make_unique<MainWindowCardHost>(*this);
    _cardHost->problems = [](CardData &card, bool kept) {
        return CardOpener::problemLines(CardOpener::problemsOf(card, kept));
    };
    _cardOpener = new CardOpener(*_cardHost, this);
    connect(_cardOpener, &CardOpener::finished, this, [this](CardOpener::Outcome outcome) {
        // "Back up" follows the kind of source that is open, not the last button pressed.
        if (outcome == CardOpener::Outcome::Opened)
            setBackupFlg(_cardOpener->openMovieType() == MovieType::Card);
    });
    _volumes = std::make_unique<StorageVolumeLister>();
    _maintenancePrompter = std::make_unique<MaintenanceMessageBoxes>(this);
    _videoTypeSelectDialog = new VideoTypeSelectDialog(
        {_settings, _prompter, *_maintenancePrompter, *_volumes, *_modalRunner, {}}, this);
    _videoTypeSelectDialog->delegate = _cardHost.get();
}

void MainWindow::showOpenFromDialog()
{
    pauseForCommand();
    _modalRunner->run(ModalWindow::Type::OpenForm, _videoTypeSelectDialog, tr("Open From"), QSize(285, 155));
}

void MainWindow::setBackupFlg(bool usable)
{
    _backupFlg = usable;
    if (_menu)
        _menu->validate();
}

void MainWindow::setUpPlaying()
{
    MoviePlayerView *player = _panels->moviePlayerView();
    player->setDelegate(this);
    WebMapView *map = _mapView->mapWebView();
    map->setDelegate(this);
    auto card = [this] { return _cardData; };
    _itemPlayback = std::make_unique<ItemPlayback>(
        ItemPlayback::Parts{*player, *_videoListView, *map, card,
                            [this] { return _coordinators ? _coordinators->drivingInfoView() : nullptr; },
                            [this]() -> StopWatchPanel * {
                                return _coordinators ? &_coordinators->stopWatchWindow() : nullptr;
                            }},
        MainWindowItemHooks::itemPlayback(*this));
    connect(_videoListView, &VideoListView::rowClicked, this,
            [this](CommonConst::ListType type, int row) { _itemPlayback->listRowSelected(type, row); });
    _listMarkers = std::make_unique<ListMarkers>(
        ListMarkers::Parts{*map, *_videoListView->model(), card, _settings, _mapBeat},
        MainWindowItemHooks::listMarkers(*this));
}

bool MainWindow::playFirstItem(const ChapterList &found)
{
    return _itemPlayback->playTripItem(0, 0, true, true, found) ||
           _itemPlayback->playSurveillanceItem(0, true);
}

void MainWindow::updateFrameWithStopWatch()
{
    _itemPlayback->updateFrameWithStopWatch();
}

bool MainWindow::syncChapterSelection()
{
    return _itemPlayback->syncChapterSelection();
}

void MainWindow::updateFrameDisplay(bool playing)
{
    _itemPlayback->updateFrameDisplay(playing);
}

void MainWindow::moviePlayerNotify(int code)
{
    _itemPlayback->moviePlayerNotify(code);
}

void MainWindow::mapMarkerClicked(const MapPoint &point)
{
    _listMarkers->mapMarkerClicked(point);
    updateWindowTitle();
}

void MainWindow::showFileNotFound()
{
    resetDisplay();
    if (_coordinators)
        _coordinators->stopWatch().closeStopWatch();
    if (isFullscreen())
        toggleFullScreen();
    updatePanelLayout(false);
    setChildWindowsTopMost(false);
    _prompter.caution(this, tr("Unable to locate the file."));
    setChildWindowsTopMost(true);
}

void MainWindow::showLoadFailed()
{
    if (isFullscreen())
        toggleFullScreen();
    updatePanelLayout(false);
    setChildWindowsTopMost(false);
    _prompter.caution(this,
                      tr("The current video data could not be loaded. Please restart the application and try "
                         "again. If still unsuccessful, please select another chapter for playback."));
    setChildWindowsTopMost(true);
}

MoviePlayerView *MainWindow::createPlayerPanel(std::function<std::unique_ptr<MediaEngine>()> engines)
{
    // The player panel plays through libmpv engines made here; it holds at most two at a time.
    if (!engines)
        engines = [] { return std::make_unique<MpvEngine>(MpvEngine::RenderMode::Automatic); };
    auto *panel = new MoviePlayerView(std::move(engines), {}, this);
    _playerHost = std::make_unique<MainWindowPlayerHost>(*this);
    panel->setHost(_playerHost.get());
    panel->setSettings(&_settings);
    // The stored sound and brightness, through the panel's own setters.
    panel->setVolume(_settings.viewerVolume);
    panel->setMute(_settings.viewerIsMute);
    panel->setGamma(_settings.viewerGamma);
    return panel;
}

void MainWindow::startUp()
{
    _reachability->start();
    _panels->emptyMapView()->addMapView(_mapView);
    // Black behind the panels; the menu bar keeps the desktop's colours.
    QPalette background = _panels->palette();
    background.setColor(QPalette::Window, FormColors::FROM_BACKGROUND_COLOR);
    background.setColor(QPalette::WindowText, FormColors::FROM_TEXT_COLOR);
    _panels->setPalette(background);
    _panels->setAutoFillBackground(true);
    connect(qApp, &QGuiApplication::applicationStateChanged, this, &MainWindow::onApplicationStateChanged);
    buildMenu();
    _backupFlg = false;
    _coordinators = std::make_unique<WindowCoordinators>(
        *this, _settings, _prompter, *_modalRunner,
        WindowCoordinators::Options{_otherInstanceRunning, _chooseDirectory});
    _tabFocusWrap = std::make_unique<TabFocusWrap>(
        _coordinators->drivingInfoView()->circleChartButton(),
        _panels->moviePlayerView()->controls()->control(QStringLiteral("open")));
    // The tool bar's buttons whose handlers the coordinators bring (settings among them) work from now
    // on, before anything is opened.
    _panels->moviePlayerView()->updateToolButtons();
    _menu->validate();

    // Shown from the event loop, as the last step of start-up; the first launch's dialog follows it.
    QPointer<MainWindow> self(this);
    QMetaObject::invokeMethod(
        this,
        [self] {
            if (self)
                self->deferredShow();
        },
        Qt::QueuedConnection);
    if (_updateServer)
        _dialogs->checkForUpdate(*_updateServer);
    updateWindowTitle();
    if (!_settings.viewerFirstLaunch) {
        QMetaObject::invokeMethod(
            this,
            [self] {
                if (self)
                    self->_dialogs->firstLaunch();
            },
            Qt::QueuedConnection);
    }
}

void MainWindow::buildMenu()
{
    _menu = new MainMenu(
        menuBar(),
        [this] {
            MenuValidation::State state;
            state.backupFlg = _backupFlg;
            // A modal run over the window (its own dialogs) counts as a sheet the window does not serve.
            state.sheetAttached = QApplication::activeModalWidget() != nullptr;
            return state;
        },
        this);
    _menu->setHandler(MenuCommand::About, [this] { _dialogs->showAboutDialog(); });
    _menu->setHandler(MenuCommand::ViewerSettings, [this] { _dialogs->showViewerSettingDialog(); });
    _menu->setHandler(MenuCommand::DownloadUpdates, [this] { _dialogs->openDownloadPage(); });
    _menu->setHandler(MenuCommand::FullScreen, [this] { toggleFullScreen(); });
    _menu->setHandler(MenuCommand::Quit, [this] { requestQuit(); });
    _menu->setHandler(MenuCommand::Open, [this] { showOpenFromDialog(); });
    // Save as, Camera Settings, Backup Directory Settings, Back up and Delete get their handlers
    // with their dialogs; until then the menu shows them disabled.
}

void MainWindow::deferredShow()
{
    // The driving-data panel draws its meter itself once shown; nothing waits for it here.
    show();
    emit startUpShown();
}

bool MainWindow::isPlayerActive() const
{
    // The player's readiness, which a chapter opening within the item keeps.
    return _panels->moviePlayerView()->isControlReady();
}

void MainWindow::pauseForCommand()
{
    if (isPlayerActive())
        _panels->moviePlayerView()->pauseMovie();
}

bool MainWindow::confirmTerminate()
{
    return _quit->confirmTerminate();
}

void MainWindow::requestQuit()
{
    _quit->requestQuit();
}

void MainWindow::terminateForRestart()
{
    // The dialog's modal run has ended; quit from the event loop, as the Quit command does.
    _quit->requestQuitLater();
}

bool MainWindow::isQuitConfirmed() const
{
    return _quit->isQuitConfirmed();
}

void MainWindow::closeEvent(QCloseEvent *event)
{
    event->setAccepted(_quit->closeRequested());
}

void MainWindow::changeEvent(QEvent *event)
{
    if (event->type() == QEvent::WindowStateChange)
        _windowState->stateChanged(static_cast<QWindowStateChangeEvent *>(event)->oldState(), windowState());
    QMainWindow::changeEvent(event);
}

bool MainWindow::focusNextPrevChild(bool next)
{
    if (QWidget *target = _tabFocusWrap ? _tabFocusWrap->target(focusWidget(), next) : nullptr) {
        target->setFocus(next ? Qt::TabFocusReason : Qt::BacktabFocusReason);
        return true;
    }
    return QMainWindow::focusNextPrevChild(next);
}

void MainWindow::onApplicationStateChanged(Qt::ApplicationState state)
{
    _windowState->applicationActive(state == Qt::ApplicationActive);
}

ChildWindows &MainWindow::childWindows()
{
    return _windowState->childWindows();
}

bool MainWindow::isFullscreen() const
{
    return _windowState->isFullscreen();
}

void MainWindow::setChildWindowsTopMost(bool topMost)
{
    childWindows().setTopMost(topMost);
}

void MainWindow::toggleFullScreen()
{
    _windowState->toggleFullScreen();
}

void MainWindow::updatePanelLayout(bool fullScreen)
{
    _windowState->updatePanelLayout(fullScreen);
}

void MainWindow::updateWindowTitle()
{
    MoviePlayerView *player = _panels->moviePlayerView();
    std::optional<QString> path;
    CommonConst::PlayType playType = CommonConst::PlayType::Movie;
    if (const auto &valueInfo = player->valueInfo()) {
        playType = valueInfo->playType();
        if (const std::shared_ptr<ChapterData> chapter = valueInfo->currentChapter())
            path = chapter->_pathMp4.toLocalFile();
    }
    setWindowTitle(WindowTitle::text(playType, path, isPlayerActive()));
}

void MainWindow::resetDisplay()
{
    MoviePlayerView *player = _panels->moviePlayerView();
    player->setAutoPlay(false);
    player->clearMovie(false);
    WebMapView *bridge = _mapView->mapWebView();
    bridge->removeRoute();
    bridge->runScript(QStringLiteral("removeMarkerAll()"));
    bridge->markerList().clear();
    bridge->runScript(QStringLiteral("removeMyCar()"));
    bridge->currentPoint().clear();
    _backupFlg = false;
    _menu->validate();
    _videoListView->model()->resetRows();
    _cardOpener->retire(_cardData);
    _cardData = std::make_shared<CardData>();
    _cardData->delegate = _cardCallbacks;
    _videoListView->setListData(*_cardData);
    updateFrameDisplay(false);
}

bool MainWindow::saveViewerState()
{
    WebMapView *bridge = _mapView->mapWebView();
    if (isPlayerActive()) {
        if (_isMapZoomAndCenter) {
            bool ok = false;
            const int zoom = bridge->getZoom().toInt(&ok, 10);
            if (!ok)
                return false;
            _settings.mapZoom = zoom;
            _settings.setValue(QString::fromLatin1(UserDefaultUtil::KEY_MAP_ZOOM), zoom);
            _settings.mapDispBaloon = bridge->getDispBalloon();
            _settings.setValue(QString::fromLatin1(UserDefaultUtil::KEY_MAP_DISP_BALOON),
                               _settings.mapDispBaloon);
        }
        _settings.mapTypeId = bridge->getMapTypeId();
        _settings.setValue(QString::fromLatin1(UserDefaultUtil::KEY_MAP_TYPE_ID), _settings.mapTypeId);
    }
    // The player keeps its sound and brightness choices in the settings as they change.
    _settings.setValue(QString::fromLatin1(UserDefaultUtil::KEY_VIEWER_IS_MUTE), _settings.viewerIsMute);
    _settings.setValue(QString::fromLatin1(UserDefaultUtil::KEY_VIEWER_GAMMA), _settings.viewerGamma);
    return true;
}
