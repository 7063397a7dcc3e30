#include "player/MoviePlayerView.h"

#include "player/CustomSliderCell.h"
#include "player/FrameSteps.h"
#include "player/MoviePlayerViewDelegate.h"
#include "player/PanelFocusKeeper.h"
#include "player/PlayerView.h"
#include "player/TrackSlider.h"

#include "card/MoveProtectInfo.h"

#include <algorithm>
#include <cmath>
#include <utility>

using PlayStatus = CommonConst::PlayStatus;
using PlayType = CommonConst::PlayType;
using Step = PlaybackSync::Step;

MoviePlayerView::MoviePlayerView(EngineFactory engineFactory, PlaybackClock::TimeSource time, QWidget *parent)
    : QWidget(parent), _clock(std::make_shared<PlaybackClock>(std::move(time))),
      _valueInfo(std::make_shared<PlayMovieValueInfo>())
{
    _playerView = new PlayerView(this);
    _engines = std::make_unique<PlayerEngines>(std::move(engineFactory), _playerView);
    connect(_engines.get(), &PlayerEngines::statusChanged, this, &MoviePlayerView::observePlayerItemStatus);
    connect(_engines.get(), &PlayerEngines::endOfItem, this, &MoviePlayerView::playerItemDidPlayToEndTime);
    connect(_engines.get(), &PlayerEngines::frameShown, this, [this](double timeSec) {
        _pictureKeeper.pictureShown(timeSec);
        emit frameShown(timeSec);
    });
    connect(_engines.get(), &PlayerEngines::pauseSettled, this, [this] { _pictureKeeper.stopKeeping(); });
    // An extra tick when the clock reaches a border swaps the chapters then, rather than up to a
    // tick later; the step is measured, so the rhythm keeps its pace.
    _borderTimer.setSingleShot(true);
    _borderTimer.setTimerType(Qt::PreciseTimer);
    connect(&_borderTimer, &QTimer::timeout, this, [this] {
        if (_currentStatus == PlayStatus::Play)
            _clock->tick();
    });
    _cell = new CustomSliderCell(_clock);
    _trackSlider = new TrackSlider(_cell, this);
    _controls = new PlayerControls(*this);
    _cell->setDelegate(this);
    _cell->setValueInfo(_valueInfo);
    connect(_cell, &CustomSliderCell::userValueChanged, this, [this] {
        trackbarUserChanged();
        _trackSlider->setFocus();
    });
    setFocusPolicy(Qt::ClickFocus);
    _focusKeeper = new PanelFocusKeeper(*this);
    _playerView->setGradient(true);
    updateDatetimeLabel();
    updateControlButtons();
    updateToolButtons();
}

MoviePlayerView::~MoviePlayerView()
{
    _clock->pause();
    _cell->setDelegate(nullptr);
    _engines.reset();
}

bool MoviePlayerView::focusNextPrevChild(bool next)
{
    return _focusKeeper->takeBack() || QWidget::focusNextPrevChild(next);
}

MoviePlayerViewDelegate *MoviePlayerView::delegate() const
{
    return _delegateObject ? dynamic_cast<MoviePlayerViewDelegate *>(_delegateObject.data()) : nullptr;
}

void MoviePlayerView::syncChapterSelection()
{
    if (auto *d = delegate())
        d->syncChapterSelection();
}

void MoviePlayerView::setEventMovie(CardData &card, const std::shared_ptr<MoveProtectInfo> &protectInfo)
{
    setValueInfo(std::make_shared<PlayMovieValueInfo>(card, protectInfo));
    _valueInfo->setCurrentValue(_valueInfo->minValue());
    // The event's moment is the clip's: its place on the timeline, where its picture and its record are.
    _eventFrame = _valueInfo->chapterDataList().empty() ? -1 : _valueInfo->eventValue().value_or(-1);
    preparePlayer();
    updateDatetimeLabel();
    updateToolButtons();
    updateDiffSecLabel();
    updateControlButtons();
}

void MoviePlayerView::setValueInfo(std::shared_ptr<PlayMovieValueInfo> info)
{
    _valueInfo = info ? std::move(info) : std::make_shared<PlayMovieValueInfo>();
    // The position moves into the panel's clock; the track bar takes the model at preparation.
    _valueInfo->attachClock(_clock);
    _engines->dropPrepared();
}

void MoviePlayerView::timelineRefreshed()
{
    // The event's moment moved with its picture.
    if (_eventFrame >= 0)
        _eventFrame = _valueInfo->eventValue().value_or(-1);
    _cell->timelineRefreshed(_valueInfo);
}

