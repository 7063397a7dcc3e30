#include "player/PlayerView.h"

#include "player/ZoomSelectOverlay.h"

#include <QCoreApplication>
#include <QCursor>
#include <QFont>
#include <QLabel>
#include <QMouseEvent>

#include <algorithm>

namespace {

// Height of the camera's own caption strip in a 1080-line picture, covered on trimmed clips.
constexpr double CUT_BAND_LINES = 30.0;
constexpr double PICTURE_LINES = 1080.0;

QRect toPixels(const QRectF &rect)
{
    return rect.toAlignedRect();
}

} // namespace

std::optional<PlayerView::ScaleType> PlayerView::scaleFromRaw(int raw)
{
    if (raw < 1 || raw > 5)
        return std::nullopt;
    return static_cast<ScaleType>(raw);
}

PlayerView::PlayerView(QWidget *parent) : QWidget(parent), strTrimMode(tr("● Trim Mode"))
{
    setAutoFillBackground(true);
    QPalette black = palette();
    black.setColor(QPalette::Window, Qt::black);
    setPalette(black);
    setMouseTracking(true);

    _maskLayer = new QWidget(this);
    _maskLayer->setAutoFillBackground(true);
    _maskLayer->setPalette(black);
    _maskLayer->setMouseTracking(true);
    _zoomSelectLayer = new ZoomSelectOverlay(this);
    _zoomSelectLayer->hide();
    attachPlayer();
    // The preview follows the pointer over every window of the program, not only over the picture.
    if (QCoreApplication::instance())
        QCoreApplication::instance()->installEventFilter(this);
}

bool PlayerView::eventFilter(QObject *watched, QEvent *event)
{
    // Moves over widgets that do not track the pointer still pass the application's filters.
    if (event->type() == QEvent::MouseMove && !_zoomPoint && _playerScale != ScaleType::Scale_x1 &&
        isVisible()) {
        const QPointF global = static_cast<QMouseEvent *>(event)->globalPosition();
        // The same move reaches the filter again for each parent it is passed on to.
        if (global != _pointerGlobal) {
            _pointerGlobal = global;
            _pointer = mapFromGlobal(global);
            layoutZoom();
        }
    }
    return QWidget::eventFilter(watched, event);
}

void PlayerView::setPlayerLayer(QWidget *widget)
{
    if (_playerLayer == widget)
        return;
    if (_playerLayer) {
        _playerLayer->hide();
        _playerLayer->deleteLater();
    }
    _playerLayer = widget;
}

void PlayerView::setStandbyLayer(QWidget *widget)
{
    if (_standbyLayer == widget)
        return;
    if (_standbyLayer) {
        _standbyLayer->hide();
        _standbyLayer->deleteLater();
    }
    _standbyLayer = widget;
    if (_standbyLayer) {
        _standbyLayer->setParent(_maskLayer);
        _standbyLayer->setMouseTracking(true);
        _standbyLayer->show();
        _standbyLayer->lower();
    }
    layoutZoom();
}

void PlayerView::swapLayers()
{
    std::swap(_playerLayer, _standbyLayer);
    if (_playerLayer)
        _playerLayer->raise();
    layoutZoom();
}

void PlayerView::attachPlayer()
{
    if (_playerLayer) {
        _playerLayer->setParent(_maskLayer);
        _playerLayer->setMouseTracking(true);
        _playerLayer->show();
        _playerLayer->raise();
    }
    // Bottom to top: picture (clipped by the mask), zoom preview, band, trim label.
    _maskLayer->lower();
    _zoomSelectLayer->raise();
    if (lblSubMask)
        lblSubMask->raise();
    if (lblTrim)
        lblTrim->raise();
    layoutZoom();
}

QRectF PlayerView::fittedVideoRect() const
{
    const double w = width();
    const double h = height();
    double vw, vh;
    if (h * videoAspect > w) {
        vw = w;
        vh = w / videoAspect;
    } else {
        vw = h * videoAspect;
        vh = h;
    }
    return QRectF(w * 0.5 - vw * 0.5, h * 0.5 - vh * 0.5, vw, vh);
}

