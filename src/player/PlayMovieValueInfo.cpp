#include "player/PlayMovieValueInfo.h"

#include "card/ChapterData.h"
#include "card/EventClip.h"
#include "card/MoveProtectInfo.h"
#include "card/PictureDataUtil.h"

#include <algorithm>

namespace {

// Positions on a timeline always fit in 32 bits; a bound outside is pinned rather than wrapped.
int32_t narrow(int64_t value)
{
    return static_cast<int32_t>(std::clamp<int64_t>(value, INT32_MIN, INT32_MAX));
}

} // namespace

PlayMovieValueInfo::PlayMovieValueInfo() = default;

PlayMovieValueInfo::PlayMovieValueInfo(CardData &card, const std::shared_ptr<MoveProtectInfo> &protectInfo)
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
        _currentValue = clip.start;
    } else {
        _eventValue = -1;
        _minValue = 0;
        _maxValue = 1;
        _currentValue = 0;
    }
}

PlayMovieValueInfo::PlayMovieValueInfo(ChapterList chapterDataList, CardData::ActiveType activeType)
    : _chapterDataList(std::move(chapterDataList))
{
    _playType = activeType == CardData::ActiveType::AdventureRec ? CommonConst::PlayType::Adventure
                                                                 : CommonConst::PlayType::Movie;
    _timeline = ChapterTimeline(_chapterDataList);
    _minValue = 0;
    _maxValue = PictureDataUtil::getTotalLength(_timeline);
    _currentValue = 0;
}

PlayMovieValueInfo::~PlayMovieValueInfo()
{
    _chapterDataList.clear();
    _protectInfo.reset();
    _advProtectInfo.reset();
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

void PlayMovieValueInfo::setCurrentValue(int64_t value)
{
    value = std::max(effectiveStart(), value);
    value = std::min(effectiveEnd(), value);
    if (value == _currentValue)
        return;
    _currentIndex.reset();
    _currentFrame.reset();
    _currentValue = value;
}

void PlayMovieValueInfo::convertCurrent()
{
    if (_currentIndex && _currentFrame)
        return;
    int64_t index = 0;
    int32_t offset = 0;
    PictureDataUtil::getChapterPosition(_timeline, narrow(_currentValue), index, offset);
    _currentIndex = index;
    _currentFrame = offset;
}

int64_t PlayMovieValueInfo::currentIndex()
{
    convertCurrent();
    return *_currentIndex;
}

int64_t PlayMovieValueInfo::currentFrame()
{
    convertCurrent();
    return *_currentFrame;
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
    _startValue.reset();
    _startFrameIndex.reset();
}

void PlayMovieValueInfo::setStartValueMovieCut(std::optional<int64_t> value)
{
    _startValueMovieCut = value;
    _startValue.reset();
    _startFrameIndex.reset();
}

void PlayMovieValueInfo::setEndValueMovieCut(std::optional<int64_t> value)
{
    _endValueMovieCut = value;
    _endValue.reset();
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
