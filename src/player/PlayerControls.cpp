#include "player/PlayerControls.h"

#include "player/CustomSliderCell.h"
#include "player/CustomSliderCellMin.h"
#include "player/EXTextButton.h"
#include "player/FilterView.h"
#include "player/MoviePlayerView.h"
#include "player/MoviePlayerViewDelegate.h"
#include "player/NSZoomView.h"
#include "player/PlayerPanelHost.h"
#include "player/PlayerView.h"
#include "player/TrackSlider.h"
#include "player/ZoomMenuControl.h"

#include "recording/DateFormatTypeUtil.h"
#include "recording/UserDefaultUtil.h"

#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QToolButton>

#include <algorithm>

using PlayStatus = CommonConst::PlayStatus;
using PlayType = CommonConst::PlayType;
using Service = PlayerPanelHost::Service;
using Scale = PlayerView::ScaleType;

namespace {
// A control's image with its dimmed image for the disabled state.
QIcon controlIcon(const QString &image)
{
    QIcon icon(QStringLiteral(":/images/player/%1.svg").arg(image));
    icon.addFile(QStringLiteral(":/images/player/%1_off.svg").arg(image), {}, QIcon::Disabled);
    return icon;
}

const QString SMALL_BUTTON_STYLE = QStringLiteral("QToolButton { border: none; background: transparent; }"
                                                  "QToolButton:focus { border: 1px solid #5a9be0; }");

void apply(QWidget *w, const PlayerPanelRules::Button &b)
{
    w->setEnabled(b.enabled);
    w->setVisible(b.visible);
    w->setToolTip(b.toolTip);
}

QWidget *bar(QWidget *parent)
{
    auto *w = new QWidget(parent);
    auto *layout = new QHBoxLayout(w);
    layout->setContentsMargins(6, 2, 6, 2);
    layout->setSpacing(4);
    return w;
}
} // namespace

PlayerControls::PlayerControls(MoviePlayerView &panel)
    : QObject(&panel), _panel(panel), _toolsView(bar(&panel)), _datetimeView(bar(&panel)),
      _controllerView(bar(&panel))
{
    buildToolBar();
    _datetimeLabel = new QLabel(_datetimeView);
    _diffSecLabel = new QLabel(_datetimeView);
    _datetimeView->layout()->addWidget(_datetimeLabel);
    static_cast<QHBoxLayout *>(_datetimeView->layout())->addStretch(1);
    _datetimeView->layout()->addWidget(_diffSecLabel);
    for (QLabel *l : {_datetimeLabel, _diffSecLabel})
        l->setStyleSheet(QStringLiteral("color: white; font-size: 14px;"));
    buildControlBar();
    _zoom = new ZoomMenuControl(&panel, _zoomButton, panel.playerView(), [this] { updateToolButtons(); });
}

EXTextButton *PlayerControls::toolButton(const QString &name, const QString &image)
{
    auto *b = new EXTextButton(_toolsView);
    b->setIdentifier(name);
    b->setImages(image, image + QStringLiteral("_over"), image + QStringLiteral("_off"));
    b->setIconSize(QSize(28, 28));
    _toolsView->layout()->addWidget(b);
    return b;
}

QToolButton *PlayerControls::controlButton(const QString &name, const QString &image)
{
    auto *b = new QToolButton(_controllerView);
    b->setObjectName(name);
    b->setIcon(controlIcon(image));
    b->setIconSize(QSize(26, 26));
    b->setStyleSheet(SMALL_BUTTON_STYLE);
    b->setAutoRaise(true);
    b->setFocusPolicy(Qt::StrongFocus);
    _controllerView->layout()->addWidget(b);
    return b;
}

