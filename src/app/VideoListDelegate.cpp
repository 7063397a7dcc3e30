#include "app/VideoListDelegate.h"

#include "app/VideoListModel.h"

#include <QFileInfo>
#include <QImageReader>
#include <QPainter>
#include <QPixmapCache>

QPixmap VideoListDelegate::thumbnail(const QString &path, const QSize &size)
{
    if (path.isEmpty())
        return {};
    // The file's time is in the key: a still made again under the same name is read again.
    const QFileInfo info(path);
    const QString key = QStringLiteral("vl:%1:%2:%3x%4")
                            .arg(path)
                            .arg(info.lastModified().toMSecsSinceEpoch())
                            .arg(size.width())
                            .arg(size.height());
    QPixmap pixmap;
    if (QPixmapCache::find(key, &pixmap))
        return pixmap;
    QImageReader reader(path);
    const QSize full = reader.size();
    if (full.isValid())
        reader.setScaledSize(full.scaled(size, Qt::KeepAspectRatio));
    const QImage image = reader.read();
    if (image.isNull())
        return {};
    pixmap = QPixmap::fromImage(image);
    QPixmapCache::insert(key, pixmap);
    return pixmap;
}

void VideoListDelegate::paint(QPainter *painter, const QStyleOptionViewItem &option,
                              const QModelIndex &index) const
{
    painter->save();
    const QRect rect = option.rect;
    const bool current = index.data(VideoListModel::CurrentRole).toBool();
    // The current row: the selection colour, one pixel short of the row's height.
    painter->fillRect(rect.adjusted(0, 0, 0, -1),
                      current ? option.palette.color(QPalette::Highlight) : QColor(Qt::black));
    if (index.column() == VideoListModel::InfoColumn) {
        painter->setPen(current ? option.palette.color(QPalette::HighlightedText) : QColor(0xe0, 0xe0, 0xe0));
        const QRect text = rect.adjusted(8, 4, -6, -4);
        const int line = text.height() / 3;
        painter->drawText(QRect(text.x(), text.y(), text.width(), line), Qt::AlignVCenter | Qt::AlignLeft,
                          index.data(VideoListModel::DateRole).toString());
        painter->drawText(QRect(text.x(), text.y() + line, text.width(), line),
                          Qt::AlignVCenter | Qt::AlignLeft, index.data(VideoListModel::TimeRole).toString());
        painter->drawText(QRect(text.x(), text.y() + 2 * line, text.width(), line),
                          Qt::AlignVCenter | Qt::AlignLeft, index.data(VideoListModel::TypeRole).toString());
    } else {
        const QRect area = rect.adjusted(3, 3, -3, -4);
        const QPixmap still = thumbnail(index.data(VideoListModel::ThumbnailRole).toString(), area.size());
        if (!still.isNull()) {
            const QRect target(QPoint(0, 0), still.size());
            painter->drawPixmap(target.translated(area.center() - target.center()), still);
        }
    }
    painter->restore();
}

QSize VideoListDelegate::sizeHint(const QStyleOptionViewItem &option, const QModelIndex &index) const
{
    return {QStyledItemDelegate::sizeHint(option, index).width(), ROW_HEIGHT};
}
