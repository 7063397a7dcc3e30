// The player panel: plays the chapters of one item as one timeline. The track bar's clock owns
// the position; the media engine is nudged to follow it, and the chapter's file is swapped when
// the position enters another chapter.
#pragma once

#include "player/CustomSliderCell.h"
#include "player/CustomSliderCellDelegate.h"
#include "recording/CommonConst.h"

#include <QPointer>
#include <QString>
#include <QWidget>

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>

class CardData;
class ChapterData;
class MediaEngine;
class MoveProtectInfo;
class MoviePlayerViewDelegate;
class PictureData;
class PlayMovieValueInfo;
class PlayerView;
class TrackSlider;

class MoviePlayerView : public QWidget, public CustomSliderCellDelegate
{
    Q_OBJECT
public:
    using EngineFactory = std::function<std::unique_ptr<MediaEngine>()>;

    // Without a factory the panel plays through libmpv.
    explicit MoviePlayerView(QWidget *parent = nullptr, EngineFactory engineFactory = {},
                             CustomSliderCell::Clock clock = {});
    ~MoviePlayerView() override;

    static constexpr int KOMA_START_INTERVAL = 200; // ms before a held frame step repeats
    static constexpr int KOMA_INTERVAL = 35;        // ms between repeats; also the step without a frame rate
    static constexpr float VOLUME_MAX = 1.0f, VOLUME_MIN = 0.0f, VOLUME_SILENCE = 0.0f;
    static constexpr double GAMMA_MAX = 5.0, GAMMA_MIN = 0.1, GAMMA_DEFAULT = 1.0;
    static constexpr float PLAY_RATE_NOMAL = 1.0f, PLAY_RATE_SLOW = 0.5f;
    static constexpr float SETTING_RATE_PLAY = 2.0f; // above it the engine stays paused and is seeked
    static constexpr int64_t TRIM_MAX_MS = 1800000;

    // The main window (a MoviePlayerViewDelegate); calls are skipped once it is gone.
    void setDelegate(QObject *delegate);

    // Loading and play states.
    void setEventMovie(CardData &card, const std::shared_ptr<MoveProtectInfo> &protectInfo);
    void preparePlayer();
    void clearMovie(bool isLoading);
    void resetPlayer();
    void playMovie();
    void pauseMovie();
    void stopMovie();
    void moveToPosition(int64_t position, CommonConst::PlayStatus status);
    void seekToCurrentValue();
    void syncPlayerPosition(int64_t value);
    void frameBack();
    void frameForward();
    void previousChapter();
    void nextChapter();
    std::shared_ptr<ChapterData> prevAdventureChapter();
    std::shared_ptr<ChapterData> nextAdventureChapter();

    // The clock tick, and the user's seek on the track bar.
    void trackbarValueChanged() override;
    void trackbarUserChanged();

    std::shared_ptr<ChapterData> currentChapter();
    std::shared_ptr<PictureData> currentPictureData();
    double frameRate() const;
    int64_t movieDuration();
    // One frame in ms: 1000 / frame rate, or KOMA_INTERVAL when the rate is unknown.
    int64_t frameStep() const;
    // The event moment on the timeline from the two camera counters; -1 when the event would lie
    // before the first chapter.
    static int64_t eventFrameOf(uint32_t eventTimeStamp, uint32_t firstChapterTimeStamp);
    // The brightness offset (-1 to 1) for a gamma setting (0.1 to 5).
    static double brightnessForGamma(double gamma);

    // Rate, sound, labels and buttons; the controls complete these.
    void applyPlayRate();
    void setPlayRate(float rate);
    float settingRate() const { return _settingRate; }
    void setSettingRate(float rate);
    void updateDatetimeLabel();
    void updateDiffSecLabel();
    void updateControlButtons();
    void updateToolButtons();

    CommonConst::PlayStatus currentStatus() const { return _currentStatus; }
    MediaEngine *engine() const { return _videoPlayer.get(); }
    PlayerView *playerView() const { return _playerView; }
    TrackSlider *trackSlider() const { return _trackSlider; }
    CustomSliderCell *trackCell() const { return _cell; }
    const std::shared_ptr<ChapterData> &currentChapterData() const { return _currentChapterData; }
    int64_t eventFrame() const { return _eventFrame; }
    const QString &backText() const { return _backText; }

    // Set by the main window before it prepares an item.
    bool autoPlay = false;
    bool _isNextTrip = false;
    bool _isPrevTrip = false;
    // The value model; the main window installs trip and adventure models here.
    std::shared_ptr<PlayMovieValueInfo> _valueInfo;

private:
    MoviePlayerViewDelegate *delegate() const;
    void createPlayer();
    // Checks the chapter's file; alerts and gives none when it cannot be played.
    std::optional<QString> makePlayerItem(const ChapterData &chapter);
    void observePlayerItemStatus();
    void playerItemDidPlayToEndTime();
    bool isPlayerReady() const;
    int64_t chapterStart(int64_t index) const;
    std::optional<uint32_t> movieTimeStampAt(int64_t position) const;

    EngineFactory _engineFactory;
    std::unique_ptr<MediaEngine> _videoPlayer;
    QPointer<QWidget> _videoWidget;
    PlayerView *_playerView = nullptr;
    TrackSlider *_trackSlider = nullptr;
    CustomSliderCell *_cell = nullptr;
    QPointer<QObject> _delegateObject;

    bool _isProcessing = false;
    // The status of a prepared item is watched until it is ready.
    bool _isObservingStatus = false;
    float _playRate = 1.0f;
    float _wkVolume = 1.0f;
    bool _isMute = false;
    QString _backText;
    CommonConst::PlayStatus _currentStatus = CommonConst::PlayStatus::NotReady;
    std::shared_ptr<ChapterData> _currentChapterData;
    double _gamma = 1.0;
    float _settingRate = 1.0f;
    // The event moment on the timeline of an event recording, ms; -1 = none.
    int64_t _eventFrame = -1;
    bool isPlayerSeek = false;
    // Ticks between two seeks that bring a lagging video back to the position.
    static constexpr int CATCH_UP_TICKS = 15;
    int _ticksSinceCatchUp = CATCH_UP_TICKS;
};
