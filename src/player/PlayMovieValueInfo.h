// What is being played and where playback stands: the item's chapters, its play type, the playable
// range, the current position (ms on the item's timeline) and the stopwatch and trim bounds.
#pragma once

#include "card/CardData.h"
#include "card/ChapterTimeline.h"
#include "card/TripData.h"
#include "recording/CommonConst.h"

#include <cstdint>
#include <memory>
#include <optional>

class AdvMoveProtectInfo;
class ChapterData;
class MoveProtectInfo;

class PlayMovieValueInfo
{
public:
    // The empty model: play type Movie, no chapters, range 0 to 1, position 0.
    PlayMovieValueInfo();
    // One event or surveillance recording; range 0 to 1 and event position -1 when its chapters
    // are not on the card.
    PlayMovieValueInfo(CardData &card, const std::shared_ptr<MoveProtectInfo> &protectInfo);
    // A trip, or an adventure when the card's active type is AdventureRec.
    PlayMovieValueInfo(ChapterList chapterDataList, CardData::ActiveType activeType);
    ~PlayMovieValueInfo();

    int64_t currentValue() const { return _currentValue; }
    // Clamps to the effective start, then to the effective end (the end wins when they cross).
    void setCurrentValue(int64_t value);
    // Chapter index and offset of the current position, worked out once per distinct value.
    int64_t currentIndex();
    int64_t currentFrame();
    // The chapter at currentIndex, null outside the list.
    std::shared_ptr<ChapterData> currentChapter();

    std::optional<int64_t> startValueStopwatch() const { return _startValueStopwatch; }
    void setStartValueStopwatch(std::optional<int64_t> value);
    std::optional<int64_t> startValueMovieCut() const { return _startValueMovieCut; }
    void setStartValueMovieCut(std::optional<int64_t> value);
    std::optional<int64_t> endValueMovieCut() const { return _endValueMovieCut; }
    void setEndValueMovieCut(std::optional<int64_t> value);

    // Largest of the minimum, the stopwatch start and the trim start.
    int64_t effectiveStart() const;
    // Smaller of the maximum and the trim end.
    int64_t effectiveEnd() const;
    int64_t startFrameIndex();
    int64_t endFrameIndex();

    // The chapter list with its starts worked out, for conversions on every clock tick.
    const ChapterTimeline &timeline() const { return _timeline; }
    int64_t chapterCount() const { return static_cast<int64_t>(_chapterDataList.size()); }

    // Read and written directly by the player panel and the track bar.
    CommonConst::PlayType _playType = CommonConst::PlayType::Movie;
    ChapterList _chapterDataList;
    std::shared_ptr<MoveProtectInfo> _protectInfo;
    std::shared_ptr<AdvMoveProtectInfo> _advProtectInfo;
    int64_t _currentValue = 0;
    std::optional<int64_t> _currentIndex;
    std::optional<int64_t> _currentFrame;
    // The event's position; -1 when its chapters were not found; none for trips and adventures.
    std::optional<int64_t> _eventValue;
    int64_t _minValue = 0;
    int64_t _maxValue = 1;
    std::optional<int64_t> _startValueStopwatch;
    std::optional<int64_t> _startValueMovieCut;
    std::optional<int64_t> _endValueMovieCut;
    // Derived start and end, emptied with their frame indexes; nothing reads them.
    std::optional<int64_t> _startValue;
    std::optional<int64_t> _endValue;
    std::optional<int64_t> _startFrameIndex;
    std::optional<int64_t> _endFrameIndex;

private:
    int64_t chapterIndexAt(int64_t position) const;
    void convertCurrent();

    ChapterTimeline _timeline;
};