QPointF PlayerView::clampZoomPoint(QPointF point) const
{
    const double s = static_cast<int>(_playerScale);
    const QRectF m = _maskRect.isNull() ? fittedVideoRect() : _maskRect;
    const QPointF low(m.left() + m.width() / (2 * s), m.top() + m.height() / (2 * s));
    const QPointF high(width() - low.x(), height() - low.y());
    // Raised first, then lowered: the upper bound wins if the two cross.
    point.setX(std::min(std::max(point.x(), low.x()), high.x()));
    point.setY(std::min(std::max(point.y(), low.y()), high.y()));
    return point;
}

QPointF PlayerView::mouseZoomPoint() const
{
    const QPointF pointer = _pointer ? *_pointer : QPointF(mapFromGlobal(QCursor::pos()));
    return clampZoomPoint(pointer);
}

QPointF PlayerView::fractionInMask(QPointF point) const
{
    const QRectF m = _maskRect;
    if (m.width() <= 0 || m.height() <= 0)
        return QPointF(0.5, 0.5);
    return QPointF((point.x() - m.left()) / m.width(), (point.y() - m.top()) / m.height());
}

void PlayerView::layoutZoom()
{
    const double w = width();
    const double h = height();
    const QPointF centre(w * 0.5, h * 0.5);
    _maskRect = fittedVideoRect();
    const double vw = _maskRect.width();
    const double vh = _maskRect.height();

    QPointF anchor(0.5, 0.5);
    double scale = 1.0;
    if (_zoomPoint && _playerScale != ScaleType::Scale_x1) {
        if (_locationInWindow && (!_prevScale || *_prevScale != _playerScale)) {
            // The window for the new scale has another size: clamp the clicked spot again.
            const QPointF inView =
                window() == this ? *_locationInWindow : mapFrom(window(), *_locationInWindow);
            _zoomPoint = fractionInMask(clampZoomPoint(inView));
            _prevScale = _playerScale;
        }
        anchor = *_zoomPoint;
        scale = static_cast<int>(_playerScale);
    }
    const double pw = vw * scale;
    const double ph = vh * scale;
    // The anchor point of the picture lands on the view's centre.
    _playerRect = QRectF(centre.x() - anchor.x() * pw, centre.y() - anchor.y() * ph, pw, ph);

    _maskLayer->setGeometry(toPixels(_maskRect));
    for (QWidget *layer : {_playerLayer.data(), _standbyLayer.data()}) {
        if (layer)
            layer->setGeometry(toPixels(_playerRect.translated(-_maskLayer->pos())));
    }

    _zoomSelectLayer->setGeometry(0, 0, width(), height());
    if (!_zoomPoint && _playerScale != ScaleType::Scale_x1) {
        const double s = static_cast<int>(_playerScale);
        const double zw = vw / s;
        const double zh = vh / s;
        const QPointF p = mouseZoomPoint();
        _zoomSelectLayer->setWindowRect(QRectF(p.x() - zw * 0.5, p.y() - zh * 0.5, zw, zh));
        _zoomSelectLayer->show();
    } else {
        _zoomSelectLayer->hide();
    }

    if (lblTrim && !lblTrim->isHidden())
        lblTrim->move(static_cast<int>(_playerRect.left() + 5), static_cast<int>(_playerRect.top() + 5));

    if (!lblSubMask) {
        lblSubMask = new QLabel(this);
        lblSubMask->setAutoFillBackground(true);
        QPalette black = lblSubMask->palette();
        black.setColor(QPalette::Window, Qt::black);
        lblSubMask->setPalette(black);
        lblSubMask->setAttribute(Qt::WA_TransparentForMouseEvents);
    }
    if (_isCutFile) {
        const double band = _playerRect.height() * CUT_BAND_LINES / PICTURE_LINES;
        lblSubMask->setGeometry(
            toPixels(QRectF(_playerRect.left(), _playerRect.bottom() - band, _playerRect.width(), band)));
        lblSubMask->raise();
        if (lblTrim)
            lblTrim->raise();
        lblSubMask->show();
    } else {
        lblSubMask->hide();
    }
}

