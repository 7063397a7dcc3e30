#include "graph/DrivingInfoModel.h"

#include <cmath>

int DrivingInfoModel::seriesSpeed(int32_t speedKmh, bool kmh)
{
    if (kmh)
        return speedKmh < MAX_SPEED ? speedKmh : MAX_SPEED;
    const auto mph = static_cast<int32_t>(std::floor(speedKmh / KMH_MPH_RATE));
    return mph < MAX_SPEED_MPH ? mph : MAX_SPEED_MPH;
}

void DrivingInfoModel::loadMovieChapters(std::shared_ptr<DrivingDataSource> source, const Settings &settings)
{
    _playType = CommonConst::PlayType::Movie;
    _source = std::move(source);
    _accidentValue = 0;
    _currentIndex = -1;
    _value = 0;
    showChapterOf(0);
    updateDrivingInfo(settings);
}

void DrivingInfoModel::loadEventChapters(std::shared_ptr<DrivingDataSource> source,
                                         CommonConst::PlayType type, int accidentValue, int minValue,
                                         int maxValue, const Settings &settings)
{
    _playType = type;
    _source = std::move(source);
    if (_source) {
        _accidentValue = accidentValue;
        _minValue = minValue;
        _maxValue = maxValue;
    } else {
        _accidentValue = -1;
        _minValue = 0;
        _maxValue = 1;
    }
    _value = _minValue;
    updateDrivingInfo(settings);
}

bool DrivingInfoModel::showChapterOf(int position)
{
    if (!_source || _source->chapterCount() == 0)
        return false;
    int64_t index = 0;
    int32_t offset = 0;
    _source->chapterPosition(position, index, offset);
    if (!_source->isValidIndex(index) || index == _currentIndex)
        return false;
    _minValue = _source->position(index, 0);
    _maxValue = _minValue + _source->chapterSpan(static_cast<size_t>(index));
    _currentIndex = index;
    return true;
}

void DrivingInfoModel::timelineRefreshed(int position, const Settings &settings)
{
    const bool followsChapters =
        _playType == CommonConst::PlayType::Movie || _playType == CommonConst::PlayType::Adventure;
    if (!followsChapters || !_source || _source->chapterCount() == 0)
        return;
    const int64_t index = _currentIndex;
    const int span = _maxValue - _minValue;
    _value = position;
    _currentIndex = -1;
    showChapterOf(position);
    // The series are kept from the chapter's start: a chapter that only moved draws the same.
    if (_currentIndex != index || _maxValue - _minValue != span)
        updateDrivingInfo(settings);
}

bool DrivingInfoModel::setValue(int position, const Settings &settings)
{
    _value = position;
    const int r = position - _minValue;
    const bool outside = r < _chart.minValue.position || r > _chart.maxValue.position;
    const bool followsChapters =
        _playType == CommonConst::PlayType::Movie || _playType == CommonConst::PlayType::Adventure;
    if (!outside || !followsChapters)
        return false;
    const bool changed = showChapterOf(position);
    updateDrivingInfo(settings);
    return changed;
}

QString DrivingInfoModel::labelText(int position, const Settings &settings)
{
    const auto sample = _source ? _source->sampleAtPosition(position) : std::nullopt;
    if (!sample)
        return QString();
    return sample->time.toString(settings.timeFormat, settings.timeZone, settings.summerTime);
}

void DrivingInfoModel::updateDrivingInfo(const Settings &settings)
{
    ++_rebuildCount;
    _chart = LineChartData{};
    const int span = _maxValue - _minValue;
    if (span >= 2) {
        _chart.minValue = {0, labelText(_minValue, settings)};
        // The end keeps its position without a frame there: otherwise every later position would count as
        // outside the chart and rebuild the series on every frame.
        _chart.maxValue = {span, labelText(_maxValue, settings)};
        if (_playType == CommonConst::PlayType::Event) {
            const QString text = labelText(_accidentValue, settings);
            if (!text.isEmpty())
                _chart.accidentValue = {_accidentValue - _minValue, text};
        }
    }
    _chart.gDataColor = {lineGColor()};
    if (!_source || _source->chapterCount() == 0)
        return;
    const int step = samplingStep(span);
    for (int64_t p = _minValue; p <= _maxValue; p += step) {
        int64_t index = 0;
        int32_t offset = 0;
        _source->chapterPosition(static_cast<int32_t>(p), index, offset);
        if (!_source->isValidIndex(index))
            continue;
        const auto sample = _source->sampleAt(static_cast<size_t>(index), offset);
        if (!sample)
            continue;
        const int k = static_cast<int>(p - _minValue);
        _chart.speedData.emplace_hint(_chart.speedData.end(), k, seriesSpeed(sample->speedKmh, settings.kmh));
        double g = std::sqrt(sample->gX * sample->gX + sample->gY * sample->gY);
        if (!(g > _minimum))
            g = _minimum;
        _chart.gData.emplace_hint(_chart.gData.end(), k, g);
        _chart.speedDataColor.push_back(sample->gps ? lineVColor() : lineVColorGpsOff());
    }
}
