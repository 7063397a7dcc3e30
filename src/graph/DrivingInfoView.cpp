#include "graph/DrivingInfoView.h"

#include "graph/CircleChartView.h"
#include "graph/DrivingInfoLayout.h"
#include "graph/DrivingInfoViewDelegate.h"
#include "graph/EventStretch.h"
#include "graph/GraphView.h"
#include "graph/LineView.h"
#include "graph/SpeedMeterView.h"
#include "player/EXTextButton.h"
#include "recording/DateFormatTypeUtil.h"
#include "recording/UserDefaultUtil.h"

#include <QFontMetricsF>
#include <QLabel>
#include <QPainter>
#include <QToolButton>

DrivingInfoView::DrivingInfoView(UserDefaultUtil *settings, QWidget *parent)
    : QWidget(parent), _settings(settings)
{
    const DateFormatType format = _settings ? _settings->dateFormat : DateFormatType::MDY24H;
    _timeFormat = DateFormatTypeUtil::format(DateFormatTypeUtil::timeFormats(), format).value_or("HH:mm:ss");

    _lineChartView = new LineView(this);
    _lineChartView->lineViewDelegate = this;
    // The legend took its colours when the chart was made: its swatches stay the chart's own red and orange.
    _lineChartView->legendSpeedColor = DrivingInfoModel::lineVColor();
    _lineChartView->legendGColor = DrivingInfoModel::lineGColor();
    _speedMeterView = new SpeedMeterView(this);
    _circleChartView = new CircleChartView(_settings, this);

    const auto makeToggle = [](QToolButton *button, const QString &title) {
        button->setCheckable(true);
        button->setChecked(true);
        button->setText(title);
        button->setToolButtonStyle(Qt::ToolButtonTextOnly);
        button->setStyleSheet(
            QStringLiteral("QToolButton { color: white; background: #3a3b40; border: 1px solid #55565c; "
                           "border-radius: 3px; }"
                           "QToolButton:checked { background: #5a5c66; border-color: #8a8c96; }"
                           "QToolButton:hover { border-color: #d8dae2; }"
                           // The keyboard's focus in the player's blue, over the checked look.
                           "QToolButton:focus { border-color: #5a9be0; }"));
        return button;
    };
    _speedMeterButton = new EXTextButton(this);
    makeToggle(_speedMeterButton, tr("Meter"));
    // Flush right in its room: a shorter translation leaves the room's left free.
    const int inset = static_cast<int>(DrivingInfoLayout::TITLE_INSET);
    _speedMeterButton->setTitleMargins(QMargins(inset, 0, inset, 0));
    _speedMeterButton->setTitleAlignment(Qt::AlignRight | Qt::AlignVCenter);
    _circleChartButton = makeToggle(new QToolButton(this), QStringLiteral("G"));
    connect(_speedMeterButton, &QToolButton::clicked, this, [this] { onDisplayButton(false); });
    connect(_circleChartButton, &QToolButton::clicked, this, [this] { onDisplayButton(true); });
    _gpsImage = new QLabel(this);
    setGpsImage(QStringLiteral("parts_gps_off"));
    if (_settings) {
        _speedMeterView->setSpeedType(_settings->speedMeter ? SpeedMeterType::KMH : SpeedMeterType::MPH);
        setDispSpeedMeter(_settings->dispSpeedMeter);
        setDispCircleChart(_settings->dispCircleChart);
    }
    resize(sizeHint());
}

DrivingInfoView::~DrivingInfoView() = default;

QToolButton *DrivingInfoView::speedMeterButton() const
{
    return _speedMeterButton;
}

DrivingInfoModel::Settings DrivingInfoView::settings() const
{
    DrivingInfoModel::Settings s;
    s.timeFormat = _timeFormat;
    if (_settings) {
        s.timeZone = DateFormatTypeUtil::timeZoneIdentifier(_settings->timeZone);
        s.summerTime = _settings->summerTime;
        s.kmh = _settings->speedMeter;
    } else {
        s.timeZone = DateFormatTypeUtil::timeZoneIdentifier(DateFormatTypeUtil::DEFAULT_TIME_ZONE);
    }
    return s;
}

void DrivingInfoView::setDispSpeedMeter(bool shown)
{
    _speedMeterButton->setChecked(shown);
    _speedMeterView->setVisible(shown);
}

void DrivingInfoView::setDispCircleChart(bool shown)
{
    _circleChartButton->setChecked(shown);
    _circleChartView->setVisible(shown);
}

void DrivingInfoView::setupView()
{
    setButtonTitles();
    updateLayout(true);
}

void DrivingInfoView::setButtonTitles()
{
    // Sizes are in points of the screen, that is pixels here. The button keeps its width in every language:
    // a longer title ("Velocímetro") is set smaller.
    QFont font(QStringLiteral("Arial"));
    const QString title = _speedMeterButton->text();
    const std::optional<double> size = DrivingInfoLayout::titlePointSize([&](double pointSize) {
        font.setPixelSize(static_cast<int>(pointSize));
        return QFontMetricsF(font).horizontalAdvance(title);
    });
    if (!size)
        return;
    font.setPixelSize(static_cast<int>(*size));
    _speedMeterButton->setFont(font);
}

