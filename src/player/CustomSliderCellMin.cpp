#include "player/CustomSliderCellMin.h"

#include <QLabel>
#include <QMainWindow>
#include <QMouseEvent>
#include <QPainter>
#include <QSvgRenderer>

#include <algorithm>
#include <cmath>

namespace {
constexpr int BAND = 10;
constexpr const char *IMAGES[] = {"trackbar_back", "trackbar_active", "trackbar_off", "trackbar_thumb_min"};
} // namespace

CustomSliderCellMin::CustomSliderCellMin(const QString &identifier, double minimum, double maximum,
                                         int stepsPerUnit, QWidget *parent)
    : QSlider(Qt::Horizontal, parent), _stepsPerUnit(stepsPerUnit)
{
    setObjectName(identifier);
    setRange(static_cast<int>(std::lround(minimum * stepsPerUnit)),
             static_cast<int>(std::lround(maximum * stepsPerUnit)));
    setFixedHeight(18);
    setFocusPolicy(Qt::StrongFocus);
    for (const char *name : IMAGES) {
        auto renderer =
            std::make_unique<QSvgRenderer>(QStringLiteral(":/images/player/%1.svg").arg(QLatin1String(name)));
        if (!renderer->isValid())
            qFatal("[CustomSliderCellMin] missing image %s", name);
        _images[QLatin1String(name)] = std::move(renderer);
    }
    if (identifier == QLatin1String("bright"))
        setToolTip(tr("Adjust brightness"));
    else if (identifier == QLatin1String("volume"))
        setToolTip(tr("Volume control"));
    else if (identifier == QLatin1String("speed"))
        setToolTip(tr("Play back speed"));
}

CustomSliderCellMin::~CustomSliderCellMin() = default;

void CustomSliderCellMin::setDoubleValue(double value)
{
    setValue(static_cast<int>(std::lround(value * _stepsPerUnit)));
}

QString CustomSliderCellMin::bubbleText(const QString &identifier, double value)
{
    if (identifier == QLatin1String("bright"))
        return QString::asprintf("%.1f", value);
    if (identifier == QLatin1String("volume"))
        return QString::number(std::lround(value * volMaxVal));
    return {};
}

QRect CustomSliderCellMin::trackingBand() const
{
    return {0, (height() - BAND) / 2, width(), BAND};
}

void CustomSliderCellMin::paintEvent(QPaintEvent *)
{
    QPainter p(this);
    const QRect band = trackingBand();
    _images.at(QStringLiteral("trackbar_back"))->render(&p, band);
    const QRectF bar(band.x() + 2, band.center().y() - 2, band.width() - 4, 4);
    _images.at(QStringLiteral("trackbar_off"))->render(&p, bar);
    const double span = std::max(1, maximum() - minimum());
    const double fraction = (value() - minimum()) / span;
    const double knobWidth = 10.0;
    const double x = bar.x() + fraction * (bar.width() - knobWidth);
    _images.at(QStringLiteral("trackbar_active"))
        ->render(&p, QRectF(bar.x(), bar.y(), x - bar.x() + knobWidth / 2, bar.height()));
    _images.at(QStringLiteral("trackbar_thumb_min"))
        ->render(&p, QRectF(x, band.center().y() - knobWidth / 2, knobWidth, knobWidth));
    if (hasFocus()) {
        p.setPen(QColor(0x5a, 0x9b, 0xe0));
        p.drawRect(rect().adjusted(0, 0, -1, -1));
    }
}

void CustomSliderCellMin::showBubble()
{
    const QString text = bubbleText(identifier(), doubleValue());
    if (text.isEmpty()) {
        if (_valLabel)
            _valLabel->hide();
        return;
    }
    // The bubble lives in the window's content, so the tool bar's edge or the menu bar cannot cut it.
    QWidget *area = window();
    if (auto *main = qobject_cast<QMainWindow *>(area); main && main->centralWidget())
        area = main->centralWidget();
    if (!_valLabel) {
        _valLabel = new QLabel(text, area);
        QFont font = _valLabel->font();
        font.setPointSizeF(10.0);
        _valLabel->setFont(font);
        _valLabel->setStyleSheet(QStringLiteral("background: lightgray; color: black;"));
    }
    if (_valLabel->parentWidget() != area)
        _valLabel->setParent(area);
    _valLabel->setText(text);
    _valLabel->adjustSize();
    // It stays where the drag began for the whole drag.
    const QRect slider(mapTo(area, QPoint(0, 0)), size());
    _valLabel->setGeometry(bubbleRect(slider, _valLabel->size(), area->rect()));
    _valLabel->show();
    _valLabel->raise();
}

QRect CustomSliderCellMin::bubbleRect(const QRect &slider, const QSize &bubble, const QRect &area)
{
    QRect rect(QPoint(slider.left(), slider.top() - bubble.height()), bubble);
    if (area.contains(rect))
        return rect;
    rect.moveTop(slider.bottom() + 1);
    rect.moveLeft(std::max(area.left(), std::min(rect.left(), area.right() + 1 - rect.width())));
    rect.moveTop(std::max(area.top(), std::min(rect.top(), area.bottom() + 1 - rect.height())));
    return rect;
}

void CustomSliderCellMin::mousePressEvent(QMouseEvent *event)
{
    if (!trackingBand().contains(event->position().toPoint())) {
        event->ignore();
        return;
    }
    _tracking = true;
    QSlider::mousePressEvent(event);
    showBubble();
}

void CustomSliderCellMin::mouseMoveEvent(QMouseEvent *event)
{
    QSlider::mouseMoveEvent(event);
    if (_tracking && _valLabel && _valLabel->isVisible()) {
        _valLabel->setText(bubbleText(identifier(), doubleValue()));
        _valLabel->adjustSize();
    }
}

void CustomSliderCellMin::mouseReleaseEvent(QMouseEvent *event)
{
    QSlider::mouseReleaseEvent(event);
    _tracking = false;
    if (_valLabel)
        _valLabel->hide();
}
