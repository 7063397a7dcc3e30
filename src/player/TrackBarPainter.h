// Draws the track bar from its images: the band, the bar, the played part, the trim selection,
// the markers and the knob, at rectangles the cell has worked out. It only draws.
#pragma once

#include <QRectF>
#include <QSizeF>
#include <QString>

#include <map>
#include <memory>
#include <optional>
#include <vector>

class QPainter;
class QSvgRenderer;

class TrackBarPainter
{
public:
    // What one paint shows, in the control's coordinates.
    struct Scene
    {
        QRectF band;
        QRectF bar;
        // Empty without a control view: only the band and the bar are drawn then.
        std::optional<QRectF> played;
        std::optional<QRectF> selection;
        // Image names of the markers in drawing order, later over earlier.
        std::vector<std::pair<QString, QRectF>> markers;
        std::optional<QRectF> knob;
    };

    // Loads every image by name from the resources; a missing one is a build fault.
    TrackBarPainter();
    ~TrackBarPainter();

    void draw(QPainter &painter, const Scene &scene) const;
    QSizeF imageSize(const QString &name) const;
    bool hasImage(const QString &name) const { return _images.count(name) != 0; }

private:
    void drawImage(QPainter &painter, const QString &name, const QRectF &rect) const;

    std::map<QString, std::unique_ptr<QSvgRenderer>> _images;
};
