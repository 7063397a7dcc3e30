#include "player/CustomSliderCellMin.h"

#include <QLabel>
#include <QMouseEvent>
#include <QPainter>
#include <QSvgRenderer>

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
    if (!_valLabel) {
        _valLabel = new QLabel(text, parentWidget());
        QFont font = _valLabel->font();
        font.setPointSizeF(10.0);
        _valLabel->setFont(font);
        _valLabel->setStyleSheet(QStringLiteral("background: lightgray; color: black;"));
    }
    _valLabel->setText(text);
    _valLabel->adjustSize();
    // Left-aligned with the slider, just above it; it stays there for the whole drag.
    _valLabel->move(geometry().left(), geometry().top() - _valLabel->height());
    _valLabel->show();
    _valLabel->raise();
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
