// The player panel's rate, sound and brightness: the brightness and volume buttons and sliders of the
// tool bar and the speed slider with its labels, applied to the engines and kept in the settings.
#pragma once

#include <QObject>

#include <functional>

class CustomSliderCellMin;
class MoviePlayerView;
class QHBoxLayout;
class QLabel;
class QToolButton;
class QVariant;
class QWidget;
class UserDefaultUtil;

class PlayerAdjustments : public QObject
{
    Q_OBJECT
public:
    static constexpr double GAMMA_MIN = 0.1, GAMMA_MAX = 5.0, GAMMA_DEFAULT = 1.0;
    static constexpr float VOLUME_MIN = 0.0f, VOLUME_MAX = 1.0f;
    // Makes a small tool-bar button with an identifier and an image, already in the layout.
    using ButtonMaker = std::function<QToolButton *(const QString &name, const QString &image)>;

    PlayerAdjustments(MoviePlayerView &panel, QWidget *toolsView);

    // Brightness and volume controls, into the tool bar.
    void addSoundControls(QHBoxLayout *layout, const ButtonMaker &small);
    // The speed slider with its labels, into the control bar.
    void addSpeedControls(QHBoxLayout *layout, QWidget *parent);
    void setSettings(UserDefaultUtil *settings) { _settings = settings; }
    // The tool tips of the brightness and volume buttons while nothing is ready.
    void resetToolTips();

    void applyPlayRate();
    void setVolume(float value);
    void setMute(bool on);
    void setGamma(double value);
    float sliderVolume() const;

    CustomSliderCellMin *brightSlider() const { return _brightSlider; }
    CustomSliderCellMin *volumeSlider() const { return _volumeSlider; }
    CustomSliderCellMin *playSpeedSlider() const { return _playSpeedSlider; }
    QLabel *playSpeedRateLabel() const { return _playSpeedRateLabel; }

private:
    void store(const char *key, const QVariant &value);

    MoviePlayerView &_panel;
    QWidget *_toolsView;
    UserDefaultUtil *_settings = nullptr;
    QToolButton *_brightButton = nullptr, *_volumeButton = nullptr;
    CustomSliderCellMin *_brightSlider = nullptr, *_volumeSlider = nullptr, *_playSpeedSlider = nullptr;
    QLabel *_playSpeedSlowLabel = nullptr, *_playSpeedFastLabel = nullptr, *_playSpeedRateLabel = nullptr;
};
