#include "player/PlayMovieValueInfo.h"

#include "card/ChapterData.h"
#include "card/ChapterOutline.h"
#include "card/EventClip.h"
#include "card/MoveProtectInfo.h"
#include "card/PictureDataUtil.h"
#include "platform/MovieProbe.h"
#include "player/FrameSteps.h"
#include "player/PlaybackClock.h"
#include "recording/PictureData.h"
#include "recording/VideoFrame.h"
#include "recording/VideoInfo.h"

#include <algorithm>

namespace {

// Positions on a timeline always fit in 32 bits; a bound outside is pinned rather than wrapped.
int32_t narrow(int64_t value)
{
    return static_cast<int32_t>(std::clamp<int64_t>(value, INT32_MIN, INT32_MAX));
}

} // namespace

PlayMovieValueInfo::PlayMovieValueInfo() : _clock(std::make_shared<PlaybackClock>())
{
    // A default timeline has no start for chapter 0; the empty list's has.
    _timeline = ChapterTimeline(ChapterList{});
    _clock->setRange(_minValue, _maxValue);
}

PlayMovieValueInfo::PlayMovieValueInfo(CardData &card, const std::shared_ptr<MoveProtectInfo> &protectInfo)
    : PlayMovieValueInfo()
{
    _protectInfo = protectInfo;
    if (!protectInfo) {
        _eventValue = -1;
        return;
    }
    EventClip clip;
    if (protectInfo->_detect == MoveProtectInfo::DetectStatus::SURV) {
        _playType = CommonConst::PlayType::Surveillance;
        clip = card.getSurveillanceChapters(*protectInfo);
    } else {
        _playType = CommonConst::PlayType::Event;
        clip = card.getEventChapters(*protectInfo);
    }
    if (clip.chapters) {
        _chapterDataList = std::move(*clip.chapters);
        _timeline = ChapterTimeline(_chapterDataList);
        _eventValue = clip.position;
        _minValue = clip.start;
        _maxValue = clip.end;
        _clock->setRange(_minValue, _maxValue);
        _clock->setPosition(clip.start);
    } else {
        _eventValue = -1;
    }
}

PlayMovieValueInfo::PlayMovieValueInfo(ChapterList chapterDataList, CardData::ActiveType activeType)
    : PlayMovieValueInfo()
{
    _chapterDataList = std::move(chapterDataList);
    _playType = activeType == CardData::ActiveType::AdventureRec ? CommonConst::PlayType::Adventure
                                                                 : CommonConst::PlayType::Movie;
    if (_playType == CommonConst::PlayType::Adventure) {
        // The adventure's record, from its first chapter that has one.
        const auto recorded = std::find_if(_chapterDataList.begin(), _chapterDataList.end(),
                                           [](const auto &chapter) { return chapter && chapter->_advInfo; });
        if (recorded != _chapterDataList.end())
            _advProtectInfo = (*recorded)->_advInfo;
    }
    _timeline = ChapterTimeline(_chapterDataList);
    _minValue = 0;
    _maxValue = PictureDataUtil::getTotalLength(_timeline);
    _clock->setRange(_minValue, _maxValue);
    _clock->setPosition(0);
}

PlayMovieValueInfo::~PlayMovieValueInfo()
{
    _chapterDataList.clear();
    _protectInfo.reset();
    _advProtectInfo.reset();
}

bool PlayMovieValueInfo::refreshTimeline()
{
    if (_timeline.isSettled())
        return false;
    // Each position as its chapter and offset on the timeline as it was.
    using Place = ChapterTimeline::Place;
    const auto place = [this](int64_t position) { return _timeline.place(position); };
    const auto placeOf = [&place](const std::optional<int64_t> &position) {
        return position ? std::optional(place(*position)) : std::nullopt;
    };
    const bool wholeList = !_eventValue;
    const Place current = place(currentValue());
    const Place min = place(_minValue);
    const Place max = place(_maxValue);
    const auto stopwatch = placeOf(_startValueStopwatch);
    const auto cutStart = placeOf(_startValueMovieCut);
    const auto cutEnd = placeOf(_endValueMovieCut);
    const auto event = _eventValue && *_eventValue >= 0 ? std::optional(place(*_eventValue)) : std::nullopt;
    if (!_timeline.refresh())
        return false;
    const auto position = [this](const Place &at) { return _timeline.position(at); };
    const auto positionOf = [&position](const std::optional<Place> &at) {
        return at ? std::optional(position(*at)) : std::nullopt;
    };
    _minValue = wholeList ? 0 : position(min);
    _maxValue = wholeList ? PictureDataUtil::getTotalLength(_timeline) : position(max);
    _startValueStopwatch = positionOf(stopwatch);
    _startValueMovieCut = positionOf(cutStart);
    _endValueMovieCut = positionOf(cutEnd);
    if (event)
        _eventValue = position(*event);
    _clock->setRange(_minValue, _maxValue);
    _clock->setPosition(position(current));
    _convertedValue.reset();
    _startFrameIndex.reset();
    _endFrameIndex.reset();
    return true;
}

int64_t PlayMovieValueInfo::effectiveStart() const
{
    int64_t start = _minValue;
    if (_startValueStopwatch)
        start = std::max(start, *_startValueStopwatch);
    if (_startValueMovieCut)
        start = std::max(start, *_startValueMovieCut);
    return start;
}

int64_t PlayMovieValueInfo::effectiveEnd() const
{
    return _endValueMovieCut ? std::min(_maxValue, *_endValueMovieCut) : _maxValue;
}

int64_t PlayMovieValueInfo::currentValue() const
{
    return _clock->position();
}

void PlayMovieValueInfo::setCurrentValue(int64_t value)
{
    value = std::max(effectiveStart(), value);
    value = std::min(effectiveEnd(), value);
    if (value != _clock->position())
        _clock->setPosition(value);
}