void PlayerControls::buildToolBar()
{
    auto *layout = static_cast<QHBoxLayout *>(_toolsView->layout());
    _openButton = toolButton(QStringLiteral("open"), QStringLiteral("button_open"));
    _saveButton = toolButton(QStringLiteral("save"), QStringLiteral("button_save"));
    _settingButton = toolButton(QStringLiteral("setting"), QStringLiteral("button_setting"));
    layout->addSpacing(12);
    _cutButton = toolButton(QStringLiteral("cut"), QStringLiteral("button_cut"));
    _snapShotButton = toolButton(QStringLiteral("snapshot"), QStringLiteral("button_snapshot"));
    _zoomButton = toolButton(QStringLiteral("zoom"), QStringLiteral("button_zoom"));
    _stopWatchButton = toolButton(QStringLiteral("stopwatch"), QStringLiteral("button_stopwatch"));
    _googleEathButton = toolButton(QStringLiteral("google"), QStringLiteral("button_google"));
    for (EXTextButton *b : {_cutButton, _zoomButton, _stopWatchButton})
        b->setCheckable(true);
    layout->addStretch(1);
    auto small = [this, layout](const QString &name, const QString &image) {
        auto *b = new QToolButton(_toolsView);
        b->setObjectName(name);
        b->setIcon(controlIcon(image));
        b->setIconSize(QSize(20, 20));
        b->setStyleSheet(SMALL_BUTTON_STYLE);
        b->setAutoRaise(true);
        b->setFocusPolicy(Qt::StrongFocus);
        layout->addWidget(b);
        return b;
    };
    _brightButton = small(QStringLiteral("bright"), QStringLiteral("button_bright"));
    _brightSlider = new CustomSliderCellMin(QStringLiteral("bright"), GAMMA_MIN, GAMMA_MAX, 10, _toolsView);
    _brightSlider->setFixedWidth(90);
    layout->addWidget(_brightSlider);
    _volumeButton = small(QStringLiteral("volumeButton"), QStringLiteral("button_volume"));
    _volumeButton->setCheckable(true);
    _volumeButton->setChecked(true);
    QIcon volumeIcon;
    for (const auto mode : {QIcon::Normal, QIcon::Active}) {
        volumeIcon.addFile(QStringLiteral(":/images/player/button_volume_mute.svg"), {}, mode, QIcon::Off);
        volumeIcon.addFile(QStringLiteral(":/images/player/button_volume.svg"), {}, mode, QIcon::On);
    }
    _volumeButton->setIcon(volumeIcon);
    _volumeSlider =
        new CustomSliderCellMin(QStringLiteral("volume"), VOLUME_MIN, VOLUME_MAX, 100, _toolsView);
    _volumeSlider->setFixedWidth(90);
    layout->addWidget(_volumeSlider);
    layout->addSpacing(12);
    _fullscreenButton = small(QStringLiteral("fullscrn"), QStringLiteral("button_fullscreen"));
    _fullscreenButton->setCheckable(true);

    _brightButton->setToolTip(tr("Standard brightness"));
    _volumeButton->setToolTip(tr("Mute"));
    _brightSlider->setDoubleValue(GAMMA_DEFAULT);
    _volumeSlider->setDoubleValue(VOLUME_MAX);

    const auto call = [this](void (PlayerPanelHost::*f)()) {
        return [this, f] {
            if (_host)
                (_host->*f)();
        };
    };
    connect(_openButton, &QToolButton::clicked, this, call(&PlayerPanelHost::showOpenFromDialog));
    connect(_saveButton, &QToolButton::clicked, this, call(&PlayerPanelHost::showBackupSettingDialog));
    connect(_settingButton, &QToolButton::clicked, this, call(&PlayerPanelHost::showCameraSettingDialog));
    connect(_googleEathButton, &QToolButton::clicked, this, call(&PlayerPanelHost::exportGoogleEarthFile));
    connect(_cutButton, &QToolButton::clicked, this, [this] {
        if (_host)
            _host->openToolWindow(PlayerPanelHost::TOOL_TRIM);
    });
    connect(_snapShotButton, &QToolButton::clicked, this, [this] {
        if (_host)
            _host->openToolWindow(PlayerPanelHost::TOOL_CAPTURE);
    });
    connect(_stopWatchButton, &QToolButton::clicked, this, [this](bool on) {
        if (_host)
            on ? _host->showStopWatch() : _host->hideStopWatch();
    });
    connect(_zoomButton, &QToolButton::clicked, this, [this] { _zoom->onZoomButton(); });
    connect(_fullscreenButton, &QToolButton::clicked, this, [this](bool on) { onFullscreenButton(on); });
    connect(_brightButton, &QToolButton::clicked, this, [this] { setGamma(GAMMA_DEFAULT); });
    connect(_brightSlider, &QSlider::valueChanged, this, [this] { setGamma(_brightSlider->doubleValue()); });
    connect(_volumeButton, &QToolButton::clicked, this, [this] {
        setMute(!_volumeButton->isChecked());
        applyPlayRate();
    });
    connect(_volumeSlider, &QSlider::valueChanged, this, [this] {
        if (!_panel._isMute) {
            setVolume(static_cast<float>(_volumeSlider->doubleValue()));
            applyPlayRate();
        }
    });
}