void MoviePlayerView::preparePlayer()
{
    if (_engines->ensureCurrent())
        applyPlayRate();
    // An item of several chapters crosses borders: their engine is made now, not while a picture plays.
    if (_valueInfo->chapterDataList().size() > 1)
        _engines->ensureStandby();
    MediaEngine *player = _engines->current();
    if (_currentStatus == PlayStatus::Play)
        player->pause();
    const auto chapter = _valueInfo->currentChapter();
    _engines->setLoaded(chapter, _valueInfo->currentIndex());
    if (chapter && !loadChapter(chapter)) {
        // The previous item's movie must not go on playing under the new item's chapter.
        pauseMovie();
        player->removeItem();
        return;
    }
    if (player->hasItem()) {
        if (player->isPlayerReady()) {
            // Stopped means the clock stands too, also when the previous item was playing.
            _currentStatus = PlayStatus::Stop;
            _clock->pause();
        } else {
            _isObservingStatus = true;
        }
        player->seekExact(_valueInfo->minValue());
    }
    _cell->setValueInfo(_valueInfo);
    _playerView->setCutFile(PlayMovieValueInfo::isCutChapter(chapter.get()));
    _playerView->setPlayerLayer(_engines->currentWidget());
    _playerView->attachPlayer();
}

void MoviePlayerView::makeEnginesAhead()
{
    QTimer::singleShot(0, this, [this] {
        // An item that came meanwhile made what it needs; a spare made now would only wait.
        if (_engines->current() || _engines->spareCount() >= PlayerEngines::SPARES)
            return;
        _engines->makeSpare();
        makeEnginesAhead();
    });
}

bool MoviePlayerView::loadChapter(const std::shared_ptr<ChapterData> &chapter)
{
    const auto result = _engines->load(*chapter, PlayerEngines::brightnessForGamma(_gamma));
    auto *d = delegate();
    if (d && result == PlayerEngines::LoadResult::Missing)
        d->showFileNotFound();
    else if (d && result == PlayerEngines::LoadResult::Unplayable)
        d->showLoadFailed();
    return result == PlayerEngines::LoadResult::Loaded;
}

// Main thread: the engine on screen reports its item's status.
void MoviePlayerView::observePlayerItemStatus()
{
    MediaEngine *player = engine();
    if (!player || !player->hasItem())
        return;
    if (player->status() != MediaEngine::Status::ReadyToPlay) {
        if (_isObservingStatus)
            pauseMovie();
        return;
    }
    if (_isObservingStatus) {
        _isObservingStatus = false;
        _currentStatus = PlayStatus::Pause;
        if (_autoPlay)
            playMovie();
        else
            stopMovie();
    } else if (!std::exchange(_isOpeningChapter, false)) {
        return; // the same item reported again
    } else if (_currentStatus == PlayStatus::Play) {
        // The seek made when the chapter's file went in is stale by the time it took to open.
        seekToCurrentValue();
    }
    // The item's or a new chapter's picture is there, in every play state: the window shows its position.
    updateControlButtons();
    syncChapterSelection();
}

void MoviePlayerView::clearMovie(bool isLoading)
{
    _backText = isLoading ? tr("Now Loading") : QString();
    resetPlayer();
    _playerView->setGradient(false);
    _playerView->setBackText(_backText);
    updateControlButtons();
    updateDiffSecLabel();
    updateDatetimeLabel();
    updateToolButtons();
}

void MoviePlayerView::resetPlayer()
{
    _pictureKeeper.stopKeeping();
    _clock->pause();
    if (MediaEngine *player = engine()) {
        player->pause();
        player->removeItem();
    }
    _engines->reset();
    _isObservingStatus = false;
    _playerView->attachPlayer();
    setValueInfo(nullptr);
    _cell->setValueInfo(_valueInfo);
    _currentStatus = PlayStatus::NotReady;
}

void MoviePlayerView::playMovie()
{
    if (!isPlayerReady()) {
        // The item's status report starts playback.
        _autoPlay = true;
        return;
    }
    if (_currentStatus == PlayStatus::Play)
        return;
    _pictureKeeper.stopKeeping();
    // The rate reaches the engine while it rests: set while playing, it would start the engine, and until
    // the pause below reaches the core too the movie runs ahead of the clock, which has not started.
    applyPlayRate();
    _currentStatus = PlayStatus::Play;
    // The correction of the next tick starts the engine, at the rate it already has.
    engine()->setRate(0.0);
    engine()->presetRate(enginePlayRate());
    _clock->play();
    updateControlButtons();
    updateToolButtons();
    _autoPlay = false;
}

void MoviePlayerView::pauseMovie()
{
    if (_currentStatus == PlayStatus::NotReady || _currentStatus == PlayStatus::Pause)
        return;
    const bool wasPlaying = _currentStatus == PlayStatus::Play;
    _currentStatus = PlayStatus::Pause;
    _clock->pause();
    _pictureKeeper.pause(wasPlaying);
    updateControlButtons();
    updateToolButtons();
}

