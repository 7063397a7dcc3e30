// The player panel: plays the chapters of one item as one timeline. The playback clock owns the
// position; on each tick the panel asks PlaybackSync what the engine must do and does it. A second
// engine opens the next chapter ahead so that the border shows its first frame at once.
#pragma once

#include "card/ChapterData.h"
#include "card/PictureDataUtil.h"
#include "player/CustomSliderCellDelegate.h"
#include "player/FrameSteps.h"
#include "player/MediaEngine.h"
#include "player/PausePictureKeeper.h"
#include "player/PlayMovieValueInfo.h"
#include "player/PlaybackClock.h"
#include "player/PlaybackSync.h"
#include "player/PlayerControls.h"
#include "player/PlayerEngines.h"
#include "player/TrackMarks.h"
#include "recording/CommonConst.h"

#include <QPointer>
#include <QString>
#include <QTimer>
#include <QWidget>

#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <vector>

class CardData;
class ChapterData;
class CustomSliderCell;
class MediaEngine;
class MoveProtectInfo;
class MoviePlayerViewDelegate;
class PanelFocusKeeper;
class PictureData;
class PlayMovieValueInfo;
class PlayerControls;
class PlayerPanelHost;
class PlayerView;
class QLabel;
class UserDefaultUtil;
class TrackSlider;

class MoviePlayerView : public QWidget, public CustomSliderCellDelegate
{
    Q_OBJECT
public:
    // Makes the media engines (the caller chooses which); the panel holds at most two at a time.
    using EngineFactory = PlayerEngines::EngineFactory;

    explicit MoviePlayerView(EngineFactory engineFactory, PlaybackClock::TimeSource time = {},
                             QWidget *parent = nullptr);
    ~MoviePlayerView() override;

    static constexpr int KOMA_START_INTERVAL = 200; // ms before a held frame step repeats
    static constexpr int KOMA_INTERVAL = 35;        // ms between repeats; also the step without a frame rate
    static constexpr float PLAY_RATE_NOMAL = 1.0f, PLAY_RATE_SLOW = 0.5f;

    // The main window (a MoviePlayerViewDelegate); calls are skipped once it is gone.
    void setDelegate(QObject *delegate) { _delegateObject = delegate; }

    // Loading and play states.
    void setEventMovie(CardData &card, const std::shared_ptr<MoveProtectInfo> &protectInfo);
    // The main window installs trip and adventure models here before preparePlayer.
    void setValueInfo(std::shared_ptr<PlayMovieValueInfo> info);
    const std::shared_ptr<PlayMovieValueInfo> &valueInfo() const { return _valueInfo; }
    bool autoPlay() const { return _autoPlay; }
    void setAutoPlay(bool on) { _autoPlay = on; }
    void preparePlayer();
    // Makes the engines the next item takes, one per pass of the event loop, while the player holds none
    // (as while a card is read): the item's preparation then makes none itself.
    void makeEnginesAhead();
    int spareEngines() const { return _engines->spareCount(); }
    void clearMovie(bool isLoading);
    void resetPlayer();
    void playMovie();
    // The picture on screen stays and the position comes to it; at the item's end and at the rates that
    // seek on every tick the picture goes to the position instead.
    void pauseMovie();
    void stopMovie();
    // Runs then once a pause's picture is at rest and the position names it: at once, or on a later pass
    // of the event loop while the engine still shows the pictures it had on their way.
    void whenPictureAtRest(std::function<void()> then) { _pictureKeeper.whenAtRest(std::move(then)); }
    void moveToPosition(int64_t position, CommonConst::PlayStatus status);
    void seekToCurrentValue();
    void syncPlayerPosition(int64_t value);
    void frameBack();
    void frameForward();
    void previousChapter() { jumpChapter(-1); }
    void nextChapter() { jumpChapter(1); }
    std::shared_ptr<ChapterData> prevAdventureChapter() { return _valueInfo->neighbourChapter(-1); }
    std::shared_ptr<ChapterData> nextAdventureChapter() { return _valueInfo->neighbourChapter(1); }

