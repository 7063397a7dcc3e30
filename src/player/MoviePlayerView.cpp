#include "player/MoviePlayerView.h"

#include "player/MediaEngine.h"
#include "player/MoviePlayerViewDelegate.h"
#include "player/MpvEngine.h"
#include "player/PlayMovieValueInfo.h"
#include "player/PlayerView.h"
#include "player/TrackSlider.h"

#include "card/ChapterData.h"
#include "card/MoveProtectInfo.h"
#include "card/PictureDataUtil.h"
#include "recording/PictureData.h"
#include "recording/VideoFrame.h"
#include "recording/VideoInfo.h"

#include <QFileInfo>
#include <QVBoxLayout>

#include <algorithm>
#include <cmath>

using PlayStatus = CommonConst::PlayStatus;
using PlayType = CommonConst::PlayType;

namespace {

int32_t narrow(int64_t value)
{
    return static_cast<int32_t>(std::clamp<int64_t>(value, INT32_MIN, INT32_MAX));
}

} // namespace

MoviePlayerView::MoviePlayerView(QWidget *parent, EngineFactory engineFactory, CustomSliderCell::Clock clock)
    : QWidget(parent), _valueInfo(std::make_shared<PlayMovieValueInfo>()),
      _engineFactory(std::move(engineFactory))
{
    if (!_engineFactory)
        _engineFactory = [] { return std::make_unique<MpvEngine>(); };
    _backText = QString();

    _playerView = new PlayerView(this);
    _cell = new CustomSliderCell(nullptr, std::move(clock));
    _trackSlider = new TrackSlider(_cell, this);
    _cell->setDelegate(this);
    _cell->setValueInfo(_valueInfo);
    connect(_cell, &CustomSliderCell::userValueChanged, this, [this] {
        trackbarUserChanged();
        _trackSlider->setFocus();
    });

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(2);
    layout->addWidget(_playerView, 1);
    layout->addWidget(_trackSlider);
}

MoviePlayerView::~MoviePlayerView()
{
    // The video widget's render context goes before the engine's core.
    _cell->isPlay = false;
    _cell->restartClock();
    _cell->setDelegate(nullptr);
    delete _videoWidget.data();
    _videoPlayer.reset();
}

void MoviePlayerView::setDelegate(QObject *delegate)
{
    _delegateObject = delegate;
}

MoviePlayerViewDelegate *MoviePlayerView::delegate() const
{
    return _delegateObject ? dynamic_cast<MoviePlayerViewDelegate *>(_delegateObject.data()) : nullptr;
}

bool MoviePlayerView::isPlayerReady() const
{
    return _videoPlayer && _videoPlayer->isPlayerReady();
}

// --- derived values ---

std::shared_ptr<ChapterData> MoviePlayerView::currentChapter()
{
    return _valueInfo->currentChapter();
}

std::shared_ptr<PictureData> MoviePlayerView::currentPictureData()
{
    const auto chapter = currentChapter();
    return chapter ? chapter->getPicture(true) : nullptr;
}

double MoviePlayerView::frameRate() const
{
    return _videoPlayer && _videoPlayer->hasItem() ? _videoPlayer->frameRate() : 0.0;
}

int64_t MoviePlayerView::movieDuration()
{
    if (!_videoPlayer || !_videoPlayer->hasItem())
        return 0;
    int64_t duration = _videoPlayer->durationMs();
    const int64_t index = _valueInfo->currentIndex();
    if (index >= 0 && index == _valueInfo->chapterCount() - 1)
        duration -= 100;
    return duration;
}

int64_t MoviePlayerView::frameStep() const
{
    const double rate = frameRate();
    return rate > 0.0 ? static_cast<int64_t>(1000.0 / rate) : KOMA_INTERVAL;
}

int64_t MoviePlayerView::eventFrameOf(uint32_t eventTimeStamp, uint32_t firstChapterTimeStamp)
{
    // Both are unsigned camera counters: subtract in 64 bits rather than wrap around.
    const int64_t frame = static_cast<int64_t>(eventTimeStamp) - static_cast<int64_t>(firstChapterTimeStamp);
    return frame >= 0 ? frame : -1;
}

double MoviePlayerView::brightnessForGamma(double g)
{
    if (g == 1.0)
        return 0.0;
    if (g < 1.0)
        return g * 0.3 + 0.7 - 1.0;
    return ((5.0 - g) * -0.25 + 1.0) * 0.4;
}

int64_t MoviePlayerView::chapterStart(int64_t index) const
{
    return PictureDataUtil::getPosition(_valueInfo->timeline(), index, 0);
}

