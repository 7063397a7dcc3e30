#include "app/WindowCoordinators.h"

#include "app/CardOpener.h"
#include "app/DialogInUseLock.h"
#include "app/DrivingPanelCoordinator.h"
#include "app/GoogleEarthExportHostImpl.h"
#include "app/MainMenu.h"
#include "app/MainWindow.h"
#include "app/MainWindowLayout.h"
#include "app/MaintenanceHostImpl.h"
#include "app/MapPanelModes.h"
#include "app/MenuCommands.h"
#include "app/NewWindowView.h"
#include "app/PlayerPanelControl.h"
#include "app/StopWatchCoordinator.h"
#include "app/StopWatchWindow.h"
#include "app/ToolWindows.h"
#include "app/VideoListView.h"
#include "card/CardData.h"
#include "graph/DrivingInfoView.h"
#include "maintenance/MaintenanceMessageBoxes.h"
#include "maintenance/MessagePrompter.h"
#include "map/EmptyMapView.h"
#include "map/GoogleEarthExportCommand.h"
#include "map/GoogleEarthLauncher.h"
#include "map/KmzExporter.h"
#include "map/MapTitleView.h"
#include "map/MapView.h"
#include "player/CustomSliderCell.h"
#include "player/MediaEngine.h"
#include "player/MoviePlayerView.h"
#include "player/PlayMovieValueInfo.h"
#include "player/TrackSlider.h"
#include "recording/PictureData.h"
#include "recording/UserDefaultUtil.h"
#include "recording/VideoInfo.h"

#include <QFileDialog>
#include <QLayout>
#include <QToolButton>
#include <cmath>

namespace {
std::optional<QString> chooseDirectoryWithPanel(QWidget *parent, const QString &start, const QString &message)
{
    QFileDialog panel(parent, message, start);
    panel.setFileMode(QFileDialog::Directory);
    panel.setOption(QFileDialog::ShowDirsOnly);
    panel.setLabelText(QFileDialog::Accept, QObject::tr("OK"));
    if (panel.exec() != QDialog::Accepted || panel.selectedFiles().isEmpty())
        return std::nullopt;
    return panel.selectedFiles().constFirst();
}

ToolWindows::PlayerState playerStateOf(MoviePlayerView &player)
{
    ToolWindows::PlayerState state;
    const std::shared_ptr<PictureData> picture = player.valueInfo() ? player.currentPictureData() : nullptr;
    CustomSliderCell *track = player.trackCell();
    state.hasRecording = picture && picture->video && track;
    if (!state.hasRecording)
        return state;
    state.selectFrame = track->selectFrame();
    state.selectStartMs = track->selectStartSumFrameTS();
    state.trackValue = track->doubleValue();
    state.info.chapter = player.valueInfo()->currentChapter();
    state.info.chapterList = player.valueInfo()->chapterDataList();
    state.info.timeline = player.valueInfo()->timeline();
    state.info.recMode = picture->video->recMode();
    // The slider's value (1.0 neutral), which the still's own brightness rule expects; the engine's
    // filter offset is 0.0 at neutral and would darken every still.
    state.info.brightBarVal = player.gamma();
    // At rest the position names the picture on screen (a pause brings the one to the other); playing, the
    // one on screen.
    const auto resting =
        player.currentStatus() == CommonConst::PlayStatus::Play ? std::nullopt : player.restingMovieTime();
    if (resting) {
        state.info.currentCMtimeMs = *resting;
    } else if (const MediaEngine *engine = player.engine()) {
        const double seconds = engine->currentTime();
        // Rounded: the picture at 15.9667 s is the one on screen, truncated to 15966 ms the one before.
        state.info.currentCMtimeMs = std::isfinite(seconds) ? std::llround(seconds * 1000.0) : 0;
    }
    return state;
}
} // namespace

