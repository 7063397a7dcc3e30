#include "app/TitleBarWidths.h"

#include <QEvent>
#include <QFontMetrics>
#include <QGridLayout>
#include <QMessageBox>
#include <QSpacerItem>

namespace {
const char *const WIDENED = "orvTitleWidth";
} // namespace

int TitleBarWidths::widthForTitle(const QWidget &window)
{
    QFont font = window.font();
    font.setBold(true);
    return QFontMetrics(font).horizontalAdvance(window.windowTitle()) + TITLE_BAR_EXTRAS;
}

bool TitleBarWidths::eventFilter(QObject *watched, QEvent *event)
{
    // Before the box's own show handling, which fixes its size from its layout's minimum width.
    if (event->type() != QEvent::Show)
        return false;
    auto *box = qobject_cast<QMessageBox *>(watched);
    auto *grid = box ? qobject_cast<QGridLayout *>(box->layout()) : nullptr;
    if (!grid)
        return false;
    const int width = widthForTitle(*box);
    if (box->property(WIDENED).toInt() >= width)
        return false;
    box->setProperty(WIDENED, width);
    const QMargins margins = grid->contentsMargins();
    grid->addItem(new QSpacerItem(width - margins.left() - margins.right(), 0, QSizePolicy::Minimum,
                                  QSizePolicy::Fixed),
                  grid->rowCount(), 0, 1, grid->columnCount());
    return false;
}
