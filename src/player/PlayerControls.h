// The visible controls of the player panel around its video: the tool bar above (open, save, settings,
// trim, capture, zoom, stopwatch, map export, brightness, volume, full screen), the date bar and the
// control bar under the track bar (item, chapter and frame steps, play, pause, stop, speed). It keeps
// them in step with the panel through PlayerPanelRules and forwards their actions to the panel or,
// through PlayerPanelHost, to the main window.
#pragma once

#include "player/PlayerAdjustments.h"
#include "player/PlayerPanelRules.h"
#include "player/TrackMarks.h"

#include <QObject>
#include <QPointer>

#include <cstdint>
#include <vector>

class CustomSliderCellMin;
class EXTextButton;
class MoviePlayerView;
class ZoomMenuControl;
class PlayerPanelHost;
class QAction;
class QLabel;
class QToolButton;
class QWidget;
class UserDefaultUtil;

class PlayerControls : public QObject
{
    Q_OBJECT
public:
    explicit PlayerControls(MoviePlayerView &panel);

    QWidget *toolsView() const { return _toolsView; }
    QWidget *datetimeView() const { return _datetimeView; }
    QWidget *controllerView() const { return _controllerView; }

    void setHost(PlayerPanelHost *host);
    void setSettings(UserDefaultUtil *settings);

    void updateControlButtons();
    void updateToolButtons();
    void updateDatetimeLabel();
    void updateDiffSecLabel();

    // Rate, sound and brightness; the setters store the value in the settings.
    PlayerAdjustments *adjustments() const { return _adjust; }
    void applyPlayRate() { _adjust->applyPlayRate(); }
    void setVolume(float value) { _adjust->setVolume(value); }
    void setMute(bool on) { _adjust->setMute(on); }
    void setGamma(double value) { _adjust->setGamma(value); }
    float sliderVolume() const { return _adjust->sliderVolume(); }

    // Moves the speed slider to rate as the user would; false for a rate it does not offer.
    bool setPlayRate(float rate);
    void setTrimMode(bool on);
    // The stopwatch's marks on the track bar; while it runs the position cannot go back before holdStart.
    void updateStopWatchMarkers(StopWatchStatus status, int64_t start, std::vector<int64_t> laps,
                                int64_t stop, int64_t holdStart);
    void setPrevNextTrip(bool prev, bool next);

    ZoomMenuControl *zoom() const { return _zoom; }

    // Full screen by the button's new state, and its end (Escape, a click on the video).
    void onFullscreenButton(bool on);
    void escFullScreenCancel();
    bool isFullscreenOn() const;
    // The window entered or left full screen, by the button or any other way.
    void fullscreenEntered(bool on);
    // Escape: leaves full screen, then closes the zoom menu.
    void escape();
    // Off when the stopwatch window goes, so that one click opens it again.
    void setStopWatchButton(bool on);

    // The controls by role, for the panel's tests and the demo's scripted input.
    QWidget *control(const QString &name) const;
    QLabel *datetimeLabel() const { return _datetimeLabel; }
    QLabel *diffSecLabel() const { return _diffSecLabel; }
    QLabel *playSpeedRateLabel() const { return _adjust->playSpeedRateLabel(); }
    CustomSliderCellMin *volumeSlider() const { return _adjust->volumeSlider(); }
    CustomSliderCellMin *brightSlider() const { return _adjust->brightSlider(); }
    CustomSliderCellMin *playSpeedSlider() const { return _adjust->playSpeedSlider(); }

private:
    void buildToolBar();
    void buildControlBar();
    EXTextButton *toolButton(const QString &name, const QString &image);
    bool provides(int service) const;
    void stepFrame(bool forward);
    void onPlay();
    void store(const char *key, const QVariant &value);
    void showFullscreenState(bool on);

    MoviePlayerView &_panel;
    PlayerPanelHost *_host = nullptr;
    UserDefaultUtil *_settings = nullptr;
    QWidget *_toolsView, *_datetimeView, *_controllerView;
    EXTextButton *_openButton, *_saveButton, *_settingButton, *_cutButton, *_snapShotButton, *_zoomButton,
        *_stopWatchButton, *_googleEathButton;
    QToolButton *_fullscreenButton;
    QAction *_leaveFullScreen;
    QToolButton *_movieFirstButton, *_movieRewindButton, *_movieKomaBackButton, *_moviePlayButton,
        *_moviePauseButton, *_movieStopButton, *_movieKomaGoButton, *_movieForwardButton, *_movieLastButton;
    PlayerAdjustments *_adjust = nullptr;
    QLabel *_datetimeLabel, *_diffSecLabel;
    ZoomMenuControl *_zoom;
    bool _isPrevTrip = false, _isNextTrip = false;
};