void MoviePlayerView::stopMovie()
{
    if (_currentStatus == PlayStatus::NotReady || _currentStatus == PlayStatus::Stop)
        return;
    _pictureKeeper.stopKeeping();
    _currentStatus = PlayStatus::Stop;
    _clock->pause();
    if (engine())
        engine()->pause();
    int64_t start = _valueInfo->effectiveStart();
    // A trip or an adventure stops at the start of the chapter being played.
    if (_valueInfo->playType() == PlayType::Movie || _valueInfo->playType() == PlayType::Adventure)
        start = chapterStart(_valueInfo->currentIndex());
    _valueInfo->setCurrentValue(start);
    trackbarValueChanged();
    if (isPlayerReady())
        seekToCurrentValue();
    updateControlButtons();
    updateToolButtons();
}

void MoviePlayerView::moveToPosition(int64_t position, PlayStatus status)
{
    if (_valueInfo->chapterDataList().empty() || _isPlayerSeek)
        return;
    _isPlayerSeek = true;
    pauseMovie();
    _pictureKeeper.stopKeeping();
    // A movie running out at the item's end stops with the move.
    if (engine() && engine()->rate() > 0.0)
        engine()->pause();
    _valueInfo->setCurrentValue(position);

    const auto chapter = _valueInfo->currentChapter();
    if (chapter && chapter != currentChapterData()) {
        if (chapter == _engines->preparedChapter() && _engines->isPreparedReady()) {
            swapToPrepared();
        } else {
            _engines->setLoaded(chapter, _valueInfo->currentIndex());
            if (!engine() || !loadChapter(chapter)) {
                // The old chapter's movie must not stay on screen under the new chapter; the
                // position stays in the new chapter, or the next tick would take it back.
                if (engine())
                    engine()->removeItem();
                _isPlayerSeek = false;
                return;
            }
            _isOpeningChapter = true;
        }
    }
    trackbarValueChanged();
    seekToCurrentValue();

    if (status == PlayStatus::Play) {
        playMovie();
    } else if (status != PlayStatus::NotReady) {
        _valueInfo->setCurrentValue(_valueInfo->currentValue());
        const int64_t value = _valueInfo->currentValue();
        if (value == _clock->minimum() || value == chapterStart(_valueInfo->currentIndex()))
            stopMovie();
        else
            pauseMovie();
    }
    updateControlButtons();
    _isPlayerSeek = false;
}

PlaybackSync::Input MoviePlayerView::syncInput(int64_t position)
{
    PlaybackSync::Input in;
    in.rate = _settingRate;
    in.isPlaying = _currentStatus == PlayStatus::Play;
    in.isTrimSpanReached = _cell->marks().isTrimSpanReached(static_cast<double>(position));
    in.durationMs = movieDuration();
    _engines->describe(in);
    _valueInfo->describe(in, position);
    return in;
}

// Main thread: every tick of the clock, and whenever a setter of the position notifies.
void MoviePlayerView::trackbarValueChanged()
{
    // A move while paused has no tick to redraw the knob.
    _trackSlider->update();
    updateDatetimeLabel();
    updateDiffSecLabel();
    updateControlButtons();
    // The model's bounds (stopwatch, trim) are narrower than the clock's range.
    _valueInfo->setCurrentValue(_valueInfo->currentValue());
    const auto action = PlaybackSync::decide(syncInput(_valueInfo->currentValue()));
    if (action.step == Step::SwapPrepared || action.step == Step::ChangeChapter) {
        if (action.step == Step::SwapPrepared && !_isPlayerSeek)
            swapToPrepared();
        else
            moveToPosition(_valueInfo->currentValue(), readyStatus());
        syncChapterSelection();
        return;
    }
    if (action.step == Step::PausePanel)
        pauseMovie();
    else
        applyEngineStep(action);
    if (action.prepareNext)
        prepareNextChapter();
    if (action.swapInMs)
        _borderTimer.start(static_cast<int>(std::ceil(*action.swapInMs)));
    if (auto *d = delegate())
        d->updateFrameWithStopWatch();
}

void MoviePlayerView::syncPlayerPosition(int64_t value)
{
    if (!isPlayerReady())
        return;
    PlaybackSync::Input in = syncInput(value);
    in.positionChapter = in.loadedChapter;
    in.isTrimSpanReached = false;
    in.maximum = INT64_MAX;
    applyEngineStep(PlaybackSync::decide(in));
}

void MoviePlayerView::applyEngineStep(const PlaybackSync::Action &action)
{
    // Finding the frame of a seek target is only worth it for a seek.
    const bool seeks = action.step == Step::SeekEngine;
    _engines->apply(action, seeks ? seekTarget() : 0);
}

