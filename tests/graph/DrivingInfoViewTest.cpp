#include "graph/DrivingInfoView.h"
#include "FakeDrivingData.h"
#include "graph/CircleChartView.h"
#include "graph/DrivingInfoViewDelegate.h"
#include "graph/EventStretch.h"
#include "graph/GraphView.h"
#include "graph/LineView.h"
#include "graph/SelectLineView.h"
#include "graph/SpeedMeterView.h"
#include "player/EXTextButton.h"

#include <QCoreApplication>
#include <QDir>
#include <QMouseEvent>
#include <QToolButton>
#include <gtest/gtest.h>

#include <cmath>

namespace {
using Phase = CommonConst::MouseStatus;

// Renders go into the build folder for a look by eye.
QImage keep(QWidget &widget, const QString &name)
{
    const QImage image = widget.grab().toImage();
    const QString dir = qEnvironmentVariable("ORV_BUILD_DIR") + "/graph-renders";
    QDir().mkpath(dir);
    image.save(dir + "/" + name + ".png");
    return image;
}

bool isNeedleRed(QRgb pixel)
{
    return qRed(pixel) > 180 && qGreen(pixel) < 150 && qBlue(pixel) < 120;
}

// G spirals outwards over the minute: a still trace covers more of the chart than the last ten seconds.
std::shared_ptr<FakeDrivingData> spiral()
{
    return std::make_shared<FakeDrivingData>(std::vector<int32_t>{60000}, [](int32_t p) {
        const double a = p / 4000.0 * 2.0 * 3.14159265358979;
        const double r = 0.05 + 0.9 * p / 60000.0;
        return makeSample(p, 20 + p / 1000, r * std::cos(a), r * std::sin(a), p < 30000 || p > 36000);
    });
}

int colouredPixels(const QImage &image, const QColor &colour)
{
    int n = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            n += QColor(image.pixel(x, y)) == colour;
    return n;
}

class FakeMainWindow : public DrivingInfoViewDelegate
{
public:
    explicit FakeMainWindow(DrivingInfoView &panel) : _panel(panel) {}
    void saveDisplaySetting(bool circleChart) override { saved.push_back(circleChart); }
    void lineChartSeek(Phase phase) override { seeks.emplace_back(phase, _panel.selectedPosition()); }

    std::vector<bool> saved;
    std::vector<std::pair<Phase, std::optional<int>>> seeks;

private:
    DrivingInfoView &_panel;
};

void sendMouse(QWidget *widget, QEvent::Type type, double x, Qt::MouseButton button = Qt::LeftButton)
{
    const QPointF at(x, widget->height() / 2.0);
    QMouseEvent event(type, at, widget->mapToGlobal(at), button,
                      type == QEvent::MouseButtonRelease ? Qt::NoButton : button, Qt::NoModifier);
    QCoreApplication::sendEvent(widget, &event);
}
} // namespace

TEST(SpeedMeterViewTest, NeedlePointsAtTheSpeedOnTheDial)
{
    int64_t now = 0;
    SpeedMeterView meter(nullptr, [&now] { return now; });
    meter.setSpeedType(SpeedMeterType::KMH);
    meter.resize(meter.sizeHint());
    for (const int kmh : {0, 60, 180}) {
        meter.updateSpeed(makeSample(0, kmh), false, {});
        now += 2000;
        const QImage image = keep(meter, QStringLiteral("meter_%1").arg(kmh));
        const double angle = SpeedMeterModel::needleAngle(kmh, SpeedMeterType::KMH);
        const auto at = [&](double a, double r) {
            return image.pixel(qRound(71 - r * std::sin(a)), qRound(72 - r * std::cos(a)));
        };
        EXPECT_TRUE(isNeedleRed(at(angle, 22.0))) << kmh;
        EXPECT_FALSE(isNeedleRed(at(angle + 1.2, 22.0))) << kmh;
    }
}

TEST(CircleChartViewTest, PlayingTraceIsTheRecentPartOfThePausedOne)
{
    CircleChartView chart;
    chart.resize(130, 130);
    chart.loadMovieChapters(spiral());
    chart.updateMarker(40000, CommonConst::PlayStatus::Play);
    const QImage playing = keep(chart, "circle_playing");
    chart.updateMarker(40000, CommonConst::PlayStatus::Pause);
    const QImage paused = keep(chart, "circle_paused");
    const QColor orange(255, 165, 0);
    EXPECT_GT(colouredPixels(playing, orange), 0);
    EXPECT_GT(colouredPixels(paused, orange), colouredPixels(playing, orange) * 2);
    const QPointF dot = *chart.model().marker(); // yellow
    EXPECT_EQ(paused.pixelColor(qRound(dot.x() - 0.5), qRound(130 - dot.y() - 0.5)), QColor(255, 255, 0));
}

