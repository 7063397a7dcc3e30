#include "videotools/StopWatchModel.h"

#include "card/CardData.h"
#include "card/ChapterData.h"
#include "card/ChapterOutline.h"
#include "card/EventClip.h"
#include "card/MoveProtectInfo.h"
#include "card/PictureDataUtil.h"
#include "recording/PictureData.h"
#include "recording/VideoInfo.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace {

const QString FMT_TIME_DEFAULT = QStringLiteral("--'--\"-");
const QString FMT_SPEED_DEFAULT = QStringLiteral("-km/h");
const QString FMT_SPEED_DEFAULT_MPH = QStringLiteral("-MPH");

int32_t toPosition(int64_t ms)
{
    return int32_t(
        std::clamp<int64_t>(ms, std::numeric_limits<int32_t>::min(), std::numeric_limits<int32_t>::max()));
}

} // namespace

void StopWatchModel::setEventChapters(CardData &card, MoveProtectInfo &record)
{
    const EventClip clip = record._detect == MoveProtectInfo::DetectStatus::SURV
                               ? card.getSurveillanceChapters(record)
                               : card.getEventChapters(record);
    clearData();
    resetMeasurement();
    setTimeline(ChapterTimeline(clip.chapters.value_or(ChapterList{})));
    _currentMs = clip.start;
}

void StopWatchModel::setTripChapters(CardData &card, AdvMoveProtectInfo &record)
{
    const EventClip clip = card.getAdventureChapters(record);
    clearData();
    resetMeasurement();
    setTimeline(ChapterTimeline(clip.chapters.value_or(ChapterList{})));
    _currentMs = clip.start;
}

void StopWatchModel::startStop()
{
    if (_status == StopWatchStatus::Ready) {
        _status = StopWatchStatus::Start;
        _startMs = _currentMs;
    } else if (_status == StopWatchStatus::Start) {
        _status = StopWatchStatus::Stop;
        _stopMs = _currentMs;
    }
    sendMarkers();
}

void StopWatchModel::lapReset()
{
    if (_status == StopWatchStatus::Stop) {
        resetMeasurement();
        return;
    }
    if (_laps.size() >= size_t(LAP_MAX))
        return;
    _laps.push_back(setLap(lastMarkSumFrameTimeSpan(), _currentMs));
    sendMarkers();
}

void StopWatchModel::previousLap()
{
    if (_laps.empty())
        return;
    _laps.pop_back();
    sendMarkers();
}

void StopWatchModel::stopMeasurement()
{
    if (_status != StopWatchStatus::Start)
        return;
    _status = StopWatchStatus::Stop;
    _stopMs = _currentMs;
    sendMarkers();
}

void StopWatchModel::resetMeasurement()
{
    _startMs = 0;
    _stopMs = 0;
    _laps.clear();
    _status = StopWatchStatus::Ready;
    sendMarkers();
}

void StopWatchModel::clearData()
{
    _timeline = ChapterTimeline();
    forgetChapters();
    _currentMs = 0;
    _startMs = 0;
    _stopMs = 0;
    _laps.clear();
    _status = StopWatchStatus::Ready;
}

int64_t StopWatchModel::lastMarkSumFrameTimeSpan() const
{
    if (_stopMs >= 1)
        return _stopMs;
    if (!_laps.empty())
        return _laps.back().pos;
    return _startMs;
}

StopWatchMarkers StopWatchModel::markers() const
{
    StopWatchMarkers m{_status, _startMs, {}, _stopMs, lastMarkSumFrameTimeSpan()};
    for (const LapInfo &lap : _laps)
        m.lapMs.push_back(lap.pos);
    return m;
}

void StopWatchModel::sendMarkers()
{
    if (onMarkersChanged)
        onMarkersChanged(markers());
}

StopWatchModel::Buttons StopWatchModel::buttons() const
{
    switch (_status) {
    case StopWatchStatus::Ready:
        return {true, false, false};
    case StopWatchStatus::Start:
        // Nine stored laps: the running lap keeps the tenth row.
        return {true, _laps.size() < size_t(LAP_MAX - 1), !_laps.empty()};
    case StopWatchStatus::Stop:
        return {false, true, false};
    }
    return {};
}

LapInfo StopWatchModel::setLap(int64_t from, int64_t to)
{
    if (from >= to)
        return {from, 0, 0};
    LapInfo lap{to, to - from, 0};
    // Both asked, so that every read either needs is under way at once.
    const std::optional<float> end = getDistance(to);
    const std::optional<float> start = getDistance(from);
    if (!end || !start) {
        lap.isSpeedPending = true;
        return lap;
    }
    const double distance = double(*end) - double(*start);
    lap.aveSpeed = std::llround(distance / double(lap.lapTimeSpan));
    if (!_isKmh)
        lap.aveSpeed = int64_t(std::floor(double(lap.aveSpeed) / 1.6093));
    return lap;
}

void StopWatchModel::chapterRead(const ChapterData &chapter)
{
    // A chapter of a list given up meanwhile.
    const auto at = _indexOf.find(&chapter);
    if (at == _indexOf.end() || !_requested.erase(at->second))
        return;
    if (!chapter.outline())
        _unreadable.insert(at->second);
    // The next walk keeps its distance, or finds it without data.
    _unlooked.insert(at->second);
    for (size_t i = 0; i < _laps.size(); ++i) {
        if (_laps[i].isSpeedPending)
            _laps[i] = setLap(i == 0 ? _startMs : _laps[i - 1].pos, _laps[i].pos);
    }
}