void PlayerControls::buildControlBar()
{
    auto *layout = static_cast<QHBoxLayout *>(_controllerView->layout());
    _movieFirstButton = controlButton(QStringLiteral("first"), QStringLiteral("button_first"));
    _movieRewindButton = controlButton(QStringLiteral("rewind"), QStringLiteral("button_rewind"));
    _movieKomaBackButton = controlButton(QStringLiteral("komaBack"), QStringLiteral("button_koma_back"));
    _moviePlayButton = controlButton(QStringLiteral("play"), QStringLiteral("button_play"));
    _moviePauseButton = controlButton(QStringLiteral("pause"), QStringLiteral("button_pause"));
    _movieStopButton = controlButton(QStringLiteral("stop"), QStringLiteral("button_stop"));
    _movieKomaGoButton = controlButton(QStringLiteral("komaGo"), QStringLiteral("button_koma_go"));
    _movieForwardButton = controlButton(QStringLiteral("forward"), QStringLiteral("button_forward"));
    _movieLastButton = controlButton(QStringLiteral("last"), QStringLiteral("button_last"));
    // Holding a frame step repeats it.
    for (QToolButton *b : {_movieKomaBackButton, _movieKomaGoButton}) {
        b->setAutoRepeat(true);
        b->setAutoRepeatDelay(MoviePlayerView::KOMA_START_INTERVAL);
        b->setAutoRepeatInterval(MoviePlayerView::KOMA_INTERVAL);
    }
    layout->addStretch(1);
    _playSpeedSlowLabel = new QLabel(QStringLiteral("×0.5"), _controllerView);
    _playSpeedSlider = new CustomSliderCellMin(QStringLiteral("speed"), 0, 5, 1, _controllerView);
    _playSpeedSlider->setFixedWidth(110);
    _playSpeedSlider->setPageStep(1);
    _playSpeedSlider->setValue(1);
    _playSpeedFastLabel = new QLabel(QStringLiteral("×10"), _controllerView);
    _playSpeedRateLabel = new QLabel(PlayerPanelRules::rateForSlider(1).text, _controllerView);
    _playSpeedRateLabel->setMinimumWidth(110);
    for (QLabel *l : {_playSpeedSlowLabel, _playSpeedFastLabel, _playSpeedRateLabel}) {
        l->setStyleSheet(QStringLiteral("color: #c8ccd0;"));
    }
    layout->addWidget(_playSpeedSlowLabel);
    layout->addWidget(_playSpeedSlider);
    layout->addWidget(_playSpeedFastLabel);
    layout->addSpacing(8);
    layout->addWidget(_playSpeedRateLabel);

    connect(_moviePlayButton, &QToolButton::clicked, this, [this] { onPlay(); });
    connect(_moviePauseButton, &QToolButton::clicked, this, [this] {
        _panel.pauseMovie();
        if (auto *d = _panel.delegate())
            d->updateFrameDisplay(false);
        _moviePlayButton->setFocus();
    });
    connect(_movieStopButton, &QToolButton::clicked, this, [this] {
        if (auto *d = _panel.delegate())
            d->moviePlayerNotify(7);
        _panel.stopMovie();
    });
    connect(_movieKomaBackButton, &QToolButton::clicked, this, [this] { stepFrame(false); });
    connect(_movieKomaGoButton, &QToolButton::clicked, this, [this] { stepFrame(true); });
    connect(_movieRewindButton, &QToolButton::clicked, &_panel, &MoviePlayerView::previousChapter);
    connect(_movieForwardButton, &QToolButton::clicked, &_panel, &MoviePlayerView::nextChapter);
    connect(_movieFirstButton, &QToolButton::clicked, this, [this] {
        if (_host)
            _host->playPreviousItem();
    });
    connect(_movieLastButton, &QToolButton::clicked, this, [this] {
        if (_host)
            _host->playNextItem();
    });
    connect(_playSpeedSlider, &QSlider::valueChanged, this, [this] { applyPlayRate(); });
}

