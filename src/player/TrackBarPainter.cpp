#include "player/TrackBarPainter.h"

#include <QPainter>
#include <QSvgRenderer>

TrackBarPainter::TrackBarPainter()
{
    QStringList names{"trackbar_back",    "trackbar_active", "trackbar_select", "trackbar_off",
                      "trackbar_thumb",   "parts_marker_sw", "parts_marker_g",  "parts_marker_start",
                      "parts_marker_end", "parts_marker_s"};
    // Laps 1 to 10: the stopwatch takes ten laps.
    for (int i = 1; i <= 10; ++i)
        names << QString("parts_marker_n%1").arg(i);
    for (const QString &name : names) {
        auto renderer = std::make_unique<QSvgRenderer>(QString(":/images/player/%1.svg").arg(name));
        // The images are compiled in; a missing one is a build fault.
        if (!renderer->isValid())
            qFatal("[TrackBarPainter] missing image %s", qPrintable(name));
        _images[name] = std::move(renderer);
    }
}

TrackBarPainter::~TrackBarPainter() = default;

QSizeF TrackBarPainter::imageSize(const QString &name) const
{
    const auto it = _images.find(name);
    return it == _images.end() ? QSizeF() : QSizeF(it->second->defaultSize());
}

void TrackBarPainter::drawImage(QPainter &painter, const QString &name, const QRectF &rect) const
{
    const auto it = _images.find(name);
    if (it != _images.end() && rect.width() > 0 && rect.height() > 0)
        it->second->render(&painter, rect);
}

void TrackBarPainter::draw(QPainter &painter, const Scene &scene) const
{
    drawImage(painter, "trackbar_back", scene.band);
    drawImage(painter, "trackbar_off", scene.bar);
    if (scene.played)
        drawImage(painter, "trackbar_active", *scene.played);
    if (scene.selection)
        drawImage(painter, "trackbar_select", *scene.selection);
    for (const auto &[name, rect] : scene.markers)
        drawImage(painter, name, rect);
    if (scene.knob)
        drawImage(painter, "trackbar_thumb", *scene.knob);
}
