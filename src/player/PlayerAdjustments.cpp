#include "player/PlayerAdjustments.h"

#include "player/CustomSliderCellMin.h"
#include "player/MoviePlayerView.h"
#include "player/PlayerPanelRules.h"

#include "recording/UserDefaultUtil.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QToolButton>

#include <algorithm>

PlayerAdjustments::PlayerAdjustments(MoviePlayerView &panel, QWidget *toolsView)
    : QObject(&panel), _panel(panel), _toolsView(toolsView)
{
}

void PlayerAdjustments::addSoundControls(QHBoxLayout *layout, const ButtonMaker &small)
{
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
    _brightButton->setToolTip(tr("Standard brightness"));
    _volumeButton->setToolTip(tr("Mute"));
    _brightSlider->setDoubleValue(GAMMA_DEFAULT);
    _volumeSlider->setDoubleValue(VOLUME_MAX);

    // Both buttons take the focus when clicked, as the sliders do.
    connect(_brightButton, &QToolButton::clicked, this, [this] {
        setGamma(GAMMA_DEFAULT);
        _brightButton->setFocus(Qt::MouseFocusReason);
    });
    connect(_brightSlider, &QSlider::valueChanged, this, [this] { setGamma(_brightSlider->doubleValue()); });
    connect(_volumeButton, &QToolButton::clicked, this, [this] {
        setMute(!_volumeButton->isChecked());
        applyPlayRate();
        _volumeButton->setFocus(Qt::MouseFocusReason);
    });
    connect(_volumeSlider, &QSlider::valueChanged, this, [this] {
        if (!_panel._isMute) {
            setVolume(static_cast<float>(_volumeSlider->doubleValue()));
            applyPlayRate();
        }
    });
}

void PlayerAdjustments::addSpeedControls(QHBoxLayout *layout, QWidget *parent)
{
    _playSpeedSlowLabel = new QLabel(QStringLiteral("×0.5"), parent);
    _playSpeedSlider = new CustomSliderCellMin(QStringLiteral("speed"), 0, 5, 1, parent);
    _playSpeedSlider->setFixedWidth(110);
    _playSpeedSlider->setPageStep(1);
    _playSpeedSlider->setValue(1);
    _playSpeedFastLabel = new QLabel(QStringLiteral("×10"), parent);
    _playSpeedRateLabel = new QLabel(PlayerPanelRules::rateForSlider(1).text, parent);
    _playSpeedRateLabel->setMinimumWidth(110);
    for (QLabel *l : {_playSpeedSlowLabel, _playSpeedFastLabel, _playSpeedRateLabel}) {
        l->setStyleSheet(QStringLiteral("color: #c8ccd0;"));
    }
    layout->addWidget(_playSpeedSlowLabel);
    layout->addWidget(_playSpeedSlider);
    layout->addWidget(_playSpeedFastLabel);
    layout->addSpacing(8);
    layout->addWidget(_playSpeedRateLabel);

    connect(_playSpeedSlider, &QSlider::valueChanged, this, [this] { applyPlayRate(); });
}

void PlayerAdjustments::resetToolTips()
{
    _brightButton->setToolTip(tr("Standard brightness"));
    _volumeButton->setToolTip(_panel._isMute ? tr("take off mute") : tr("Mute"));
}

void PlayerAdjustments::store(const char *key, const QVariant &value)
{
    if (_settings)
        _settings->setValue(QLatin1String(key), value);
}

void PlayerAdjustments::applyPlayRate()
{
    const auto step = PlayerPanelRules::rateForSlider(_playSpeedSlider->value());
    _panel._playRate = step.rate;
    _playSpeedRateLabel->setText(step.text);
    _panel.setSettingRate(step.rate);
    _panel._engines->setSound(_panel._isMute,
                              _panel._isMute ? _panel._wkVolume : _volumeSlider->doubleValue());
}

float PlayerAdjustments::sliderVolume() const
{
    return static_cast<float>(_volumeSlider->doubleValue());
}

void PlayerAdjustments::setVolume(float value)
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

void PlayerAdjustments::setMute(bool on)
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

void PlayerAdjustments::setGamma(double value)
{
    _panel._gamma = std::clamp(value, GAMMA_MIN, GAMMA_MAX);
    {
        const QSignalBlocker block(_brightSlider);
        _brightSlider->setDoubleValue(_panel._gamma);
    }
    // Both engines, the next chapter's too. The engine draws the picture on screen again with the new
    // brightness, paused too: stepping a frame on and back for it would let the movie run on between.
    _panel._engines->setBrightness(PlayerEngines::brightnessForGamma(_panel._gamma));
    if (_settings)
        _settings->viewerGamma = _panel._gamma;
    store(UserDefaultUtil::KEY_VIEWER_GAMMA, _panel._gamma);
}