QWidget *PlayerControls::control(const QString &name) const
{
    if (name == QLatin1String("zoomMenu"))
        return _zoom->zoomMenu();
    for (QWidget *root : {_toolsView, _controllerView})
        if (auto *w = root->findChild<QWidget *>(name))
            return w;
    return nullptr;
}

bool PlayerControls::provides(int service) const
{
    return _host && _host->provides(static_cast<Service>(service));
}

void PlayerControls::stepFrame(bool forward)
{
    // A held button keeps repeating; a step that is no longer allowed is refused.
    QToolButton *button = forward ? _movieKomaGoButton : _movieKomaBackButton;
    if (!button->isEnabled())
        return;
    forward ? _panel.frameForward() : _panel.frameBack();
    if (auto *d = _panel.delegate())
        d->updateFrameDisplay(false);
}

void PlayerControls::onPlay()
{
    CustomSliderCell *cell = _panel.trackCell();
    _panel.valueInfo()->setCurrentValue(cell->integerValue());
    if (cell->integerValue() >= cell->maxValue()) {
        _panel.valueInfo()->setCurrentValue(static_cast<int64_t>(cell->minValue()));
        _panel.trackbarValueChanged();
        _panel.seekToCurrentValue();
    }
    _panel.playMovie();
    _moviePauseButton->setFocus();
}

// --- refreshers ---

void PlayerControls::updateControlButtons()
{
    PlayerPanelRules::ControlInput in;
    in.ready = _panel.isControlReady();
    in.status = _panel.currentStatus();
    if (in.ready) {
        auto &info = *_panel.valueInfo();
        CustomSliderCell *cell = _panel.trackCell();
        info.setCurrentValue(cell->integerValue());
        in.playType = info.playType();
        in.value = cell->integerValue();
        in.minValue = info.minValue();
        in.maxValue = info.maxValue();
        in.startValueStopwatch = info.startValueStopwatch();
        in.startValueMovieCut = info.startValueMovieCut();
        in.endValueMovieCut = info.endValueMovieCut();
        if (cell->selectFrame())
            in.trimSelectStart = cell->selectStartSumFrameTS();
        if (in.playType == PlayType::Adventure) {
            in.hasPrevChapter = _panel.prevAdventureChapter() != nullptr;
            in.hasNextChapter = _panel.nextAdventureChapter() != nullptr;
        } else if (in.playType == PlayType::Movie) {
            in.hasPrevChapter = info.startFrameIndex() < info.currentIndex();
            in.hasNextChapter = info.currentIndex() < info.endFrameIndex();
        }
        in.isPrevTrip = _isPrevTrip && provides(int(Service::PreviousItem));
        in.isNextTrip = _isNextTrip && provides(int(Service::NextItem));
    }
    const auto c = PlayerPanelRules::controlButtons(in);
    apply(_moviePlayButton, c.play);
    apply(_moviePauseButton, c.pause);
    apply(_movieStopButton, c.stop);
    apply(_movieKomaBackButton, c.komaBack);
    apply(_movieKomaGoButton, c.komaGo);
    apply(_movieRewindButton, c.rewind);
    apply(_movieForwardButton, c.forward);
    apply(_movieFirstButton, c.first);
    apply(_movieLastButton, c.last);
    _panel.trackSlider()->setEnabled(c.trackbar.enabled);
    // One of play and pause shows at a time.
    _moviePlayButton->setVisible(!c.pause.visible);
    if (!in.ready) {
        _brightButton->setToolTip(tr("Standard brightness"));
        _volumeButton->setToolTip(_panel._isMute ? tr("take off mute") : tr("Mute"));
    }
}