void MoviePlayerView::prepareNextChapter()
{
    const int64_t next = *_engines->loadedIndex() + 1;
    const auto chapter = _valueInfo->chapterDataList()[static_cast<size_t>(next)];
    const auto firstFrame = _valueInfo->movieTimeAt(chapterStart(next));
    _engines->prepare(next, chapter, firstFrame ? *firstFrame : 0, PlayerEngines::brightnessForGamma(_gamma),
                      enginePlayRate());
}

void MoviePlayerView::swapToPrepared()
{
    _engines->swap();
    _playerView->setCutFile(PlayMovieValueInfo::isCutChapter(currentChapterData().get()));
    if (_currentStatus == PlayStatus::Play && _settingRate <= PlaybackSync::SETTING_RATE_PLAY)
        engine()->setRate(_settingRate); // its first frame is the clock's: it runs from there at once
    else if (_currentStatus == PlayStatus::Play)
        syncPlayerPosition(_valueInfo->currentValue());
}

int64_t MoviePlayerView::seekTarget()
{
    if (isAtItemEnd())
        return movieDuration();
    const auto target = _valueInfo->movieTimeOfCurrentFrame();
    return std::min<int64_t>(target ? *target : 0, movieDuration());
}

bool MoviePlayerView::isAtItemEnd()
{
    const int64_t last = _valueInfo->chapterCount() - 1;
    return last >= 0 && _valueInfo->currentIndex() == last &&
           _valueInfo->currentValue() >= PictureDataUtil::getTotalLength(_valueInfo->timeline());
}

void MoviePlayerView::seekToCurrentValue()
{
    _pictureKeeper.stopKeeping();
    if (engine())
        engine()->seekExact(seekTarget());
}

void MoviePlayerView::trackbarUserChanged()
{
    updateDatetimeLabel();
    updateDiffSecLabel();
    updateControlButtons();
    const auto before = currentChapterData();
    moveToPosition(_valueInfo->currentValue(), readyStatus());
    if (currentChapterData() != before)
        syncChapterSelection();
    if (auto *d = delegate())
        d->updateFrameDisplay(false);
}

// Main thread: the engine on screen reached the end of its item. The clock keeps running; the
// chapter changes when the position enters the next one.
void MoviePlayerView::playerItemDidPlayToEndTime()
{
    if (currentChapterData() != _valueInfo->currentChapter()) {
        moveToPosition(_valueInfo->currentValue(), PlayStatus::Play);
        syncChapterSelection();
    } else if (engine()) {
        engine()->pause();
    }
}

void MoviePlayerView::moveAndSync(int64_t position, PlayStatus status)
{
    const int64_t index = _valueInfo->currentIndex();
    moveToPosition(position, status);
    if (index != _valueInfo->currentIndex())
        syncChapterSelection();
}

void MoviePlayerView::frameBack()
{
    const int64_t current = _valueInfo->currentValue();
    const int64_t target =
        FrameSteps::neighbour(_valueInfo->timeline(), current, -1, frameRate(), pictureCounts())
            .value_or(current - frameStep());
    if (target > _clock->minimum())
        moveAndSync(target, PlayStatus::Pause);
    else
        moveToPosition(_clock->minimum(), PlayStatus::Stop);
}

void MoviePlayerView::frameForward()
{
    if (isPlayerReady() && _currentStatus == PlayStatus::Play) {
        pauseMovie();
        return;
    }
    const int64_t current = _valueInfo->currentValue();
    const int64_t target =
        FrameSteps::neighbour(_valueInfo->timeline(), current, 1, frameRate(), pictureCounts())
            .value_or(current + frameStep());
    moveAndSync(std::min(_clock->maximum(), target), PlayStatus::Pause);
}

FrameSteps::PictureCount MoviePlayerView::pictureCounts()
{
    return [info = _valueInfo](int64_t index) { return info->pictureCount(index); };
}

void MoviePlayerView::jumpChapter(int delta)
{
    const int64_t target = _valueInfo->currentIndex() + delta;
    if (!engine() || _isProcessing || target < 0 || target >= _valueInfo->chapterCount())
        return;
    _isProcessing = true;
    moveToPosition(chapterStart(target), readyStatus());
    updateControlButtons();
    updateDiffSecLabel();
    syncChapterSelection();
    _isProcessing = false;
}

void MoviePlayerView::setSettingRate(float rate)
{
    _settingRate = rate;
    _clock->setRate(rate);
    if (isPlayerReady() && _currentStatus == PlayStatus::Play)
        engine()->setRate(enginePlayRate());
    else
        _engines->presetRate(enginePlayRate());
}