std::optional<uint32_t> MoviePlayerView::movieTimeStampAt(int64_t position) const
{
    return PictureDataUtil::getMovieTimeStamp(_valueInfo->timeline(), narrow(position));
}

// --- loading ---

void MoviePlayerView::setEventMovie(CardData &card, const std::shared_ptr<MoveProtectInfo> &protectInfo)
{
    _valueInfo = std::make_shared<PlayMovieValueInfo>(card, protectInfo);
    _valueInfo->setCurrentValue(_valueInfo->_minValue);
    _eventFrame = -1;
    if (!_valueInfo->_chapterDataList.empty() && protectInfo)
        _eventFrame =
            eventFrameOf(protectInfo->_timeStamp, _valueInfo->_chapterDataList.front()->timeStamp());
    preparePlayer();
    updateDatetimeLabel();
    updateToolButtons();
    updateDiffSecLabel();
    updateControlButtons();
}

void MoviePlayerView::createPlayer()
{
    _videoPlayer = _engineFactory();
    // Connected once, to this player only.
    connect(_videoPlayer.get(), &MediaEngine::statusChanged, this, &MoviePlayerView::observePlayerItemStatus);
    connect(_videoPlayer.get(), &MediaEngine::endOfItem, this, &MoviePlayerView::playerItemDidPlayToEndTime);
    _videoWidget = _videoPlayer->createVideoWidget(_playerView);
}

void MoviePlayerView::preparePlayer()
{
    if (!_videoPlayer) {
        createPlayer();
        applyPlayRate();
    }
    if (_currentStatus == PlayStatus::Play)
        _videoPlayer->pause();
    _currentChapterData = _valueInfo->currentChapter();
    if (_currentChapterData) {
        const auto path = makePlayerItem(*_currentChapterData);
        if (!path) {
            // The previous item's movie must not go on playing under the new item's chapter.
            pauseMovie();
            _videoPlayer->removeItem();
            return;
        }
        _videoPlayer->replaceItem(*path);
    }
    if (_videoPlayer->hasItem()) {
        if (_videoPlayer->isPlayerReady())
            _currentStatus = PlayStatus::Stop;
        else
            _isObservingStatus = true;
        _videoPlayer->seekExact(_valueInfo->_minValue);
    }
    _cell->setValueInfo(_valueInfo);

    bool isCut = false;
    if (_currentChapterData) {
        const auto picture = _currentChapterData->getPicture(true);
        isCut = picture && picture->video && picture->video->isCutVideo();
    }
    _playerView->isCutFile = isCut;
    _playerView->setPlayerLayer(_videoWidget);
    _playerView->attachPlayer();
}

std::optional<QString> MoviePlayerView::makePlayerItem(const ChapterData &chapter)
{
    const QString path = chapter._pathMp4.toLocalFile();
    if (!QFileInfo(path).isFile()) {
        if (auto *d = delegate())
            d->showFileNotFound();
        return std::nullopt;
    }
    if (!_videoPlayer || !_videoPlayer->canPlay(path)) {
        if (auto *d = delegate())
            d->showLoadFailed();
        return std::nullopt;
    }
    _videoPlayer->setBrightness(brightnessForGamma(_gamma));
    return path;
}

// Main thread: the engine reports the item's status.
void MoviePlayerView::observePlayerItemStatus()
{
    if (!_videoPlayer || !_videoPlayer->hasItem())
        return;
    if (!_isObservingStatus) {
        // A chapter's file opened while the clock ran on: the seek made when it was swapped in is
        // stale by the time it took to open, so go to the position once more.
        if (_videoPlayer->status() == MediaEngine::Status::ReadyToPlay && _currentStatus == PlayStatus::Play)
            seekToCurrentValue();
        return;
    }
    if (_videoPlayer->status() != MediaEngine::Status::ReadyToPlay) {
        pauseMovie();
        return;
    }
    _isObservingStatus = false;
    _currentStatus = PlayStatus::Pause;
    if (autoPlay)
        playMovie();
    else
        stopMovie();
    if (auto *d = delegate())
        d->syncChapterSelection();
}

void MoviePlayerView::clearMovie(bool isLoading)
{
    _backText = isLoading ? tr("Now Loading") : QString();
    resetPlayer();
    updateControlButtons();
    updateDiffSecLabel();
    updateDatetimeLabel();
    updateToolButtons();
}