    // The clock tick, and the user's seek on the track bar.
    void trackbarValueChanged() override;
    void trackbarUserChanged();
    // A move is running (the per-frame display of the main window skips its work meanwhile).
    bool isPlayerSeek() const { return _isPlayerSeek; }

    std::shared_ptr<ChapterData> currentChapter() { return _valueInfo->currentChapter(); }
    std::shared_ptr<PictureData> currentPictureData()
    {
        const auto chapter = currentChapter();
        return chapter ? chapter->getPicture(true) : nullptr;
    }
    double frameRate() const { return engine() && engine()->hasItem() ? engine()->frameRate() : 0.0; }
    // The item's duration; on the last chapter the start of its last picture (a seek there still shows a
    // picture), or 100 ms less without a frame rate.
    int64_t movieDuration()
    {
        if (!engine() || !engine()->hasItem())
            return 0;
        const int64_t duration = engine()->durationMs();
        if (_valueInfo->currentIndex() != _valueInfo->chapterCount() - 1)
            return duration;
        const double fps = engine()->frameRate();
        return duration - (fps > 0.0 ? static_cast<int64_t>(1000.0 / fps) : 100);
    }
    // A frame step in ms where the chapter has no driving data to step by: 1000 / frame rate, or
    // KOMA_INTERVAL when the rate is unknown.
    int64_t frameStep() const
    {
        const double rate = frameRate();
        return rate > 0.0 ? static_cast<int64_t>(1000.0 / rate) : KOMA_INTERVAL;
    }

    // Rate, sound, labels and buttons, kept by the panel's controls.
    void applyPlayRate() { _controls->applyPlayRate(); }
    // Moves the speed slider to this rate's step as the user would, so that playing keeps it;
    // false, and nothing changed, for a rate the slider does not offer.
    bool setPlayRate(float rate) { return _controls->setPlayRate(rate); }
    float settingRate() const { return _settingRate; }
    // The engine's rate while the panel plays: above 2x it stays paused and every tick seeks.
    double enginePlayRate() const
    {
        return _settingRate > PlaybackSync::SETTING_RATE_PLAY ? 0.0 : double(_settingRate);
    }
    void setSettingRate(float rate);
    float volume() const { return _isMute ? _wkVolume : currentVolume(); }
    void setVolume(float value) { _controls->setVolume(value); }
    bool isMute() const { return _isMute; }
    void setMute(bool on) { _controls->setMute(on); }
    double gamma() const { return _gamma; }
    void setGamma(double value) { _controls->setGamma(value); }
    void updateDatetimeLabel() { _controls->updateDatetimeLabel(); }
    // The item's timeline took chapter lengths the workers learned: the track bar and labels follow.
    void timelineRefreshed();
    void updateDiffSecLabel() { _controls->updateDiffSecLabel(); }
    void updateControlButtons() { _controls->updateControlButtons(); }
    void updateToolButtons() { _controls->updateToolButtons(); }
    // The trim selection on the track bar, its label on the video and the trim button.
    void setTrimMode(bool on) { _controls->setTrimMode(on); }
    // The stopwatch's marks; while it runs the position cannot go back before holdStart.
    void updateStopWatchMarkers(StopWatchStatus status, int64_t start, std::vector<int64_t> laps,
                                int64_t stop, int64_t holdStart)
    {
        _controls->updateStopWatchMarkers(status, start, std::move(laps), stop, holdStart);
    }
    // The main window's list has an item before / after this one.
    void setPrevNextTrip(bool isPrevTrip, bool isNextTrip)
    {
        _controls->setPrevNextTrip(isPrevTrip, isNextTrip);
    }
    // The main window's side of the tool bar and item buttons, and the settings store that keeps the
    // volume, mute and brightness.
    void setHost(PlayerPanelHost *host) { _controls->setHost(host); }
    void setSettings(UserDefaultUtil *settings) { _controls->setSettings(settings); }
    PlayerControls *controls() const { return _controls; }
    // Ready for the controls: an item that can play, in a play state.
    bool isControlReady() const
    {
        return isPlayerReady() && _currentStatus != CommonConst::PlayStatus::NotReady;
    }