WindowCoordinators::WindowCoordinators(MainWindow &window, UserDefaultUtil &settings,
                                       MessagePrompter &prompter, ModalRunner &runner, Options options)
    : _window(window), _settings(settings)
{
    MainWindowLayout *panels = window.panels();
    MoviePlayerView *playerView = panels->moviePlayerView();
    _player = std::make_unique<PlayerPanelControl>(*playerView);
    _lock = std::make_unique<DialogInUseLock>(settings, std::move(options.otherInstanceRunning));
    _maintenancePrompter = std::make_unique<MaintenanceMessageBoxes>(&window);
    auto topMost = [&window](bool on) { window.setChildWindowsTopMost(on); };
    // A delete from the opened source asks before the stopwatch's measurement goes, and opens again
    // what is left of the source, paused, as the kind of source it was opened as.
    _host = std::make_unique<MaintenanceHostImpl>(
        settings, &window,
        MaintenanceHostImpl::Calls{[this] { return _stopWatch->confirmStopWatchReset(); },
                                   [&window] { window.resetDisplay(); },
                                   [&window](const QUrl &url) {
                                       CardOpener *opener = window.cardOpener();
                                       opener->openVideoData(
                                           url, false, opener->openMovieType().value_or(MovieType::Backup));
                                   },
                                   {},
                                   topMost});

    hostDrivingPanel();
    makeStopWatch();

    WebMapView *bridge = window.mapView()->mapWebView();
    _mapModes = new MapPanelModes({*_player, window.mapView(), panels->mapTitleView(), panels->emptyMapView(),
                                   window.childWindows(), &window,
                                   [bridge](bool hidden) { bridge->setMapViewHiddenFlg(hidden); },
                                   [&window](bool playing) { window.updateFrameDisplay(playing); }},
                                  &window);
    panels->mapTitleView()->setDelegate(_mapModes);

    auto chooser = options.chooseDirectory;
    if (!chooser) {
        chooser = [&window](const QString &start, const QString &message) {
            return chooseDirectoryWithPanel(&window, start, message);
        };
    }
    _menuCommands = new MenuCommands({settings, prompter, *_maintenancePrompter, *_host, runner, *_player,
                                      *_lock, &window, [&window] { return window.cardData().get(); },
                                      [playerView]() -> std::shared_ptr<ChapterData> {
                                          return playerView->valueInfo()
                                                     ? playerView->valueInfo()->currentChapter()
                                                     : nullptr;
                                      },
                                      chooser, topMost, &window.volumes(),
                                      // Nothing measured is dropped without asking; see the stopwatch.
                                      [this] { return _stopWatch->confirmStopWatchReset(); }},
                                     &window);
    MainMenu *menu = window.mainMenu();
    menu->setHandler(MenuCommand::SaveAs, [this] { _menuCommands->showBackupSettingDialog(); });
    menu->setHandler(MenuCommand::BackUp, [this] { _menuCommands->showBackupSettingDialog(); });
    menu->setHandler(MenuCommand::Delete, [this] { _menuCommands->showCleanupDialog(); });
    menu->setHandler(MenuCommand::CameraSettings, [this] { _menuCommands->showCameraSettingDialog(); });
    menu->setHandler(MenuCommand::BackupDirectorySettings,
                     [this] { _menuCommands->selectBackupDirectory(); });
    menu->validate();

    // An event or surveillance recording is exported from its record in the list panel.
    auto listRecords = [&window](CommonConst::PlayType type) {
        using LT = CommonConst::ListType;
        const VideoListModel *list = window.videoListView()->model();
        const bool event = type == CommonConst::PlayType::Event;
        return std::pair(event ? list->eventList() : list->surveillanceList(),
                         qsizetype(list->currentRow(event ? LT::Event : LT::Surveillance)));
    };
    _googleEarthHost = std::make_unique<GoogleEarthExportHostImpl>(
        *_player, *playerView, [&window] { return window.cardData().get(); }, &window, topMost, listRecords);

    _toolWindows = new ToolWindows(
        settings, prompter, &window,
        {[playerView, &window] {
             ToolWindows::PlayerState state = playerStateOf(*playerView);
             if (const auto card = window.cardData())
                 state.info.openSourcePath = card->_openSourcePath;
             return state;
         },
         [playerView](bool on) { playerView->setTrimMode(on); },
         [this] { _player->pauseMovie(); },
         [playerView](ToolType type) {
             // Just below the pressed button.
             const QWidget *button = playerView->controls()->control(
                 type == ToolType::Capture ? QStringLiteral("snapshot") : QStringLiteral("cut"));
             return button->mapToGlobal(QPoint(0, button->height()));
         },
         topMost,
         {},
         [playerView](std::function<void()> then) { playerView->whenPictureAtRest(std::move(then)); }},
        &window);
}