void MoviePlayerView::resetPlayer()
{
    _cell->isPlay = false;
    _cell->restartClock();
    if (_videoPlayer) {
        _videoPlayer->pause();
        _videoPlayer->removeItem();
    }
    _playerView->setPlayerLayer(nullptr);
    _videoWidget = nullptr;
    _videoPlayer.reset();
    _isObservingStatus = false;
    _playerView->attachPlayer();
    _valueInfo = std::make_shared<PlayMovieValueInfo>();
    _cell->setValueInfo(_valueInfo);
    _currentStatus = PlayStatus::NotReady;
}

// --- play states ---

void MoviePlayerView::playMovie()
{
    if (!isPlayerReady()) {
        // The item's status report starts playback.
        autoPlay = true;
        return;
    }
    if (_currentStatus == PlayStatus::Play)
        return;
    _currentStatus = PlayStatus::Play;
    applyPlayRate();
    // The correction of the next tick starts the engine.
    _videoPlayer->setRate(0.0);
    _cell->isPlay = true;
    _cell->restartClock();
    updateControlButtons();
    updateToolButtons();
    autoPlay = false;
}

void MoviePlayerView::pauseMovie()
{
    if (_currentStatus == PlayStatus::NotReady || _currentStatus == PlayStatus::Pause)
        return;
    _currentStatus = PlayStatus::Pause;
    _cell->isPlay = false;
    _cell->restartClock();
    if (_videoPlayer)
        _videoPlayer->pause();
    updateControlButtons();
    updateToolButtons();
}

void MoviePlayerView::stopMovie()
{
    if (_currentStatus == PlayStatus::NotReady || _currentStatus == PlayStatus::Stop)
        return;
    _currentStatus = PlayStatus::Stop;
    _cell->isPlay = false;
    _cell->restartClock();
    if (_videoPlayer)
        _videoPlayer->pause();

    int64_t start = _valueInfo->_minValue;
    if (_valueInfo->_startValueStopwatch)
        start = std::max(start, *_valueInfo->_startValueStopwatch);
    if (_valueInfo->_startValueMovieCut)
        start = std::max(start, *_valueInfo->_startValueMovieCut);
    // A trip or an adventure stops at the start of the chapter being played.
    if (_valueInfo->_playType == PlayType::Movie || _valueInfo->_playType == PlayType::Adventure)
        start = chapterStart(_valueInfo->currentIndex());
    _valueInfo->setCurrentValue(start);
    _cell->setIntegerValue(_valueInfo->_currentValue);
    trackbarValueChanged();
    if (isPlayerReady())
        seekToCurrentValue();
    updateControlButtons();
    updateToolButtons();
}

void MoviePlayerView::moveToPosition(int64_t position, PlayStatus status)
{
    if (_valueInfo->_chapterDataList.empty() || isPlayerSeek)
        return;
    isPlayerSeek = true;
    pauseMovie();
    _valueInfo->setCurrentValue(position);

    const auto chapter = _valueInfo->currentChapter();
    if (chapter && chapter != _currentChapterData) {
        _currentChapterData = chapter;
        const auto path = _videoPlayer ? makePlayerItem(*chapter) : std::nullopt;
        if (!path) {
            // The old chapter's movie must not stay on screen under the new chapter.
            if (_videoPlayer)
                _videoPlayer->removeItem();
            // The track bar stays with the new chapter too, or the next tick would take the
            // position back to the old one.
            _cell->valueInfo()->setCurrentValue(_valueInfo->_currentValue);
            _cell->setIntegerValue(_valueInfo->_currentValue);
            isPlayerSeek = false;
            return;
        }
        _videoPlayer->replaceItem(*path);
    }

    _cell->valueInfo()->setCurrentValue(_valueInfo->_currentValue);
    _cell->setIntegerValue(_valueInfo->_currentValue);
    trackbarValueChanged();
    seekToCurrentValue();

    switch (status) {
    case PlayStatus::NotReady:
        break;
    case PlayStatus::Play:
        playMovie();
        break;
    case PlayStatus::Pause:
    case PlayStatus::Stop: {
        _valueInfo->setCurrentValue(_cell->integerValue());
        const int64_t value = _valueInfo->_currentValue;
        if (value == static_cast<int64_t>(_cell->minValue()) ||
            value == chapterStart(_valueInfo->currentIndex()))
            stopMovie();
        else
            pauseMovie();
        break;
    }
    }
    updateControlButtons();
    isPlayerSeek = false;
}

// --- the clock ---