TEST(LineViewTest, GraphPlacementLabelsAndEventLine)
{
    LineView chart;
    chart.resize(470, 160);
    chart.show();
    EXPECT_EQ(chart.graphView()->geometry(), QRect(40, 20, 400, 120));
    DrivingInfoModel model;
    DrivingInfoModel::Settings settings;
    settings.timeZone = "UTC";
    model.loadEventChapters(spiral(), CommonConst::PlayType::Event, 24000, 12000, 32000, settings);
    const LineChartData &data = model.chart();
    chart._speedData = data.speedData;
    chart._speedDataColor = data.speedDataColor;
    chart._gData = data.gData;
    chart._gDataColor = data.gDataColor;
    chart.minValue = data.minValue;
    chart.maxValue = data.maxValue;
    chart.accidentValue = data.accidentValue;
    chart._value = 4000;
    chart.setChartData();
    const QImage image = keep(chart, "line_chart_event");
    // The event 12 s into 20 s: red from top to bottom of the graph at x = 40 + 0.6 × 400.
    int redRows = 0;
    for (int y = 21; y < 139; ++y)
        redRows +=
            QColor(image.pixel(280, y)) == QColor(Qt::red) || QColor(image.pixel(279, y)) == QColor(Qt::red);
    EXPECT_GT(redRows, 100);
    // The last sample of the 20 s stretch is at 19.98 s.
    const auto line = chart.graphView()->selectLineView()->selectedVarticalLine();
    ASSERT_EQ(line.size(), 1u);
    EXPECT_DOUBLE_EQ(line.front(), 4000.0 * 400.0 / 19980.0);
    EXPECT_EQ(chart.graphView()->xAxisLabels().size(), 7u); // every 3 s

    chart.resize(500, 200);
    EXPECT_EQ(chart.graphView()->geometry(), QRect(40, 20, 430, 160));
}

TEST(DrivingInfoViewTest, ToggleButtonsRelayoutAndDragsSeekThroughTheDelegate)
{
    DrivingInfoView panel;
    panel.resize(760, 172);
    panel.show();
    panel.setupView();
    panel.loadMovieChapters(std::make_shared<FakeDrivingData>(std::vector<int32_t>{9990, 19980},
                                                              [](int32_t p) { return makeSample(p, 60); }));
    const int fullWidth = panel.lineChartView()->width();

    // Without a delegate the button still relayouts.
    panel.speedMeterButton()->click();
    EXPECT_EQ(panel.lineChartView()->width(), fullWidth + panel.speedMeterView()->sizeHint().width() + 1);

    FakeMainWindow window(panel);
    panel.delegate = &window;
    panel.circleChartButton()->click();
    EXPECT_EQ(window.saved, std::vector<bool>{true});
    EXPECT_TRUE(panel.circleChartView()->isHidden());

    panel.setValue(15000);
    EXPECT_EQ(panel.model().minValue(), 9991);
    GraphView *graph = panel.lineChartView()->graphView();
    const double w = graph->width();
    // A context click seeks nothing.
    for (const auto type : {QEvent::MouseButtonPress, QEvent::MouseMove, QEvent::MouseButtonRelease})
        sendMouse(graph, type, w / 3, Qt::RightButton);
    EXPECT_TRUE(window.seeks.empty());
    sendMouse(graph, QEvent::MouseButtonPress, w / 2);
    for (const double x : {w / 4, w + 50, -20.0})
        sendMouse(graph, QEvent::MouseMove, x);
    sendMouse(graph, QEvent::MouseButtonRelease, w);
    const std::vector<std::pair<Phase, std::optional<int>>> expected = {
        {Phase::MouseDown, 9991 + 9990},     {Phase::MouseDragged, 9991 + 4995},
        {Phase::MouseDragged, 9991 + 19980}, {Phase::MouseDragged, 9991},
        {Phase::MouseUp, 9991 + 19980},
    };
    EXPECT_EQ(window.seeks, expected);
}

