// The main window's helpers that tie panels, dialogs and tools together: the driving-data panel and its
// calls, the map panel modes, the file-changing menu commands with their in-use lock, the maintenance
// dialogs' host and the tool windows. Made once by the main window at start-up.
#pragma once

#include <QString>
#include <functional>
#include <memory>
#include <optional>

class DialogInUseLock;
class GoogleEarthExportHostImpl;
class DrivingInfoView;
class DrivingPanelCoordinator;
class MainWindow;
class MaintenanceHostImpl;
class MaintenanceMessageBoxes;
class MapPanelModes;
class MenuCommands;
class MessagePrompter;
class ModalRunner;
class PlayerPanelControl;
class StopWatchCoordinator;
class StopWatchWindow;
class ToolWindows;
class UserDefaultUtil;

class WindowCoordinators
{
public:
    struct Options
    {
        std::function<bool()> otherInstanceRunning; // none: the scan of running processes
        std::function<std::optional<QString>(const QString &start, const QString &message)> chooseDirectory;
    };

    WindowCoordinators(MainWindow &window, UserDefaultUtil &settings, MessagePrompter &prompter,
                       ModalRunner &runner, Options options);
    ~WindowCoordinators();

    DrivingInfoView *drivingInfoView() const { return _drivingInfoView; }
    DrivingPanelCoordinator &drivingPanel() const { return *_drivingPanel; }
    MapPanelModes &mapModes() const { return *_mapModes; }
    MenuCommands &menuCommands() const { return *_menuCommands; }
    ToolWindows &toolWindows() const { return *_toolWindows; }
    DialogInUseLock &inUseLock() const { return *_lock; }
    StopWatchCoordinator &stopWatch() const { return *_stopWatch; }
    StopWatchWindow &stopWatchWindow() const { return *_stopWatchWindow; }

    // The player's Google Earth button: exports the playing item as a KMZ file.
    void exportGoogleEarthFile();

private:
    void hostDrivingPanel();
    void makeStopWatch();

    MainWindow &_window;
    UserDefaultUtil &_settings;
    std::unique_ptr<PlayerPanelControl> _player;
    std::unique_ptr<DialogInUseLock> _lock;
    std::unique_ptr<MaintenanceMessageBoxes> _maintenancePrompter;
    std::unique_ptr<MaintenanceHostImpl> _host;
    std::unique_ptr<DrivingPanelCoordinator> _drivingPanel;
    std::unique_ptr<GoogleEarthExportHostImpl> _googleEarthHost;
    std::unique_ptr<StopWatchWindow> _stopWatchWindow;
    std::unique_ptr<StopWatchCoordinator> _stopWatch;
    DrivingInfoView *_drivingInfoView = nullptr;
    MapPanelModes *_mapModes = nullptr;
    MenuCommands *_menuCommands = nullptr;
    ToolWindows *_toolWindows = nullptr;
};
