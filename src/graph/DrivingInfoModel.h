// The driving-data panel's state: the stretch of the timeline the line chart shows, moving with the
// playback position from chapter to chapter, and the labels and sampled series of that stretch.
#pragma once

#include "graph/DrivingDataSource.h"
#include "recording/CommonConst.h"

#include <QColor>
#include <QString>
#include <map>
#include <memory>
#include <vector>

struct ChartLabel
{
    int position = 0; // ms from the start of the stretch; negative: none
    QString text;     // time of day; empty when there is no frame there
    bool operator==(const ChartLabel &) const = default;
};

// What the line chart is given for one stretch.
struct LineChartData
{
    std::map<int, int> speedData; // ms from the stretch's start -> speed in the unit shown
    std::vector<QColor> speedDataColor;
    std::map<int, double> gData; // ms from the stretch's start -> resultant G
    std::vector<QColor> gDataColor;
    ChartLabel minValue;
    ChartLabel maxValue;
    ChartLabel accidentValue{-1, {}};
};

class DrivingInfoModel
{
public:
    static constexpr int MAX_SPEED = 180;
    static constexpr int MAX_SPEED_MPH = 110;
    static constexpr double KMH_MPH_RATE = 1.6093;
    static constexpr int DATA_SPACE_CUT = 180000; // from this span on the series are sampled every 300 ms
    static constexpr int FINE_STEP_MS = 30;
    static constexpr int COARSE_STEP_MS = 300;

    static QColor lineGColor() { return QColor(255, 128, 0); }
    static QColor lineVColor() { return QColor(224, 92, 92); }
    static QColor lineVColorGpsOff() { return QColor(128, 128, 128); }

    // Read at every rebuild: how labels are written and which unit the speed series uses.
    struct Settings
    {
        QString timeFormat = QStringLiteral("HH:mm:ss");
        QString timeZone;
        bool summerTime = false;
        bool kmh = true;
    };

    static int samplingStep(int spanMs) { return spanMs < DATA_SPACE_CUT ? FINE_STEP_MS : COARSE_STEP_MS; }
    static int seriesSpeed(int32_t speedKmh, bool kmh);

    // A trip or an adventure: the chapter of position 0 (an empty or missing list clears the panel).
    void loadMovieChapters(std::shared_ptr<DrivingDataSource> source, const Settings &settings);
    // An event (Event) or surveillance recording (Surveillance) stretch; no source shows 0..1 without event.
    void loadEventChapters(std::shared_ptr<DrivingDataSource> source, CommonConst::PlayType type,
                           int accidentValue, int minValue, int maxValue, const Settings &settings);
    // The playback position; a trip position outside the chart's labelled range moves to its chapter.
    // Returns true when the chapter changed (the chart must be reloaded).
    bool setValue(int position, const Settings &settings);
    // Rebuilds the labels and series of the stretch.
    void updateDrivingInfo(const Settings &settings);
    // The source's timeline took lengths learned since and the position moved with its picture: a trip's
    // chart follows its chapter's new place, built again only when the chapter or its length changed.
    void timelineRefreshed(int position, const Settings &settings);

    const LineChartData &chart() const { return _chart; }
    int minValue() const { return _minValue; }
    int maxValue() const { return _maxValue; }
    int value() const { return _value; }
    // The selected position relative to the stretch's start.
    int relativeValue() const { return _value - _minValue; }
    int64_t currentIndex() const { return _currentIndex; }
    CommonConst::PlayType playType() const { return _playType; }
    int accidentValue() const { return _accidentValue; }
    // How many times the series were built: once per stretch.
    int rebuildCount() const { return _rebuildCount; }

private:
    bool showChapterOf(int position);
    QString labelText(int position, const Settings &settings);

    std::shared_ptr<DrivingDataSource> _source;
    int _minValue = 0;
    int _maxValue = 0;
    int64_t _currentIndex = -1;
    CommonConst::PlayType _playType = CommonConst::PlayType::Movie;
    double _minimum = 0.0; // floor of the G series
    int _value = -1;
    int _accidentValue = 0;
    int _rebuildCount = 0;
    LineChartData _chart;
};
