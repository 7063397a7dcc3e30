// The application's one main window: owns the card library object, the panels, the map and the
// dialogs; starts up and routes the menus. Its state changes (WindowStateFollower), quitting
// (ApplicationQuit), the viewer's own dialogs (ViewerDialogs) and the item playback's hooks
// (MainWindowItemHooks) are classes of their own.
#pragma once

#include "app/ChildWindows.h"
#include "app/MapReachabilityWatcher.h"
#include "maintenance/ApplicationRestarter.h"
#include "map/WebMapViewDelegate.h"
#include "player/MoviePlayerViewDelegate.h"

#include <QMainWindow>
#include <QUrl>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

class ApplicationQuit;
class CardCallbacks;
class BurstBeat;
class RouteRedrawMerger;
class TabFocusWrap;
class CardOpener;
class ItemPlayback;
class ListMarkers;
class MainWindowCardHost;
class MaintenanceMessageBoxes;
class CardData;
class ChapterData;
using ChapterList = std::vector<std::shared_ptr<ChapterData>>;
class MainMenu;
class MainWindowLayout;
class MapView;
class MediaEngine;
class MessagePrompter;
class ModalRunner;
class MoviePlayerView;
class PlayerPanelHost;
class UserDefaultUtil;
class VideoListView;
class VideoTypeSelectDialog;
class ViewerDialogs;
class VolumeLister;
class WindowCoordinators;
class WindowStateFollower;

