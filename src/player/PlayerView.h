// The video surface of the player panel: fits the picture to 16:9, zooms x1-x5 around a clicked
// point, previews the zoom window, shows the trim-mode label and the band over trimmed clips.
#pragma once

#include <QPointF>
#include <QPointer>
#include <QRectF>
#include <QWidget>

#include <optional>

class QLabel;
class ZoomSelectOverlay;

class PlayerView : public QWidget
{
    Q_OBJECT
public:
    // Raw value is the magnification.
    enum class ScaleType
    {
        Scale_x1 = 1,
        Scale_x2 = 2,
        Scale_x3 = 3,
        Scale_x4 = 4,
        Scale_x5 = 5
    };
    static std::optional<ScaleType> scaleFromRaw(int raw);

    explicit PlayerView(QWidget *parent = nullptr);

    // The widget showing the current player's picture (the engine's video widget); the surface
    // takes it as a child of its mask. Null shows black.
    void setPlayerLayer(QWidget *widget);
    QWidget *playerLayer() const { return _playerLayer; }
    // The second player's picture (a chapter opened ahead), kept under the current one with the
    // same geometry so that a swap shows it at once.
    void setStandbyLayer(QWidget *widget);
    QWidget *standbyLayer() const { return _standbyLayer; }
    // The standby picture becomes the current one and the current one waits under it.
    void swapLayers();
    // Rebuilds the widget tree around the current player widget and lays it out.
    void attachPlayer();
    // Recomputes the geometry of every part from the view size and the zoom state.
    void layoutZoom();
    void showTrimLabel(bool show);
    // Black to dark grey behind the picture; the panel drops it once it is cleared.
    void setGradient(bool on);
    // The text shown in the middle while there is no picture ("Now Loading"); empty hides it.
    void setBackText(const QString &text);

    // The pointer's position in the view, clamped so that a zoom window around it fits the picture.
    QPointF mouseZoomPoint() const;
    QPointF clampZoomPoint(QPointF point) const;
    // The picture's rectangle at x1: the largest 16:9 rectangle centred in the view.
    QRectF fittedVideoRect() const;
    // Geometry after the last layout, in view coordinates.
    QRectF maskRect() const { return _maskRect; }
    QRectF playerRect() const { return _playerRect; }
    bool isZoomPreviewVisible() const;
    QRectF zoomPreviewWindow() const;
    QLabel *trimLabel() const { return lblTrim; }
    QLabel *backLabel() const { return _backLabel; }
    QLabel *subMaskLabel() const { return lblSubMask; }

    const double videoAspect = 16.0 / 9.0;
    // Zoom state, written by the panel; lay out (layoutZoom) afterwards.
    ScaleType playerScale() const { return _playerScale; }
    void setPlayerScale(ScaleType scale);
    // Zoom centre as fractions of the fitted picture from its top-left corner.
    std::optional<QPointF> zoomPoint() const { return _zoomPoint; }
    void setZoomPoint(std::optional<QPointF> point) { _zoomPoint = point; }
    // Window coordinates of the click that fixed zoomPoint.
    std::optional<QPointF> locationInWindow() const { return _locationInWindow; }
    void setLocationInWindow(std::optional<QPointF> location) { _locationInWindow = location; }
    // The scale zoomPoint was last derived for.
    std::optional<ScaleType> prevScale() const { return _prevScale; }
    // Back to x1 without a zoom centre (the scale the centre was derived for is kept), laid out.
    void resetZoom();
    // The recording being played is a clip cut by the trim tool: cover its bottom strip.
    bool isCutFile() const { return _isCutFile; }
    void setCutFile(bool isCut) { _isCutFile = isCut; }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;

private:
    QPointF fractionInMask(QPointF point) const;

    QWidget *_maskLayer = nullptr;
    QPointer<QWidget> _playerLayer;
    QPointer<QWidget> _standbyLayer;
    ZoomSelectOverlay *_zoomSelectLayer = nullptr;
    QLabel *lblSubMask = nullptr;
    QLabel *lblTrim = nullptr;
    QLabel *_backLabel = nullptr;
    QString strTrimMode;
    QRectF _maskRect;
    QRectF _playerRect;
    ScaleType _playerScale = ScaleType::Scale_x1;
    std::optional<QPointF> _zoomPoint;
    std::optional<QPointF> _locationInWindow;
    std::optional<ScaleType> _prevScale;
    bool _isCutFile = false;
    // Last pointer position seen over the surface, view coordinates.
    std::optional<QPointF> _pointer;
    std::optional<QPointF> _pointerGlobal; // of the last move anywhere in the program
};