StopWatchModel::Looked StopWatchModel::lookAtChapter(size_t index)
{
    ++_chapterLookups;
    if (_timeline.length(index) < 1)
        return Looked::Zero;
    // Read once, by the card's workers or here, the chapter keeps its distance: a lap over a long trip
    // reads no recording again.
    const std::shared_ptr<ChapterData> &chapter = _timeline.chapters()[index];
    std::shared_ptr<const ChapterOutline> outline = chapter->outline();
    if (!outline) {
        if (readElsewhere) {
            if (_unreadable.contains(index))
                return Looked::Zero;
            _requested.insert(index);
            readElsewhere(chapter);
            return Looked::Pending;
        }
        chapter->getPicture(true);
        outline = chapter->outline();
    }
    // Only a distance from the driving data is kept: without it a worker may still bring it.
    if (!outline)
        return Looked::Zero;
    _keptDistances.add(index, std::llround(outline->distance));
    return Looked::Kept;
}

std::optional<float> StopWatchModel::getDistance(int64_t position)
{
    if (_timeline.empty())
        return 0.0f;
    int64_t index = 0;
    int32_t offset = 0;
    PictureDataUtil::getChapterPosition(_timeline, toPosition(position), index, offset);
    // The whole chapters before the position, a thousand on a long trip, are never read here, and only
    // those not kept nor asked for yet are looked at: the kept ones are summed without a walk. On past a
    // chapter still being read: the others are asked for in the same pass.
    const auto end = size_t(index);
    for (auto it = _unlooked.begin(); it != _unlooked.end() && *it < end;)
        it = lookAtChapter(*it) == Looked::Zero ? std::next(it) : _unlooked.erase(it);
    if (!_requested.empty() && *_requested.begin() < end)
        return std::nullopt;
    float sum = float(_keptDistances.sumBefore(end));
    // The chapter at a lap's end, which the player shows or showed: it is mostly held, and at most a
    // lap's ends and the position are read here.
    const std::shared_ptr<PictureData> picture = _timeline.chapters()[end]->getPicture(true);
    if (!picture || !picture->video)
        return sum;
    const FrameTable frames = picture->video->getCameraFrames(0);
    int64_t previous = 0;
    for (const auto &[key, frame] : frames) {
        if (key > offset) {
            sum += float(offset - previous) * float(frame.speed);
            break;
        }
        sum += float(key - previous) * float(frame.speed);
        previous = key;
    }
    return sum;
}

std::array<std::optional<LapInfo>, StopWatchModel::LAP_MAX> StopWatchModel::rows()
{
    std::array<std::optional<LapInfo>, LAP_MAX> result;
    size_t row = 0;
    for (; row < _laps.size() && row < result.size(); ++row)
        result[row] = _laps[row];
    if (row < result.size()) {
        if (_status == StopWatchStatus::Start)
            result[row] = setLap(lastMarkSumFrameTimeSpan(), _currentMs);
        else if (_status == StopWatchStatus::Stop)
            result[row] = setLap(_laps.empty() ? _startMs : _laps.back().pos, _stopMs);
    }
    return result;
}

std::optional<LapInfo> StopWatchModel::total()
{
    if (_status == StopWatchStatus::Start)
        return setLap(_startMs, _currentMs);
    if (_status == StopWatchStatus::Stop)
        return setLap(_startMs, _stopMs);
    return std::nullopt;
}

QString StopWatchModel::lapTimeText(const std::optional<LapInfo> &lap)
{
    if (!lap)
        return FMT_TIME_DEFAULT;
    const int64_t t = lap->lapTimeSpan;
    return QString::asprintf("%02d'%02d\"%01d", int((t / 60000) % 3600), int((t / 1000) % 60),
                             int((t % 1000) / 100));
}

QString StopWatchModel::speedText(const std::optional<LapInfo> &lap, bool kmh)
{
    if (!lap || lap->isSpeedPending)
        return kmh ? FMT_SPEED_DEFAULT : FMT_SPEED_DEFAULT_MPH;
    return QString::number(lap->aveSpeed) + (kmh ? QStringLiteral("km/h") : QStringLiteral("MPH"));
}

void StopWatchModel::setChapterDataList(ChapterList chapters)
{
    setTimeline(ChapterTimeline(std::move(chapters)));
}

void StopWatchModel::setTimeline(ChapterTimeline timeline)
{
    _timeline = std::move(timeline);
    forgetChapters();
}

bool StopWatchModel::refreshTimeline()
{
    if (_timeline.isSettled())
        return false;
    // Each mark as its chapter and offset on the timeline as it was.
    using Place = ChapterTimeline::Place;
    const Place current = _timeline.place(_currentMs);
    const Place start = _timeline.place(_startMs);
    const Place stop = _timeline.place(_stopMs);
    std::vector<Place> lapEnds;
    for (const LapInfo &lap : _laps)
        lapEnds.push_back(_timeline.place(lap.pos));
    if (!_timeline.refresh())
        return false;
    const auto position = [this](const Place &at) { return _timeline.position(at); };
    _currentMs = position(current);
    if (_status != StopWatchStatus::Ready)
        _startMs = position(start);
    if (_status == StopWatchStatus::Stop)
        _stopMs = position(stop);
    for (size_t i = 0; i < _laps.size(); ++i)
        _laps[i] = setLap(i == 0 ? _startMs : _laps[i - 1].pos, position(lapEnds[i]));
    sendMarkers();
    return true;
}

void StopWatchModel::forgetChapters()
{
    // By index on the timeline as it is now; a freed chapter's address may come back for another.
    const size_t count = _timeline.size();
    _keptDistances = PrefixSums(count);
    _requested.clear();
    _unreadable.clear();
    _unlooked.clear();
    _indexOf.clear();
    _indexOf.reserve(count);
    for (size_t i = 0; i < count; ++i) {
        _unlooked.insert(_unlooked.end(), i);
        _indexOf.emplace(_timeline.chapters()[i].get(), i);
    }
}