void PlayerView::showTrimLabel(bool show)
{
    if (!lblTrim) {
        lblTrim = new QLabel(strTrimMode, this);
        QFont font = lblTrim->font();
        font.setBold(true);
        font.setPointSizeF(24.0);
        lblTrim->setFont(font);
        QPalette red = lblTrim->palette();
        red.setColor(QPalette::WindowText, Qt::red);
        lblTrim->setPalette(red);
        lblTrim->setAttribute(Qt::WA_TransparentForMouseEvents);
        lblTrim->adjustSize();
        lblTrim->raise();
    }
    lblTrim->setVisible(show);
}

bool PlayerView::isZoomPreviewVisible() const
{
    return !_zoomSelectLayer->isHidden();
}

QRectF PlayerView::zoomPreviewWindow() const
{
    return _zoomSelectLayer->windowRect();
}

void PlayerView::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    layoutZoom();
    if (_backLabel)
        _backLabel->move((width() - _backLabel->width()) / 2, (height() - _backLabel->height()) / 2);
}

void PlayerView::setGradient(bool on)
{
    QPalette palette = this->palette();
    if (on) {
        // Black at the bottom to dark grey (a third of white) at the top, as drawn from bottom to top.
        QLinearGradient gradient(0, 1, 0, 0);
        gradient.setCoordinateMode(QGradient::ObjectBoundingMode);
        gradient.setColorAt(0, Qt::black);
        gradient.setColorAt(1, QColor(0x55, 0x55, 0x55));
        palette.setBrush(QPalette::Window, gradient);
    } else {
        palette.setBrush(QPalette::Window, Qt::black);
    }
    setPalette(palette);
    // The gradient lies over the whole surface: the picture's black area does not cover it.
    _maskLayer->setAutoFillBackground(!on);
}

void PlayerView::setBackText(const QString &text)
{
    if (!_backLabel) {
        _backLabel = new QLabel(this);
        _backLabel->setStyleSheet(
            QStringLiteral("color: #c8ccd0; font-size: 20px; background: transparent;"));
        _backLabel->setAttribute(Qt::WA_TransparentForMouseEvents);
    }
    _backLabel->setText(text);
    _backLabel->adjustSize();
    _backLabel->setVisible(!text.isEmpty());
    _backLabel->raise();
    _backLabel->move((width() - _backLabel->width()) / 2, (height() - _backLabel->height()) / 2);
}

void PlayerView::mousePressEvent(QMouseEvent *event)
{
    const QPointF p = event->position();
    if (!_zoomPoint && _playerScale != ScaleType::Scale_x1) {
        _pointer = p;
        _zoomPoint = fractionInMask(clampZoomPoint(p));
        _locationInWindow = mapTo(window(), p);
        layoutZoom();
    } else {
        resetZoom();
    }
    // The panel above also reacts to the click.
    event->ignore();
}

void PlayerView::resetZoom()
{
    _playerScale = ScaleType::Scale_x1;
    _zoomPoint.reset();
    _locationInWindow.reset();
    // The unzoomed picture shows at once, and the preview goes with the scale.
    layoutZoom();
}

void PlayerView::setPlayerScale(ScaleType scale)
{
    // A newly chosen scale previews around where the pointer is now, not where it was last seen over the
    // picture: the menu or the keys that chose it are elsewhere.
    if (scale != _playerScale) {
        _pointer.reset();
        _pointerGlobal.reset();
    }
    _playerScale = scale;
}

void PlayerView::mouseMoveEvent(QMouseEvent *event)
{
    _pointer = event->position();
    if (!_zoomPoint)
        layoutZoom();
    event->ignore();
}