void PlayerControls::updateToolButtons()
{
    const bool ready = _panel.isControlReady();
    const auto t = PlayerPanelRules::toolButtons(
        {ready, _zoomButton->isChecked(), _cutButton->isChecked(), _host && _host->isSaveAvailable()});
    const std::pair<QWidget *, PlayerPanelRules::Button> buttons[] = {
        {_saveButton, t.save},         {_settingButton, t.setting},
        {_cutButton, t.cut},           {_snapShotButton, t.snapShot},
        {_zoomButton, t.zoom},         {_stopWatchButton, t.stopWatch},
        {_googleEathButton, t.google}, {_fullscreenButton, t.fullscreen}};
    // The main window's part: a button whose handler it does not have stays disabled.
    const std::pair<QWidget *, Service> services[] = {
        {_openButton, Service::OpenFrom},          {_saveButton, Service::Save},
        {_settingButton, Service::CameraSetting},  {_cutButton, Service::TrimTool},
        {_snapShotButton, Service::CaptureTool},   {_stopWatchButton, Service::StopWatch},
        {_googleEathButton, Service::GoogleEarth}, {_fullscreenButton, Service::FullScreen}};
    for (auto [w, b] : buttons) {
        for (const auto &[sw, service] : services)
            if (sw == w && !provides(int(service)))
                b = {false, true, {}};
        apply(w, b);
    }
    _openButton->setEnabled(provides(int(Service::OpenFrom)));
    if (_fullscreenButton->isChecked() && _fullscreenButton->isEnabled())
        _fullscreenButton->setToolTip(tr("Close full screen"));
}

void PlayerControls::updateDatetimeLabel()
{
    PlayerPanelRules::DateInput in;
    if (_settings) {
        in.format = _settings->dateFormat;
        in.timeZone = DateFormatTypeUtil::timeZoneIdentifier(_settings->timeZone);
        in.summerTime = _settings->summerTime;
    } else {
        in.timeZone = DateFormatTypeUtil::timeZoneIdentifier(UserDefaultUtil().timeZone);
    }
    in.ready = _panel.currentStatus() != PlayStatus::NotReady;
    if (in.ready) {
        CustomSliderCell *cell = _panel.trackCell();
        in.current = cell->currentDate();
        if (cell->selectFrame())
            in.selectStart = cell->selectStartDate();
    }
    _datetimeLabel->setText(PlayerPanelRules::datetimeText(in));
}

void PlayerControls::updateDiffSecLabel()
{
    const bool ready = _panel.engine() && _panel.isControlReady();
    const auto &info = _panel.valueInfo();
    if (ready && info->playType() == PlayType::Event && _panel.eventFrame() >= 0)
        info->setCurrentValue(_panel.trackCell()->integerValue());
    _diffSecLabel->setText(
        PlayerPanelRules::diffSecText(ready, info->playType(), _panel.eventFrame(), info->currentValue()));
}

// --- rate, sound, brightness ---

void PlayerControls::store(const char *key, const QVariant &value)
{
    if (_settings)
        _settings->setValue(QLatin1String(key), value);
}

void PlayerControls::applyPlayRate()
{
    const auto step = PlayerPanelRules::rateForSlider(_playSpeedSlider->value());
    _panel._playRate = step.rate;
    _playSpeedRateLabel->setText(step.text);
    _panel.setSettingRate(step.rate);
    _panel._engines->setSound(_panel._isMute,
                              _panel._isMute ? _panel._wkVolume : _volumeSlider->doubleValue());
}

float PlayerControls::sliderVolume() const
{
    return static_cast<float>(_volumeSlider->doubleValue());
}

void PlayerControls::setVolume(float value)
{
    const float v = std::clamp(value, VOLUME_MIN, VOLUME_MAX);
    if (_panel._isMute) {
        _panel._wkVolume = v;
    } else {
        const QSignalBlocker block(_volumeSlider);
        _volumeSlider->setDoubleValue(v);
        _panel._engines->setSound(false, v);
    }
    if (_settings)
        _settings->viewerVolume = v;
    store(UserDefaultUtil::KEY_VIEWER_VOLUME, v);
}