    // Movie time (ms) of the picture at the position, where a pause or a seek brings the engine on
    // screen; none while that engine holds another chapter or the position has no driving data.
    std::optional<int64_t> restingMovieTime() { return _pictureKeeper.restingMovieTime(); }

    CommonConst::PlayStatus currentStatus() const { return _currentStatus; }
    PlaybackClock *clock() const { return _clock.get(); }
    // The engine whose picture is on screen, and the one holding the next chapter.
    MediaEngine *engine() const { return _engines->current(); }
    MediaEngine *preparedEngine() const { return _engines->prepared(); }
    std::optional<int64_t> preparedChapterIndex() const { return _engines->preparedIndex(); }
    PlayerView *playerView() const { return _playerView; }
    TrackSlider *trackSlider() const { return _trackSlider; }
    CustomSliderCell *trackCell() const { return _cell; }
    // The chapter whose file is in the engine on screen.
    const std::shared_ptr<ChapterData> &currentChapterData() const { return _engines->loadedChapter(); }
    int64_t eventFrame() const { return _eventFrame; }
    const QString &backText() const { return _backText; }

signals:
    // A new picture is on screen: time in seconds into the current chapter's movie.
    void frameShown(double timeSec);

protected:
    bool focusNextPrevChild(bool next) override;

private:
    friend class PlayerControls;
    friend class PlayerAdjustments;
    friend class PausePictureKeeper;
    MoviePlayerViewDelegate *delegate() const;
    float currentVolume() const { return _controls->sliderVolume(); }
    // Puts the chapter's file into the engine on screen; alerts when it cannot be played.
    bool loadChapter(const std::shared_ptr<ChapterData> &chapter);
    void observePlayerItemStatus();
    void playerItemDidPlayToEndTime();
    bool isPlayerReady() const { return engine() && engine()->isPlayerReady(); }
    void syncChapterSelection();
    // The state to restore after a move: none while the engine is not ready.
    CommonConst::PlayStatus readyStatus() const
    {
        return isPlayerReady() ? _currentStatus : CommonConst::PlayStatus::NotReady;
    }
    int64_t chapterStart(int64_t index) const
    {
        return PictureDataUtil::getPosition(_valueInfo->timeline(), index, 0);
    }
    // Movie time of the frame at the position, capped by the movie's duration; at the item's very end the
    // last picture, which the rest of the movie after the last record leads to.
    int64_t seekTarget();
    bool isAtItemEnd();
    PlaybackSync::Input syncInput(int64_t position);
    void prepareNextChapter();
    // A move that tells the main window when it changed the chapter.
    void moveAndSync(int64_t position, CommonConst::PlayStatus status);
    void jumpChapter(int delta);
    // The pictures of each chapter's movie for the frame steps, read once per item.
    FrameSteps::PictureCount pictureCounts();
    void applyEngineStep(const PlaybackSync::Action &action);
    void swapToPrepared();

    std::shared_ptr<PlaybackClock> _clock;
    std::shared_ptr<PlayMovieValueInfo> _valueInfo;
    PlayerView *_playerView = nullptr;
    std::unique_ptr<PlayerEngines> _engines;
    TrackSlider *_trackSlider = nullptr;
    CustomSliderCell *_cell = nullptr;
    PlayerControls *_controls = nullptr;
    PanelFocusKeeper *_focusKeeper = nullptr;
    QPointer<QObject> _delegateObject;

    bool _autoPlay = false;
    bool _isProcessing = false;
    // The status of a prepared item is watched until it is ready.
    bool _isObservingStatus = false;
    // A chapter's file went into the engine on screen; its ready report refreshes the window.
    bool _isOpeningChapter = false;
    float _playRate = 1.0f;
    float _wkVolume = 1.0f;
    bool _isMute = false;
    QString _backText;
    CommonConst::PlayStatus _currentStatus = CommonConst::PlayStatus::NotReady;
    double _gamma = 1.0;
    float _settingRate = 1.0f;
    // The event moment on the timeline of an event recording, ms; -1 = none.
    int64_t _eventFrame = -1;
    bool _isPlayerSeek = false;
    QTimer _borderTimer;
    // A pause from play keeps the picture: the position follows the engine's pictures until it settles.
    PausePictureKeeper _pictureKeeper{*this};
};