class MainWindow : public QMainWindow,
                   public ApplicationRestarter,
                   public MoviePlayerViewDelegate,
                   public WebMapViewDelegate
{
    Q_OBJECT
public:
    // What the window is given rather than makes, so that tests can give stand-ins.
    struct Services
    {
        UserDefaultUtil &settings; // loaded before the window is made
        MessagePrompter &prompter; // alerts and the quit question
        // The rest may be left out, each standing for the real thing.
        MapReachabilityWatcher::Probe reachability = {}; // none: the real probe of the tile server
        std::optional<QUrl> updateServer = {};           // none: no update check
        std::function<std::unique_ptr<ModalRunner>(MainWindow &)> modalRunner = {}; // none: real windows
        // none: the desktop's browser, and an alert when none can be started
        std::function<void(const QUrl &)> openUrl = {};
        std::function<bool()> otherInstanceRunning = {}; // none: the scan of running processes
        std::function<std::optional<QString>(const QString &start, const QString &message)> chooseDirectory =
            {};                                                     // none: the folder panel
        std::function<std::unique_ptr<MediaEngine>()> engines = {}; // none: libmpv
    };

    explicit MainWindow(Services services, QWidget *parent = nullptr);
    ~MainWindow() override;

    // The start-up sequence; the window shows itself from the event loop, then the first launch opens
    // the viewer settings.
    void startUp();

    // Quitting: asks when a recording is loaded; true when the application may end. Then quits.
    bool confirmTerminate();
    void requestQuit();
    void terminateForRestart() override;

    // Display reset, viewer state, title and layout.
    void resetDisplay();
    bool saveViewerState();
    void updateWindowTitle();
    void updatePanelLayout(bool fullScreen);
    void setChildWindowsTopMost(bool topMost);

    // Menu commands; the viewer's own dialogs are ViewerDialogs'.
    void toggleFullScreen();
    void showOpenFromDialog();

    // Opening a source.
    std::shared_ptr<CardData> cardData() const { return _cardData; }
    CardOpener *cardOpener() const { return _cardOpener; }
    RouteRedrawMerger *routeRedraw() const { return _routeRedraw; }
    VideoListView *videoListView() const { return _videoListView; }
    VideoTypeSelectDialog *videoTypeSelectDialog() const { return _videoTypeSelectDialog; }
    bool isLoading() const { return _isLoading; }
    void setLoading(bool loading) { _isLoading = loading; }
    bool isMapZoomAndCenter() const { return _isMapZoomAndCenter; }
    void setMapZoomAndCenter(bool centred) { _isMapZoomAndCenter = centred; }
    void setBackupFlg(bool usable);
    UserDefaultUtil &settings() { return _settings; }
    MessagePrompter &prompter() { return _prompter; }
    // Where opening hands over to playback: plays the first trip, failing that the first surveillance
    // recording; false when neither plays. found: chapters whose files were found a moment ago.
    virtual bool playFirstItem(const ChapterList &found = {});
    ItemPlayback &itemPlayback() { return *_itemPlayback; }
    ListMarkers &listMarkers() { return *_listMarkers; }

    // The player panel's calls.
    void updateFrameWithStopWatch() override;
    bool syncChapterSelection() override;
    void updateFrameDisplay(bool playing) override;
    void showFileNotFound() override;
    void showLoadFailed() override;
    void moviePlayerNotify(int code) override;
    // A marker of the lists was clicked on the map.
    void mapMarkerClicked(const MapPoint &point) override;

    bool isPlayerActive() const;
    bool isFullscreen() const;
    bool backupFlg() const { return _backupFlg; }
    // Save and the backup menus follow the kind of source open.
    WindowCoordinators *coordinators() const { return _coordinators.get(); }
    const VolumeLister &volumes() const { return *_volumes; }
    bool isQuitConfirmed() const;
    MainMenu *mainMenu() const { return _menu; }
    MainWindowLayout *panels() const { return _panels; }
    MapView *mapView() const { return _mapView; }
    ChildWindows &childWindows();
    MapReachabilityWatcher *reachabilityWatcher() const { return _reachability; }

signals:
    // The deferred show has run (start-up is over on the screen).
    void startUpShown();

protected:
    void closeEvent(QCloseEvent *event) override;
    void changeEvent(QEvent *event) override;
    // Tab and Shift-Tab: the player and driving panel's ring first, then the window's order.
    bool focusNextPrevChild(bool next) override;

private:
    friend class MainWindowItemHooks; // the loading and map-centred flags

    MoviePlayerView *createPlayerPanel(std::function<std::unique_ptr<MediaEngine>()> engines);
    void setUpOpening();
    void setUpPlaying();
    void buildMenu();
    void deferredShow();
    void pauseForCommand();
    void onApplicationStateChanged(Qt::ApplicationState state);

    UserDefaultUtil &_settings;
    MessagePrompter &_prompter;
    std::function<void(const QUrl &)> _openUrl;
    std::optional<QUrl> _updateServer;
    std::shared_ptr<CardData> _cardData;
    std::unique_ptr<ModalRunner> _modalRunner;
    std::unique_ptr<WindowStateFollower> _windowState; // the child windows, minimising and full screen
    std::unique_ptr<ApplicationQuit> _quit;
    MainWindowLayout *_panels;
    MapView *_mapView;
    MainMenu *_menu = nullptr;
    std::unique_ptr<ViewerDialogs> _dialogs; // About, Viewer Settings, the download page and the update check
    MapReachabilityWatcher *_reachability;
    // Opening a source and the video list.
    std::unique_ptr<VolumeLister> _volumes;
    std::unique_ptr<MaintenanceMessageBoxes> _maintenancePrompter;
    std::unique_ptr<MainWindowCardHost> _cardHost;
    std::shared_ptr<CardCallbacks> _cardCallbacks;
    BurstBeat *_mapBeat = nullptr; // the route's and the markers' wait: what a burst of hand-overs gives
                                   // the map goes to its page in one call
    RouteRedrawMerger *_routeRedraw = nullptr;
    CardOpener *_cardOpener = nullptr;
    VideoListView *_videoListView = nullptr;
    VideoTypeSelectDialog *_videoTypeSelectDialog = nullptr;
    bool _isLoading = false;
    std::function<bool()> _otherInstanceRunning;
    std::function<std::optional<QString>(const QString &, const QString &)> _chooseDirectory;
    std::unique_ptr<WindowCoordinators> _coordinators;
    std::unique_ptr<PlayerPanelHost> _playerHost;
    std::unique_ptr<ItemPlayback> _itemPlayback;
    std::unique_ptr<ListMarkers> _listMarkers;
    std::unique_ptr<TabFocusWrap> _tabFocusWrap;

    bool _backupFlg = false;
    bool _isMapZoomAndCenter = false; // the map was centred on a card; only then is its zoom kept
};
