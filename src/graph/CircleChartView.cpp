#include "graph/CircleChartView.h"

#include "graph/EventStretch.h"
#include "recording/UserDefaultUtil.h"

#include <QPainter>
#include <QToolButton>

CircleChartView::CircleChartView(UserDefaultUtil *settings, QWidget *parent)
    : QWidget(parent), _settings(settings)
{
    if (_settings)
        _model.setScope(CircleChartModel::scopeFromIndex(_settings->dispCircleChartMaxG));
    _scopeButton = new QToolButton(this);
    _scopeButton->setAutoRaise(true);
    // A frame a pixel wide round the image shows the keyboard's focus in the player's blue.
    _scopeButton->setStyleSheet(QStringLiteral("QToolButton { border: 1px solid transparent; padding: 0; }"
                                               "QToolButton:focus { border-color: #5a9be0; }"));
    connect(_scopeButton, &QToolButton::pressed, this, [this] {
        _scopeButton->setIcon(
            QIcon(_images.pixmap(CircleChartModel::scopeImageName(_model.gScopeType, true))));
    });
    connect(_scopeButton, &QToolButton::released, this, &CircleChartView::updateScopeImages);
    connect(_scopeButton, &QToolButton::clicked, this, &CircleChartView::saveScopeSetting);
    updateScopeImages();
    resize(sizeHint());
}

void CircleChartView::updateScopeImages()
{
    const QString name = CircleChartModel::scopeImageName(_model.gScopeType, false);
    const QSize size = _images.naturalSize(name);
    _scopeButton->setIcon(QIcon(_images.pixmap(name)));
    _scopeButton->setIconSize(size);
    _scopeButton->setFixedSize(size + QSize(2, 2));
    // The image itself 4 pixels in from the corner, its frame around it.
    _scopeButton->move(width() - 5 - size.width(), height() - 5 - size.height());
}

void CircleChartView::saveScopeSetting()
{
    _model.setScope(CircleChartModel::nextScope(_model.gScopeType));
    updateScopeImages();
    update();
    if (_settings) {
        _settings->dispCircleChartMaxG = static_cast<uint8_t>(_model.gScopeType);
        _settings->setValue(UserDefaultUtil::KEY_DISP_CIRCLE_CHART_MAX_G,
                            CircleChartModel::scopeFullScale(_model.gScopeType));
    }
}

void CircleChartView::loadMovieChapters(std::shared_ptr<DrivingDataSource> source)
{
    _model.loadMovieChapters(std::move(source));
    update();
}

void CircleChartView::loadEventChapters(CardData &card, MoveProtectInfo &protectInfo)
{
    const EventStretch stretch = EventStretch::fromRecord(card, protectInfo);
    loadEventChapters(stretch.source, stretch.type, stretch.minValue, stretch.maxValue);
}

void CircleChartView::loadEventChapters(std::shared_ptr<DrivingDataSource> source, CommonConst::PlayType type,
                                        int minValue, int maxValue)
{
    _model.loadEventChapters(std::move(source), type, minValue, maxValue);
    update();
}

void CircleChartView::updateMarker(int value, CommonConst::PlayStatus status)
{
    _model.updateMarker(value, status);
    update();
}

void CircleChartView::timelineRefreshed(int value)
{
    _model.timelineRefreshed(value);
    update();
}

void CircleChartView::resizeEvent(QResizeEvent *)
{
    _model.setSize(size());
    updateScopeImages();
}

void CircleChartView::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.drawPixmap(0, 0, _images.pixmap(QStringLiteral("parts_g_circle"), size(), devicePixelRatioF()));
    if (_model.isEmpty())
        return;
    // The model's points have y upwards.
    painter.translate(0.0, height());
    painter.scale(1.0, -1.0);
    QPen pen(Qt::black, CircleChartModel::G_LINE_PEN_SIZE, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
    for (const CircleChartModel::TracePath &path : _model.trace()) {
        if (path.points.size() < 2)
            continue;
        pen.setColor(path.colour);
        painter.setPen(pen);
        painter.drawPolyline(path.points.data(), static_cast<int>(path.points.size()));
    }
    if (const auto dot = _model.marker()) {
        painter.setPen(QPen(CircleChartModel::markerColor(), CircleChartModel::G_POINT_SIZE, Qt::SolidLine,
                            Qt::RoundCap, Qt::RoundJoin));
        painter.drawPoint(*dot);
    }
}
