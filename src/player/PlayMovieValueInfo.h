// What is being played and where playback stands: the item's chapters, its play type, the playable
// range, the current position (ms on the item's timeline) and the stopwatch and trim bounds.
#pragma once

#include "card/CardData.h"
#include "card/ChapterTimeline.h"
#include "card/TripData.h"
#include "player/PlaybackSync.h"
#include "recording/CommonConst.h"

#include <cstdint>
#include <map>
#include <memory>
#include <optional>

class AdvMoveProtectInfo;
class ChapterData;
class MoveProtectInfo;
class PlaybackClock;

class PlayMovieValueInfo
{
public:
    // The empty model: play type Movie, no chapters, range 0 to 1, position 0.
    PlayMovieValueInfo();
    // One event or surveillance recording; range 0 to 1 and event position -1 when its chapters
    // are not on the card.
    PlayMovieValueInfo(CardData &card, const std::shared_ptr<MoveProtectInfo> &protectInfo);
    // A trip, or an adventure when the card's active type is AdventureRec; an adventure keeps the record
    // of its first chapter that has one.
    PlayMovieValueInfo(ChapterList chapterDataList, CardData::ActiveType activeType);
    ~PlayMovieValueInfo();

    // The position lives in the clock; a model made alone has a clock of its own until the panel
    // attaches the player's (the position moves over with it).
    int64_t currentValue() const;
    // Clamps to the effective start, then to the effective end (the end wins when they cross).
    void setCurrentValue(int64_t value);
    void attachClock(const std::shared_ptr<PlaybackClock> &clock);
    const std::shared_ptr<PlaybackClock> &clock() const { return _clock; }
    // Chapter index and offset of the current position, worked out once per distinct value.
    int64_t currentIndex();
    int64_t currentFrame();
    // The chapter at currentIndex, null outside the list.
    std::shared_ptr<ChapterData> currentChapter();
    // The chapter delta places after the current one in the list; null past either end or when
    // the position is outside the list.
    std::shared_ptr<ChapterData> neighbourChapter(int delta);
    // The timeline's part of a sync decision's input at a position; the loaded chapter is filled in.
    void describe(PlaybackSync::Input &in, int64_t position);

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
    // Takes the chapter lengths the workers learned since the model was made; the position and the
    // stopwatch and trim bounds stay on the pictures they named. True when the timeline changed.
    bool refreshTimeline();
    int64_t chapterCount() const { return static_cast<int64_t>(_chapterDataList.size()); }
    const ChapterList &chapterDataList() const { return _chapterDataList; }
    CommonConst::PlayType playType() const { return _playType; }
    const std::shared_ptr<MoveProtectInfo> &protectInfo() const { return _protectInfo; }
    const std::shared_ptr<AdvMoveProtectInfo> &advProtectInfo() const { return _advProtectInfo; }
    // The event's position; -1 when its chapters were not found; none for trips and adventures.
    std::optional<int64_t> eventValue() const { return _eventValue; }
    int64_t minValue() const { return _minValue; }
    int64_t maxValue() const { return _maxValue; }

    // Movie time (ms into its chapter's movie) of the frame at a position; none outside the list
    // or without driving data.
    std::optional<int64_t> movieTimeAt(int64_t position) const;
    // Movie time at the current offset by camera 1's records (FrameSteps::movieTimeAt), where a seek to
    // the position goes.
    std::optional<int64_t> movieTimeOfCurrentFrame();
    // The same at an offset into a chapter.
    static std::optional<int64_t> runningMovieTime(const std::shared_ptr<ChapterData> &chapter,
                                                   int64_t offset);
    // The chapter's driving data says its movie is a clip cut by the trim tool.
    static bool isCutChapter(ChapterData *chapter);
    // The pictures in the movie of the chapter at an index, read once per chapter (the frame steps count
    // them); 0 when unknown.
    int64_t pictureCount(int64_t index);

protected:
    // Stored fields; a subclass may set up a bare model (tests do).
    CommonConst::PlayType _playType = CommonConst::PlayType::Movie;
    ChapterList _chapterDataList;
    std::shared_ptr<MoveProtectInfo> _protectInfo;
    std::shared_ptr<AdvMoveProtectInfo> _advProtectInfo;
    std::optional<int64_t> _eventValue;
    int64_t _minValue = 0;
    int64_t _maxValue = 1;
    std::optional<int64_t> _startValueStopwatch;
    std::optional<int64_t> _startValueMovieCut;
    std::optional<int64_t> _endValueMovieCut;
    // Chapter index and offset of the position they were worked out for.
    std::optional<int64_t> _convertedValue;
    int64_t _currentIndex = 0;
    int64_t _currentFrame = 0;
    std::optional<int64_t> _startFrameIndex;
    std::optional<int64_t> _endFrameIndex;
    std::shared_ptr<PlaybackClock> _clock;
    ChapterTimeline _timeline;

private:
    int64_t chapterIndexAt(int64_t position) const;
    void convertCurrent();

    std::map<int64_t, int64_t> _pictureCounts;
};