void DrivingInfoView::loadMovieChapters(std::shared_ptr<DrivingDataSource> source)
{
    _model.loadMovieChapters(std::move(source), settings());
    loadChart();
    updateLayout(true);
}

void DrivingInfoView::loadEventChapters(CardData &card, MoveProtectInfo &protectInfo)
{
    loadEventStretch(EventStretch::fromRecord(card, protectInfo));
}

void DrivingInfoView::loadEventStretch(const EventStretch &stretch)
{
    _model.loadEventChapters(stretch.source, stretch.type, stretch.accidentValue, stretch.minValue,
                             stretch.maxValue, settings());
    loadChart();
    updateLayout(true);
}

void DrivingInfoView::updateDrivingInfo()
{
    _model.updateDrivingInfo(settings());
    loadChart();
}

void DrivingInfoView::loadChart()
{
    const LineChartData &chart = _model.chart();
    LineView &line = *_lineChartView;
    line._speedData = chart.speedData;
    line._speedDataColor = chart.speedDataColor;
    line._gData = chart.gData;
    line._gDataColor = chart.gDataColor;
    line.minValue = chart.minValue;
    line.maxValue = chart.maxValue;
    line.accidentValue = chart.accidentValue;
}

void DrivingInfoView::setValue(int position)
{
    const int rebuilds = _model.rebuildCount();
    const bool chapterChanged = _model.setValue(position, settings());
    showModel(rebuilds, chapterChanged);
}

void DrivingInfoView::showModel(int rebuildsBefore, bool reloadChart)
{
    if (_model.rebuildCount() != rebuildsBefore)
        loadChart();
    const int r = _model.relativeValue();
    _lineChartView->_value = r;
    _lineChartView->graphView()->selectValue = r;
    _lineChartView->graphView()->updateSelectLine();
    updateLayout(reloadChart);
}

void DrivingInfoView::updateLayout(bool reloadChart)
{
    const bool meterShown = _speedMeterButton->isChecked();
    const bool circleShown = _circleChartButton->isChecked();
    _speedMeterView->setVisible(meterShown);
    _circleChartView->setVisible(circleShown);
    const DrivingInfoLayout layout = DrivingInfoLayout::compute(
        size(), meterShown, circleShown, _speedMeterView->sizeHint(), _circleChartView->sizeHint());
    _lineChartView->setGeometry(layout.lineChart.toRect());
    _speedMeterView->setGeometry(layout.speedMeter.toRect());
    _circleChartView->setGeometry(layout.circleChart.toRect());
    _speedMeterButton->setGeometry(layout.speedMeterButton.toRect());
    _circleChartButton->setGeometry(layout.circleChartButton.toRect());
    _gpsImage->setGeometry(layout.gpsImage.toRect());
    if (reloadChart)
        _lineChartView->setChartData();
}

void DrivingInfoView::onDisplayButton(bool circleChart)
{
    if (delegate)
        delegate->saveDisplaySetting(circleChart);
    updateLayout(false);
}

void DrivingInfoView::setGpsImage(const QString &name)
{
    // Set on every frame; the icon is only repainted when it changes.
    if (name == _gpsImageName)
        return;
    _gpsImageName = name;
    const QSize size(static_cast<int>(DrivingInfoLayout::GPS_SIZE),
                     static_cast<int>(DrivingInfoLayout::GPS_SIZE));
    _gpsImage->setPixmap(_images.pixmap(name, size, devicePixelRatioF()));
}

void DrivingInfoView::showFrame(int position, const std::optional<DrivingSample> &frame,
                                CommonConst::PlayStatus status, bool playing,
                                const SpeedDurationTable &durInfo)
{
    setValue(position);
    _circleChartView->updateMarker(position, status);
    if (frame)
        _speedMeterView->updateSpeed(*frame, playing, durInfo);
    setGpsImage(frame && frame->gps ? QStringLiteral("parts_gps_on") : QStringLiteral("parts_gps_off"));
}

void DrivingInfoView::clearFrame()
{
    loadMovieChapters(nullptr);
    _circleChartView->loadMovieChapters(nullptr);
    _speedMeterView->resetMeter();
    setGpsImage(QStringLiteral("parts_gps_off"));
}

void DrivingInfoView::timelineRefreshed(int position)
{
    const int rebuilds = _model.rebuildCount();
    _model.timelineRefreshed(position, settings());
    showModel(rebuilds, _model.rebuildCount() != rebuilds);
    _circleChartView->timelineRefreshed(position);
}

std::optional<int> DrivingInfoView::selectedPosition() const
{
    if (!_lineChartView->_value)
        return std::nullopt;
    return _model.minValue() + *_lineChartView->_value;
}

void DrivingInfoView::lineChartSeek(CommonConst::MouseStatus phase)
{
    if (delegate)
        delegate->lineChartSeek(phase);
}

void DrivingInfoView::resizeEvent(QResizeEvent *)
{
    updateLayout(false);
}

void DrivingInfoView::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.fillRect(rect(), QColor(0x20, 0x21, 0x25));
    // A third of white, not Qt::darkGray (which is half).
    painter.setPen(QPen(QColor(85, 85, 85), 1.0));
    painter.drawRect(QRectF(0.5, 0.5, width() - 1.0, height() - 1.0));
}
