#include "player/PlayerControls.h"

#include "player/CustomSliderCell.h"
#include "player/CustomSliderCellMin.h"
#include "player/EXTextButton.h"
#include "player/FilterView.h"
#include "player/MoviePlayerView.h"
#include "player/MoviePlayerViewDelegate.h"
#include "player/NSZoomView.h"
#include "player/PlayerAdjustments.h"
#include "player/PlayerPanelHost.h"
#include "player/PlayerPanelInput.h"
#include "player/PlayerPanelRules.h"
#include "player/PlayerView.h"
#include "player/TrackSlider.h"
#include "player/ZoomMenuControl.h"

#include "recording/DateFormatTypeUtil.h"
#include "recording/UserDefaultUtil.h"

#include <QAction>
#include <QHBoxLayout>
#include <QLabel>
#include <QToolButton>
#include <QVBoxLayout>

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

// The buttons take the focus from Tab only, as the toolkit's tool buttons do: a click leaves it with the
// panel, so a button the click hides or disables does not hand it on to the next control in the window.
constexpr Qt::FocusPolicy BUTTON_FOCUS = Qt::TabFocus;

// A transparent border in every state, so that the focus's border does not make the button taller.
const QString SMALL_BUTTON_STYLE =
    QStringLiteral("QToolButton { border: 1px solid transparent; background: transparent; }"
                   "QToolButton:focus { border: 1px solid #5a9be0; }");

// A button of the control row, or a small one of the tool bar, at the end of its bar.
QToolButton *barButton(QWidget *bar, const QString &name, const QString &image, int size)
{
    auto *b = new QToolButton(bar);
    b->setObjectName(name);
    b->setIcon(controlIcon(image));
    b->setIconSize(QSize(size, size));
    b->setStyleSheet(SMALL_BUTTON_STYLE);
    b->setAutoRaise(true);
    b->setFocusPolicy(BUTTON_FOCUS);
    bar->layout()->addWidget(b);
    return b;
}

// The refreshers run on every tick of the clock: a widget is touched only where its state changes. A show
// lays its row out again at once and moves the buttons after it, under a click on its way.
void apply(QWidget *w, const PlayerPanelRules::Button &b)
{
    w->setEnabled(b.enabled);
    if (w->isHidden() == b.visible)
        w->setVisible(b.visible);
    if (w->toolTip() != b.toolTip)
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
    // Trim mode's range joins two dates with "～", drawn in a taller fallback font: the bar is that tall from
    // the start, so the picture does not shrink when trim mode begins.
    _datetimeLabel->setText(QStringLiteral("0 ～ 0"));
    _datetimeLabel->setMinimumHeight(_datetimeLabel->sizeHint().height());
    _datetimeLabel->clear();
    buildControlBar();
    _zoom = new ZoomMenuControl(&panel, _zoomButton, panel.playerView(), [this] { updateToolButtons(); });
    auto *layout = new QVBoxLayout(&panel);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(2);
    layout->addWidget(_toolsView);
    layout->addWidget(panel.playerView(), 1);
    layout->addWidget(panel.trackSlider());
    layout->addWidget(_datetimeView);
    layout->addWidget(_controllerView);
    new PlayerPanelInput(panel, *this);
}

EXTextButton *PlayerControls::toolButton(const QString &name, const QString &image)
{
    auto *b = new EXTextButton(_toolsView);
    b->setFocusPolicy(BUTTON_FOCUS);
    b->setIdentifier(name);
    b->setImages(image, image + QStringLiteral("_over"), image + QStringLiteral("_off"));
    b->setIconSize(QSize(28, 28));
    _toolsView->layout()->addWidget(b);
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
    auto small = [this](const QString &name, const QString &image) {
        return barButton(_toolsView, name, image, 20);
    };
    _adjust = new PlayerAdjustments(_panel, _toolsView);
    _adjust->addSoundControls(layout, small);
    layout->addSpacing(12);
    _fullscreenButton = small(QStringLiteral("fullscrn"), QStringLiteral("button_fullscreen"));
    _fullscreenButton->setCheckable(true);

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
        // On for the range selection and while the trim tool is open; trim mode's end turns it off.
        _cutButton->setChecked(true);
        updateToolButtons();
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
    // Escape leaves full screen wherever the focus is in the window.
    _leaveFullScreen = new QAction(&_panel);
    _leaveFullScreen->setShortcut(Qt::Key_Escape);
    _leaveFullScreen->setShortcutContext(Qt::WindowShortcut);
    _leaveFullScreen->setEnabled(false);
    _panel.addAction(_leaveFullScreen);
    connect(_leaveFullScreen, &QAction::triggered, this, &PlayerControls::escape);
}