void PlayerControls::setMute(bool on)
{
    if (on != _panel._isMute) {
        const QSignalBlocker block(_volumeSlider);
        if (on) {
            _panel._wkVolume = static_cast<float>(_volumeSlider->doubleValue());
            _volumeSlider->setDoubleValue(0.0);
        } else {
            _volumeSlider->setDoubleValue(_panel._wkVolume);
        }
        _volumeButton->setChecked(!on);
        _panel._isMute = on;
        applyPlayRate();
        _volumeButton->setToolTip(on ? tr("take off mute") : tr("Mute"));
    }
    _volumeSlider->setEnabled(!_panel._isMute);
    if (_settings)
        _settings->viewerIsMute = _panel._isMute;
    store(UserDefaultUtil::KEY_VIEWER_IS_MUTE, _panel._isMute);
}

void PlayerControls::setGamma(double value)
{
    _panel._gamma = std::clamp(value, GAMMA_MIN, GAMMA_MAX);
    {
        const QSignalBlocker block(_brightSlider);
        _brightSlider->setDoubleValue(_panel._gamma);
    }
    if (MediaEngine *engine = _panel.engine()) {
        engine->setBrightness(PlayerEngines::brightnessForGamma(_panel._gamma));
        // A paused picture is drawn again with the new filter.
        if (!(_panel.isPlayerReady() && _panel.currentStatus() == PlayStatus::Play) && engine->hasItem()) {
            engine->stepByCount(1);
            engine->stepByCount(-1);
        }
    }
    if (_settings)
        _settings->viewerGamma = _panel._gamma;
    store(UserDefaultUtil::KEY_VIEWER_GAMMA, _panel._gamma);
}

void PlayerControls::setTrimMode(bool on)
{
    _panel.trackCell()->setSelectFrame(on);
    _panel.trackSlider()->update();
    _panel.playerView()->showTrimLabel(on);
    _panel.playerView()->layoutZoom();
    _cutButton->setChecked(on);
    updateControlButtons();
    updateDatetimeLabel();
    updateToolButtons();
}

void PlayerControls::setPrevNextTrip(bool prev, bool next)
{
    _isPrevTrip = prev;
    _isNextTrip = next;
    updateControlButtons();
}

// --- keys, clicks and full screen ---

bool PlayerControls::keyDown(QKeyEvent *event)
{
    if (_zoom->keyDown(event->key()))
        return true;
    if (event->key() == Qt::Key_Escape) {
        escFullScreenCancel();
        _zoom->escape();
        return true;
    }
    return false;
}

bool PlayerControls::moveToolFocus(bool forward)
{
    QWidget *focus = _toolsView->focusWidget();
    if (!focus || !focus->hasFocus())
        return false;
    const auto target =
        PlayerPanelRules::moveToolFocus(focus->objectName(), forward, _stopWatchButton->isEnabled());
    QWidget *next = target ? _toolsView->findChild<QWidget *>(*target) : nullptr;
    if (!next)
        return false;
    next->setFocus(forward ? Qt::TabFocusReason : Qt::BacktabFocusReason);
    return true;
}

void PlayerControls::panelClicked(const QPoint &panelPos, bool onVideo)
{
    _zoom->panelClicked(panelPos);
    if (onVideo && _fullscreenButton->isChecked())
        escFullScreenCancel();
    _zoom->resetZoomKeySelection();
    updateToolButtons();
}

void PlayerControls::onFullscreenButton(bool on)
{
    _fullscreenButton->setChecked(on);
    if (on) {
        _fullscreenButton->setToolTip(_fullscreenButton->isEnabled() ? tr("Close full screen") : QString());
        if (_zoom->isScaled())
            _zoom->resetZoomAndButtons();
    } else {
        _fullscreenButton->setToolTip(_fullscreenButton->isEnabled() ? tr("Full Screen Display") : QString());
    }
    if (_host) {
        if (on != _host->isFullscreen())
            _host->toggleFullScreen();
        _host->updatePanelLayout(on);
    }
}

void PlayerControls::escFullScreenCancel()
{
    if (!_fullscreenButton->isChecked())
        return;
    _fullscreenButton->setChecked(false);
    _fullscreenButton->setToolTip(_fullscreenButton->isEnabled() ? tr("Full Screen Display") : QString());
    if (_host) {
        if (_host->isFullscreen())
            _host->toggleFullScreen();
        _host->updatePanelLayout(false);
    }
}