// Main thread: every tick of the track bar's clock, and whenever a setter of the position notifies.
void MoviePlayerView::trackbarValueChanged()
{
    if (_cell->selectFrame() &&
        std::floor(_cell->doubleValue()) - static_cast<double>(_cell->_selectStartSumFrameTS) >= TRIM_MAX_MS)
        pauseMovie();
    updateDatetimeLabel();
    updateDiffSecLabel();
    updateControlButtons();

    // The chapter is compared before the new value is taken: a border crossed on this tick swaps
    // the file on the next one.
    if (_currentChapterData == _valueInfo->currentChapter()) {
        _valueInfo->setCurrentValue(_cell->integerValue());
        if (static_cast<int64_t>(_cell->maxValue()) <= _valueInfo->_currentValue)
            pauseMovie();
        syncPlayerPosition(_valueInfo->_currentValue);
        if (auto *d = delegate())
            d->updateFrameWithStopWatch();
    } else {
        const PlayStatus status = isPlayerReady() ? _currentStatus : PlayStatus::NotReady;
        moveToPosition(_valueInfo->_currentValue, status);
        if (auto *d = delegate())
            d->syncChapterSelection();
    }
}

void MoviePlayerView::syncPlayerPosition(int64_t value)
{
    if (!isPlayerReady() || _currentStatus != PlayStatus::Play)
        return;
    const auto t0 = movieTimeStampAt(value);
    if (!t0)
        return;
    const double t = _videoPlayer->currentTime();
    int64_t index = 0;
    int32_t offset = 0;
    PictureDataUtil::getChapterPosition(_valueInfo->timeline(), narrow(value), index, offset);
    const auto t50 = movieTimeStampAt(value + 50);
    const auto t150 = movieTimeStampAt(value + 150);

    // Fast rates: the engine stays paused and shows the frame at the position on every tick.
    if (_settingRate > SETTING_RATE_PLAY) {
        _videoPlayer->pause();
        seekToCurrentValue();
        return;
    }
    const double lead = _settingRate <= 1.0f ? 0.0 : static_cast<double>(_settingRate) * 100.0;
    if (!isPlayerReady())
        return;
    // Nothing ahead changes (the movie's end, or a still recording): hold the picture.
    if ((!t50 && !t150) || (t50 && t150 && *t50 == *t150)) {
        _videoPlayer->pause();
        return;
    }
    if (static_cast<int64_t>(*t0) >= movieDuration()) {
        _videoPlayer->pause();
        return;
    }
    // The video is ahead of the position by more than 100 ms plus the lead.
    if (static_cast<double>(*t0) < std::trunc(t * 1000.0 - 100.0 - lead)) {
        _videoPlayer->pause();
        return;
    }
    if (index < _valueInfo->currentIndex()) {
        _videoPlayer->pause();
        return;
    }
    // The video lags by more than the same margin: at the same rate it would never catch up (the
    // engine takes a moment to start and to open a file), so bring it to the position, at most
    // once per CATCH_UP_TICKS so that a slow decoder is not kept seeking.
    ++_ticksSinceCatchUp;
    if (static_cast<double>(*t0) > std::trunc(t * 1000.0 + 100.0 + lead) &&
        _ticksSinceCatchUp >= CATCH_UP_TICKS) {
        _ticksSinceCatchUp = 0;
        seekToCurrentValue();
        _videoPlayer->setRate(_settingRate);
        return;
    }
    // The video lags: let it play.
    if (static_cast<double>(*t0) > std::trunc(t * 1000.0))
        _videoPlayer->setRate(_settingRate);
}

void MoviePlayerView::seekToCurrentValue()
{
    const int64_t duration = movieDuration();
    int64_t target = 0;
    if (const auto chapter = _valueInfo->currentChapter()) {
        const auto picture = chapter->getPicture(true);
        if (picture && picture->video) {
            target = picture->video->findFrame(1, narrow(_valueInfo->currentFrame()), true)._movieTimeStamp;
        }
    }
    if (target > duration)
        target = duration;
    if (_videoPlayer)
        _videoPlayer->seekExact(target);
}

void MoviePlayerView::trackbarUserChanged()
{
    updateDatetimeLabel();
    updateDiffSecLabel();
    updateControlButtons();
    const auto before = _currentChapterData;
    const PlayStatus status = isPlayerReady() ? _currentStatus : PlayStatus::NotReady;
    _valueInfo->setCurrentValue(_cell->integerValue());
    moveToPosition(_valueInfo->_currentValue, status);
    if (_currentChapterData != before) {
        if (auto *d = delegate())
            d->syncChapterSelection();
    }
    if (auto *d = delegate())
        d->updateFrameDisplay(false);
}

// Main thread: the engine reached the end of its item. The clock keeps running; the chapter
// changes when the position enters the next one.
void MoviePlayerView::playerItemDidPlayToEndTime()
{
    if (_currentChapterData != _valueInfo->currentChapter()) {
        moveToPosition(_valueInfo->_currentValue, PlayStatus::Play);
        if (auto *d = delegate())
            d->syncChapterSelection();
    } else if (_videoPlayer) {
        _videoPlayer->pause();
    }
}