WindowCoordinators::~WindowCoordinators()
{
    // A detached map goes back into the main window first, so it is deleted with the window's panels.
    if (_mapModes && _mapModes->newWindowView().window())
        _mapModes->newWindowView().windowCloseOnclick();
}

void WindowCoordinators::exportGoogleEarthFile()
{
    KmzExporter exporter(_settings);
    GoogleEarthLauncher launcher;
    GoogleEarthExportCommand(*_googleEarthHost, _settings, exporter, launcher).exportGoogleEarthFile();
}

void WindowCoordinators::hostDrivingPanel()
{
    QWidget *slot = _window.panels()->drivingInfoSlot();
    _drivingInfoView = new DrivingInfoView(&_settings, slot);
    slot->layout()->addWidget(_drivingInfoView);
    _drivingInfoView->setDispSpeedMeter(_settings.dispSpeedMeter);
    _drivingInfoView->setDispCircleChart(_settings.dispCircleChart);
    _drivingInfoView->setupView();
    DrivingInfoView *view = _drivingInfoView;
    _drivingPanel = std::make_unique<DrivingPanelCoordinator>(
        _settings, *_player,
        DrivingPanelCoordinator::Panel{
            [view](bool circleChart) {
                return (circleChart ? view->circleChartButton() : view->speedMeterButton())->isChecked();
            },
            [view] { return view->selectedPosition(); }, [view](int position) { view->setValue(position); }},
        [this] { _window.updateFrameDisplay(false); });
    _drivingInfoView->delegate = _drivingPanel.get();
}

void WindowCoordinators::makeStopWatch()
{
    MoviePlayerView *playerView = _window.panels()->moviePlayerView();
    _stopWatchWindow = std::make_unique<StopWatchWindow>(
        _settings, &_window,
        StopWatchWindow::Calls{[playerView](const StopWatchWindow::TrackUpdate &marks) {
                                   if (!playerView->valueInfo() || !playerView->trackCell())
                                       return;
                                   // The player's buttons follow the start bound too ("frame back" at
                                   // the start of a running measurement goes off).
                                   playerView->updateStopWatchMarkers(marks.status, marks.startMs,
                                                                      marks.lapMs, marks.stopMs,
                                                                      marks.holdFromMs.value_or(-1));
                               },
                               [playerView] { playerView->controls()->setStopWatchButton(false); }});
    MainWindow &window = _window;
    _stopWatch = std::make_unique<StopWatchCoordinator>(
        *_stopWatchWindow, window.childWindows(),
        StopWatchCoordinator::Calls{
            [playerView] {
                StopWatchCoordinator::PlayedItem item;
                PlayMovieValueInfo *info = playerView->valueInfo().get();
                if (!info)
                    return item;
                item.playType = info->playType();
                item.timeline = info->timeline();
                item.protectInfo = info->protectInfo();
                if (playerView->trackCell())
                    info->setCurrentValue(playerView->trackCell()->integerValue());
                item.positionMs = info->currentValue();
                return item;
            },
            [&window] { return window.cardData().get(); },
            [&window] {
                // The list panel's width left of the main window's right edge, 22
                // below its top.
                const QRect frame = window.frameGeometry();
                const int listWidth = window.videoListView() ? window.videoListView()->width() : 0;
                return QPoint(frame.x() + frame.width() - listWidth, frame.y() + 22);
            },
            [playerView] { playerView->controls()->setStopWatchButton(false); },
            [this] {
                _window.setChildWindowsTopMost(false);
                const bool agreed = _window.prompter().confirmCancelFirst(
                    &_window, QObject::tr("The Stopwatch measurement result will be deleted. Proceed?"));
                _window.setChildWindowsTopMost(true);
                return agreed;
            }});
}