void PlayMovieValueInfo::attachClock(const std::shared_ptr<PlaybackClock> &clock)
{
    if (!clock || clock == _clock)
        return;
    clock->setRange(_minValue, _maxValue);
    clock->setPosition(_clock->position());
    _clock = clock;
}

void PlayMovieValueInfo::convertCurrent()
{
    // The clock moves the position under the model: the cache is keyed by the position.
    const int64_t value = _clock->position();
    if (_convertedValue == value)
        return;
    int32_t offset = 0;
    PictureDataUtil::getChapterPosition(_timeline, narrow(value), _currentIndex, offset);
    _currentFrame = offset;
    _convertedValue = value;
}

int64_t PlayMovieValueInfo::currentIndex()
{
    convertCurrent();
    return _currentIndex;
}

int64_t PlayMovieValueInfo::currentFrame()
{
    convertCurrent();
    return _currentFrame;
}

std::shared_ptr<ChapterData> PlayMovieValueInfo::currentChapter()
{
    const int64_t index = currentIndex();
    if (index < 0 || index >= chapterCount())
        return nullptr;
    return _chapterDataList[static_cast<size_t>(index)];
}

void PlayMovieValueInfo::setStartValueStopwatch(std::optional<int64_t> value)
{
    _startValueStopwatch = value;
    _startFrameIndex.reset();
}

void PlayMovieValueInfo::setStartValueMovieCut(std::optional<int64_t> value)
{
    _startValueMovieCut = value;
    _startFrameIndex.reset();
}

void PlayMovieValueInfo::setEndValueMovieCut(std::optional<int64_t> value)
{
    _endValueMovieCut = value;
    _endFrameIndex.reset();
}

int64_t PlayMovieValueInfo::chapterIndexAt(int64_t position) const
{
    int64_t index = 0;
    int32_t offset = 0;
    PictureDataUtil::getChapterPosition(_timeline, narrow(position), index, offset);
    return index;
}

int64_t PlayMovieValueInfo::startFrameIndex()
{
    if (!_startFrameIndex)
        _startFrameIndex = chapterIndexAt(effectiveStart());
    return *_startFrameIndex;
}

int64_t PlayMovieValueInfo::endFrameIndex()
{
    if (!_endFrameIndex)
        _endFrameIndex = chapterIndexAt(effectiveEnd());
    return *_endFrameIndex;
}

std::optional<int64_t> PlayMovieValueInfo::movieTimeAt(int64_t position) const
{
    const auto time = PictureDataUtil::getMovieTimeStamp(_timeline, narrow(position));
    return time ? std::optional<int64_t>(*time) : std::nullopt;
}

std::optional<int64_t> PlayMovieValueInfo::movieTimeOfCurrentFrame()
{
    return runningMovieTime(currentChapter(), currentFrame());
}

std::optional<int64_t> PlayMovieValueInfo::runningMovieTime(const std::shared_ptr<ChapterData> &chapter,
                                                            int64_t offset)
{
    const auto picture = chapter ? chapter->getPicture(true) : nullptr;
    if (!picture || !picture->video)
        return std::nullopt;
    const FrameTable frames = picture->video->getCameraFrames(1);
    if (frames.empty())
        return int64_t(picture->video->findFrame(1, narrow(offset), true)._movieTimeStamp);
    // Between two records the movie runs on: a picture without a record of its own is reached too.
    return FrameSteps::movieTimeAt(frames, narrow(offset));
}

int64_t PlayMovieValueInfo::pictureCount(int64_t index)
{
    if (index < 0 || index >= chapterCount())
        return 0;
    if (const auto known = _pictureCounts.find(index); known != _pictureCounts.end())
        return known->second;
    const auto probed =
        MovieProbe::probe(_chapterDataList[static_cast<size_t>(index)]->_pathMp4.toLocalFile());
    return _pictureCounts[index] = probed ? probed->videoFrames : 0;
}

bool PlayMovieValueInfo::isCutChapter(ChapterData *chapter)
{
    if (const auto outline = chapter ? chapter->outline() : nullptr)
        return outline->isCutVideo;
    const auto picture = chapter ? chapter->getPicture(true) : nullptr;
    return picture && picture->video && picture->video->isCutVideo();
}

std::shared_ptr<ChapterData> PlayMovieValueInfo::neighbourChapter(int delta)
{
    const auto chapter = currentChapter();
    const auto it = std::find(_chapterDataList.begin(), _chapterDataList.end(), chapter);
    const auto index = (it - _chapterDataList.begin()) + delta;
    if (!chapter || index < 0 || index >= chapterCount())
        return nullptr;
    return _chapterDataList[static_cast<size_t>(index)];
}

void PlayMovieValueInfo::describe(PlaybackSync::Input &in, int64_t position)
{
    in.position = position;
    in.maximum = _maxValue;
    in.chapterCount = chapterCount();
    int64_t index = 0;
    int32_t offset = 0;
    PictureDataUtil::getChapterPosition(_timeline, narrow(position), index, offset);
    in.positionChapter = index >= 0 && index < chapterCount() ? std::optional<int64_t>(index) : std::nullopt;
    if (in.loadedChapter && *in.loadedChapter < chapterCount())
        in.nextBorder = PictureDataUtil::getPosition(_timeline, *in.loadedChapter + 1, 0);
    // The movie time the clock has reached, between records too: the picture's lag is measured from it.
    in.targetMs = in.positionChapter
                      ? runningMovieTime(_chapterDataList[static_cast<size_t>(*in.positionChapter)], offset)
                      : std::nullopt;
    in.ahead50Ms = movieTimeAt(position + 50);
    in.ahead150Ms = movieTimeAt(position + 150);
}