// --- steps and jumps ---

void MoviePlayerView::frameBack()
{
    const int64_t step = frameStep();
    _valueInfo->setCurrentValue(_cell->integerValue());
    const int64_t target = _valueInfo->_currentValue - step;
    const auto minimum = static_cast<int64_t>(_cell->minValue());
    if (target > minimum) {
        const int64_t index = _valueInfo->currentIndex();
        moveToPosition(target, PlayStatus::Pause);
        if (index != _valueInfo->currentIndex()) {
            if (auto *d = delegate())
                d->syncChapterSelection();
        }
    } else {
        moveToPosition(minimum, PlayStatus::Stop);
    }
}

void MoviePlayerView::frameForward()
{
    if (isPlayerReady() && _currentStatus == PlayStatus::Play) {
        pauseMovie();
        return;
    }
    const int64_t index = _valueInfo->currentIndex();
    _valueInfo->setCurrentValue(_cell->integerValue());
    const int64_t target =
        std::min(static_cast<int64_t>(_cell->maxValue()), _valueInfo->_currentValue + frameStep());
    moveToPosition(target, PlayStatus::Pause);
    if (index != _valueInfo->currentIndex()) {
        if (auto *d = delegate())
            d->syncChapterSelection();
    }
}

void MoviePlayerView::previousChapter()
{
    if (!_videoPlayer || _isProcessing)
        return;
    const int64_t index = _valueInfo->currentIndex();
    if (index < 1)
        return;
    _isProcessing = true;
    const PlayStatus status = isPlayerReady() ? _currentStatus : PlayStatus::NotReady;
    moveToPosition(chapterStart(index - 1), status);
    updateControlButtons();
    updateDiffSecLabel();
    if (auto *d = delegate())
        d->syncChapterSelection();
    _isProcessing = false;
}

void MoviePlayerView::nextChapter()
{
    if (!_videoPlayer || _isProcessing)
        return;
    const int64_t index = _valueInfo->currentIndex();
    if (index + 1 > _valueInfo->chapterCount() - 1)
        return;
    _isProcessing = true;
    const PlayStatus status = isPlayerReady() ? _currentStatus : PlayStatus::NotReady;
    moveToPosition(chapterStart(index + 1), status);
    updateControlButtons();
    updateDiffSecLabel();
    if (auto *d = delegate())
        d->syncChapterSelection();
    _isProcessing = false;
}

std::shared_ptr<ChapterData> MoviePlayerView::prevAdventureChapter()
{
    const auto chapter = currentChapter();
    const auto &list = _valueInfo->_chapterDataList;
    const auto it = std::find(list.begin(), list.end(), chapter);
    if (!chapter || it == list.end() || it == list.begin())
        return nullptr;
    return *(it - 1);
}

std::shared_ptr<ChapterData> MoviePlayerView::nextAdventureChapter()
{
    const auto chapter = currentChapter();
    const auto &list = _valueInfo->_chapterDataList;
    const auto it = std::find(list.begin(), list.end(), chapter);
    if (!chapter || it == list.end() || it + 1 == list.end())
        return nullptr;
    return *(it + 1);
}

// --- rate, sound, labels and buttons ---
// The speed slider, volume slider, labels and buttons come with the panel's controls; until then
// the rate is the one set with setPlayRate and the labels and buttons have nothing to show.

void MoviePlayerView::applyPlayRate()
{
    _settingRate = _playRate;
    if (isPlayerReady() && _currentStatus == PlayStatus::Play) {
        _cell->rate = _settingRate;
        _videoPlayer->setRate(_settingRate > SETTING_RATE_PLAY ? 0.0 : _settingRate);
    }
    if (_videoPlayer) {
        _videoPlayer->setMuted(_isMute);
        _videoPlayer->setVolume(_wkVolume);
    }
}

void MoviePlayerView::setPlayRate(float rate)
{
    _playRate = rate;
    applyPlayRate();
}

void MoviePlayerView::setSettingRate(float rate)
{
    _settingRate = rate;
    if (isPlayerReady() && _currentStatus == PlayStatus::Play) {
        _cell->rate = rate;
        _videoPlayer->setRate(rate > SETTING_RATE_PLAY ? 0.0 : rate);
    }
}

void MoviePlayerView::updateDatetimeLabel() {}

void MoviePlayerView::updateDiffSecLabel() {}

void MoviePlayerView::updateControlButtons() {}

void MoviePlayerView::updateToolButtons() {}
