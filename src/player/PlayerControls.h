// The visible controls of the player panel around its video: the tool bar above (open, save, settings,
// trim, capture, zoom, stopwatch, map export, brightness, volume, full screen), the date bar and the
// control bar under the track bar (item, chapter and frame steps, play, pause, stop, speed). It keeps
// them in step with the panel through PlayerPanelRules and forwards their actions to the panel or,
// through PlayerPanelHost, to the main window.
#pragma once

#include "player/PlayerPanelRules.h"

#include <QObject>
#include <QPointer>

class CustomSliderCellMin;
class EXTextButton;
class MoviePlayerView;
class PlayerAdjustments;
class ZoomMenuControl;
class PlayerPanelHost;
class QKeyEvent;
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

    void setHost(PlayerPanelHost *host) { _host = host; }
    void setSettings(UserDefaultUtil *settings);

    void updateControlButtons();
    void updateToolButtons();
    void updateDatetimeLabel();
    void updateDiffSecLabel();

    // Rate, sound and brightness; the setters store the value in the settings.
    PlayerAdjustments *adjustments() const { return _adjust; }
    void applyPlayRate();
    void setVolume(float value);
    void setMute(bool on);
    void setGamma(double value);
    float sliderVolume() const;

    void setTrimMode(bool on);
    void setPrevNextTrip(bool prev, bool next);

    ZoomMenuControl *zoom() const { return _zoom; }

    // Keys and clicks that reach the panel; true when consumed.
    bool keyDown(QKeyEvent *event);
    bool moveToolFocus(bool forward);
    void panelClicked(const QPoint &panelPos, bool onVideo);

    // Full screen by the button's new state, and its end (Escape, a click on the video).
    void onFullscreenButton(bool on);
    void escFullScreenCancel();

    // The controls by role, for the panel's tests and the demo's scripted input.
    QWidget *control(const QString &name) const;
    QLabel *datetimeLabel() const { return _datetimeLabel; }
    QLabel *diffSecLabel() const { return _diffSecLabel; }
    QLabel *playSpeedRateLabel() const;
    CustomSliderCellMin *volumeSlider() const;
    CustomSliderCellMin *brightSlider() const;
    CustomSliderCellMin *playSpeedSlider() const;

private:
    void buildToolBar();
    void buildControlBar();
    QToolButton *controlButton(const QString &name, const QString &image);
    EXTextButton *toolButton(const QString &name, const QString &image);
    bool provides(int service) const;
    void stepFrame(bool forward);
    void onPlay();
    void store(const char *key, const QVariant &value);

    MoviePlayerView &_panel;
    PlayerPanelHost *_host = nullptr;
    UserDefaultUtil *_settings = nullptr;
    QWidget *_toolsView, *_datetimeView, *_controllerView;
    EXTextButton *_openButton, *_saveButton, *_settingButton, *_cutButton, *_snapShotButton, *_zoomButton,
        *_stopWatchButton, *_googleEathButton;
    QToolButton *_fullscreenButton;
    QToolButton *_movieFirstButton, *_movieRewindButton, *_movieKomaBackButton, *_moviePlayButton,
        *_moviePauseButton, *_movieStopButton, *_movieKomaGoButton, *_movieForwardButton, *_movieLastButton;
    PlayerAdjustments *_adjust = nullptr;
    QLabel *_datetimeLabel, *_diffSecLabel;
    ZoomMenuControl *_zoom;
    bool _isPrevTrip = false, _isNextTrip = false;
};