// The selection line is on screen at every position, the last ones too: from the last sample on (the end
// and the frame before it) the position is held at the graph's right edge.
TEST(DrivingInfoViewTest, TheSelectionLineShowsUpToTheLastPosition)
{
    const auto constant = [](int32_t p) { return makeSample(p, 60, 0.3); };
    // Chapters of 15 and 20 s, 1 ms apart on the trip's timeline; samples every 30 ms up to 19 980 ms.
    const int second = 15001;
    const int frameMs = 33;
    const struct
    {
        const char *name;
        bool event;
        int position;
        double share; // of the graph's width where the line stands; 1 for the last column
    } cases[] = {
        {"trip end", false, second + 20000, 1.0},
        {"trip end less a frame", false, second + 20000 - frameMs, 1.0},
        {"event end", true, 32000, 1.0},
        {"event end less a frame", true, 32000 - frameMs, 1.0},
        {"trip middle", false, second + 9990, 0.5},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        DrivingInfoView panel;
        panel.resize(760, 172);
        panel.show();
        panel.setupView();
        const auto source = std::make_shared<FakeDrivingData>(std::vector<int32_t>{15000, 20000}, constant);
        if (c.event)
            panel.loadEventStretch({CommonConst::PlayType::Event, source, 24000, 12000, 32000});
        else
            panel.loadMovieChapters(source);
        panel.setValue(c.position);
        const QImage image =
            keep(*panel.lineChartView()->graphView(), QStringLiteral("selection_%1").arg(c.position));
        std::vector<int> lineColumns; // yellow from top to bottom
        for (int x = 0; x < image.width(); ++x) {
            int rows = 0;
            for (int y = 0; y < image.height(); ++y)
                rows += image.pixelColor(x, y) == QColor(Qt::yellow);
            if (rows == image.height())
                lineColumns.push_back(x);
        }
        const int w = image.width();
        EXPECT_EQ(lineColumns, std::vector<int>{std::min(static_cast<int>(w * c.share), w - 1)})
            << "graph width " << w;
    }
}

TEST(GraphViewTest, SegmentsTakeTheColourOfThePointTheyEndAt)
{
    GraphView graph;
    graph.resize(400, 120);
    graph.show();
    graph.leftData = {{0, 0.2}, {1500, 0.2}, {3000, 0.2}, {4500, 0.2}};
    graph.leftLineColor = {Qt::red, Qt::red, Qt::blue, Qt::blue};
    graph.borderVartical = {-1};
    graph.dataChanged();
    const QImage image = graph.grab().toImage();
    // 0.2 g on the 0.1..0.5 axis lies a quarter up; no event line for a negative position.
    const auto colourAt = [&](int x) {
        for (const int y : {89, 90, 91})
            if (const QColor c = image.pixelColor(x, y); c == Qt::red || c == Qt::blue)
                return c;
        return QColor();
    };
    EXPECT_EQ(colourAt(66), QColor(Qt::red));
    EXPECT_EQ(colourAt(200), QColor(Qt::blue));
    EXPECT_EQ(colourAt(330), QColor(Qt::blue));
    for (int x = 1; x < 400; ++x)
        ASSERT_NE(image.pixelColor(x, 20), QColor(Qt::red)) << x;
}

// The meter's toggle is the hover text button: the pointer over it lights it as over the player's buttons.
TEST(DrivingInfoViewTest, TheMeterToggleIsTheHoverTextButton)
{
    DrivingInfoView panel;
    panel.resize(760, 172);
    panel.show();
    panel.setupView();
    auto *button = qobject_cast<EXTextButton *>(panel.speedMeterButton());
    ASSERT_NE(button, nullptr);
    const QPointF inside(5, 5);
    QEnterEvent enter(inside, inside, button->mapToGlobal(inside));
    QCoreApplication::sendEvent(button, &enter);
    EXPECT_TRUE(button->isMouseOver());
    QEvent leave(QEvent::Leave);
    QCoreApplication::sendEvent(button, &leave);
    EXPECT_FALSE(button->isMouseOver());
}

// The legend's swatches are drawn in the colours the chart was made with: the panel's softer line colours,
// set afterwards, leave the "Speed" swatch pure red.
TEST(DrivingInfoViewTest, TheLegendKeepsTheColoursTheChartWasMadeWith)
{
    DrivingInfoView panel;
    panel.resize(760, 172);
    panel.show();
    panel.setupView();
    const QImage image = panel.lineChartView()->graphView()->grab().toImage();
    // The swatches are short lines at the legend's left, the "Speed" one on top.
    const auto swatch = [&](int top) {
        for (int y = top + 7; y <= top + 11; ++y)
            if (const QColor c = image.pixelColor(15, y); c != image.pixelColor(15, top + 1))
                return c;
        return QColor();
    };
    EXPECT_EQ(swatch(5), QColor(Qt::red));
    EXPECT_EQ(swatch(23), QColor(255, 128, 0));
}
