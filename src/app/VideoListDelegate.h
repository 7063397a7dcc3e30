// Draws the video list's cells: date, time and type in the "info" column, the still in the "image"
// column, the current row marked. Stills are read only when their row is painted and kept in a bounded
// cache, so a list of thousands of chapters holds only what has been on screen recently.
#pragma once

#include <QStyledItemDelegate>

class VideoListDelegate : public QStyledItemDelegate
{
    Q_OBJECT
public:
    using QStyledItemDelegate::QStyledItemDelegate;

    static constexpr int ROW_HEIGHT = 68;

    void paint(QPainter *painter, const QStyleOptionViewItem &option,
               const QModelIndex &index) const override;
    QSize sizeHint(const QStyleOptionViewItem &option, const QModelIndex &index) const override;

    // The still at path scaled into size; a null pixmap when the file does not load.
    static QPixmap thumbnail(const QString &path, const QSize &size);
};
