// The stopwatch's measurement in video time: start, up to nine laps and stop as positions on the
// played item's timeline, each lap's time and average speed from the recorded speeds, and the state
// of its three buttons. No clock runs here: the player hands over its position.
#pragma once

#include "card/ChapterTimeline.h"
#include "card/TripData.h"
#include "videotools/PrefixSums.h"
#include "videotools/StopWatchViewDelegate.h"

#include <QString>
#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <set>
#include <unordered_map>
#include <vector>

class CardData;
class MoveProtectInfo;
class AdvMoveProtectInfo;

// One lap: where it ends (ms), how long it took (ms) and its average speed in the unit shown.
struct LapInfo
{
    int64_t pos = 0;
    int64_t lapTimeSpan = 0;
    int64_t aveSpeed = 0;
    bool isSpeedPending = false; // the speed waits for driving data being read elsewhere (0 meanwhile)
};

class StopWatchModel
{
public:
    static constexpr int LAP_MAX = 10; // rows; at most nine stored laps and the running one

    struct Buttons
    {
        bool startStop = false;
        bool lapReset = false;
        bool previousLap = false;
    };

    StopWatchStatus status() const { return _status; }
    const std::vector<LapInfo> &laps() const { return _laps; }
    int64_t startMs() const { return _startMs; }
    int64_t stopMs() const { return _stopMs; }
    int64_t currentMs() const { return _currentMs; }
    // The player's position, set on every frame.
    void setCurrentMs(int64_t ms) { _currentMs = ms; }
    // true km/h, false mph (the "SpeedMeter" setting).
    void setSpeedMeter(bool kmh) { _isKmh = kmh; }
    bool isKmh() const { return _isKmh; }
    // Runs after every change of the marks.
    std::function<void(const StopWatchMarkers &)> onMarkersChanged;
    // Reads a chapter's driving data away from this thread, once asked, and then tells chapterRead. Set,
    // the model reads none of the chapters between a lap's ends itself: a speed that needs one is pending
    // until it has come. None: they are read here.
    std::function<void(const std::shared_ptr<ChapterData> &chapter)> readElsewhere;
    // A read asked of readElsewhere has ended, with or without data: the stored laps' speeds that waited
    // for it are worked out again.
    void chapterRead(const ChapterData &chapter);

    const ChapterList &chapterDataList() const { return _timeline.chapters(); }
    // Also forgets the distances of the previous chapters.
    void setChapterDataList(ChapterList chapters);
    // The same, on the player's timeline as it stands.
    void setTimeline(ChapterTimeline timeline);
    // Positions are read on the player's timeline: the lengths known so far, each taken for good once its
    // chapter is read. Takes the lengths learned since; the marks keep their chapter and offset and the
    // laps are worked out again. True when any mark may have moved.
    bool refreshTimeline();
    // Loads an event or surveillance record, or an adventure record, of the card: clears everything
    // and starts at the record's start.
    void setEventChapters(CardData &card, MoveProtectInfo &record);
    void setTripChapters(CardData &card, AdvMoveProtectInfo &record);

    void startStop();
    void lapReset();
    void previousLap();
    // The player's Stop button: ends a running measurement.
    void stopMeasurement();
    void resetMeasurement();
    void clearData();

    int64_t lastMarkSumFrameTimeSpan() const;
    StopWatchMarkers markers() const;
    Buttons buttons() const;

    // The lap from one position to another; a backwards or empty one has time and speed 0.
    LapInfo setLap(int64_t from, int64_t to);
    // The recorded speed (km/h) integrated over time (ms) from the start of the list to the position;
    // none while a chapter before the position is being read elsewhere.
    std::optional<float> getDistance(int64_t position);

    // Rows 1 to 10 and the total, as shown now; none for an empty row.
    std::array<std::optional<LapInfo>, LAP_MAX> rows();
    std::optional<LapInfo> total();

    // The row texts: "mm'ss\"t" and "<n>km/h" or "<n>MPH", or the empty-row texts without a lap.
    static QString lapTimeText(const std::optional<LapInfo> &lap);
    static QString speedText(const std::optional<LapInfo> &lap, bool kmh);

    // Whole chapters whose distance getDistance has looked up so far: each chapter once its distance is
    // kept, a chapter without data each time again.
    uint64_t chapterLookups() const { return _chapterLookups; }

private:
    // What a look at a whole chapter found.
    enum class Looked
    {
        Kept,    // its distance is among the kept sums for good
        Pending, // asked of readElsewhere
        Zero,    // no distance for now (no data, or no length): looked at again by the next walk
    };
    void sendMarkers();
    Looked lookAtChapter(size_t index);
    void forgetChapters();

    ChapterTimeline _timeline;
    // Whole chapters with data, by index on the timeline, until the list changes: the distances are
    // whole numbers (km/h times ms), so their sums are exact in any order they were kept.
    PrefixSums _keptDistances;
    std::set<size_t> _unlooked;   // neither kept nor asked of readElsewhere: a walk looks at them
    std::set<size_t> _requested;  // asked of readElsewhere, not read yet
    std::set<size_t> _unreadable; // read elsewhere without data
    std::unordered_map<const ChapterData *, size_t> _indexOf;
    uint64_t _chapterLookups = 0;
    StopWatchStatus _status = StopWatchStatus::Ready;
    int64_t _currentMs = 0;
    int64_t _startMs = 0;
    int64_t _stopMs = 0;
    std::vector<LapInfo> _laps;
    bool _isKmh = true;
};