void PlayerControls::buildControlBar()
{
    auto *layout = static_cast<QHBoxLayout *>(_controllerView->layout());
    const auto controlButton = [this](const QString &name, const QString &image) {
        return barButton(_controllerView, name, image, 26);
    };
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
    _adjust->addSpeedControls(layout, _controllerView);

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
    // Play and pause share a place: the one that goes is hidden before the other shows, so the two are
    // never in the row together.
    if (c.play.visible) {
        apply(_moviePauseButton, c.pause);
        apply(_moviePlayButton, c.play);
    } else {
        apply(_moviePlayButton, c.play);
        apply(_moviePauseButton, c.pause);
    }
    apply(_movieStopButton, c.stop);
    apply(_movieKomaBackButton, c.komaBack);
    apply(_movieKomaGoButton, c.komaGo);
    apply(_movieRewindButton, c.rewind);
    apply(_movieForwardButton, c.forward);
    apply(_movieFirstButton, c.first);
    apply(_movieLastButton, c.last);
    _panel.trackSlider()->setEnabled(c.trackbar.enabled);
    if (!in.ready)
        _adjust->resetToolTips();
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
        if (w == _fullscreenButton && b.enabled && _fullscreenButton->isChecked())
            b.toolTip = tr("Close full screen");
        apply(w, b);
    }
    _openButton->setEnabled(provides(int(Service::OpenFrom)));
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

void PlayerControls::setHost(PlayerPanelHost *host)
{
    _host = host;
    updateToolButtons();
    updateControlButtons();
}

void PlayerControls::setSettings(UserDefaultUtil *settings)
{
    _settings = settings;
    _adjust->setSettings(settings);
    updateDatetimeLabel();
}

bool PlayerControls::setPlayRate(float rate)
{
    const std::optional<int> step = PlayerPanelRules::sliderForRate(rate);
    if (!step)
        return false;
    // The slider's own signal applies the rate; a slider already there has nothing to change.
    playSpeedSlider()->setValue(*step);
    return true;
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

void PlayerControls::updateStopWatchMarkers(StopWatchStatus status, int64_t start, std::vector<int64_t> laps,
                                            int64_t stop, int64_t holdStart)
{
    _panel.trackCell()->setStopwatch(status, start, std::move(laps), stop);
    _panel.valueInfo()->setStartValueStopwatch(status == StopWatchStatus::Start ? std::optional(holdStart)
                                                                                : std::nullopt);
    _panel.trackSlider()->update();
    updateControlButtons();
}

void PlayerControls::setPrevNextTrip(bool prev, bool next)
{
    _isPrevTrip = prev;
    _isNextTrip = next;
    updateControlButtons();
}

// --- full screen, Escape and the stopwatch button ---

void PlayerControls::escape()
{
    escFullScreenCancel();
    _zoom->escape();
}

bool PlayerControls::isFullscreenOn() const
{
    return _fullscreenButton->isChecked();
}

void PlayerControls::fullscreenEntered(bool on)
{
    // The window went in or out by whatever means; the button, its tool tip and the zoom follow.
    if (on && _zoom->isScaled())
        _zoom->resetZoomAndButtons();
    _fullscreenButton->setChecked(on);
    showFullscreenState(on);
}

void PlayerControls::showFullscreenState(bool on)
{
    _leaveFullScreen->setEnabled(on);
    if (!_fullscreenButton->isEnabled())
        _fullscreenButton->setToolTip(QString());
    else
        _fullscreenButton->setToolTip(on ? tr("Close full screen") : tr("Full Screen Display"));
}

void PlayerControls::setStopWatchButton(bool on)
{
    _stopWatchButton->setChecked(on);
}

void PlayerControls::onFullscreenButton(bool on)
{
    fullscreenEntered(on);
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
    showFullscreenState(false);
    if (_host) {
        if (_host->isFullscreen())
            _host->toggleFullScreen();
        _host->updatePanelLayout(false);
    }
}
