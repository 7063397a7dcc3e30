#include "ClippedTexts.h"

#include <QAbstractButton>
#include <QCheckBox>
#include <QComboBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpression>
#include <QStyle>
#include <QStyleOption>
#include <QTextDocumentFragment>
#include <QToolButton>
#include <QTreeView>

#include <algorithm>
#include <cmath>

namespace {

const QChar ELLIPSIS(0x2026);

QString nameOf(const QWidget &w)
{
    return QString::fromLatin1(w.metaObject()->className()) + QLatin1Char('#') + w.objectName();
}

// The text as drawn: "&&" is one ampersand, a single one marks the mnemonic and is not drawn.
QString withoutMnemonic(QString text)
{
    text.replace(QStringLiteral("&&"), QStringLiteral("\x01"));
    text.remove(QLatin1Char('&'));
    text.replace(QStringLiteral("\x01"), QStringLiteral("&"));
    return text;
}

// The height a text needs in a box of the given height: texts are drawn clipped to their box, their lines
// centred in it, so a line taller than the box may still show its glyphs whole, or lose the tops of its
// capitals' accents. Returns the box height needed to show every glyph where it lands.
int inkHeight(const QFontMetrics &fm, const QString &text, int box)
{
    const QStringList lines = text.split(QLatin1Char('\n'));
    const int lineBox = fm.height() + fm.lineSpacing() * int(lines.size() - 1);
    const double top = (box - lineBox) / 2.0;
    const QRect first = fm.tightBoundingRect(lines.front());
    const QRect last = fm.tightBoundingRect(lines.back());
    const double inkTop = top + fm.ascent() + first.top();
    const double inkBottom = top + fm.lineSpacing() * (lines.size() - 1) + fm.ascent() + last.bottom() + 1;
    // Whatever sticks out at either end makes the box that much too small.
    return box + int(std::ceil(std::max(0.0, -inkTop) + std::max(0.0, inkBottom - box)));
}

struct Walk
{
    std::vector<ClippedText> clipped;

    void fit(const QWidget &w, const QString &text, int needed, int room)
    {
        if (text.contains(ELLIPSIS) || needed > room)
            clipped.push_back({nameOf(w), text, needed, room});
    }

    void lines(const QWidget &w, const QString &text, const QFontMetrics &fm, QRect room)
    {
        const QStringList all = text.split(QLatin1Char('\n'));
        for (const QString &line : all)
            fit(w, line, fm.horizontalAdvance(line), room.width());
        fit(w, text, inkHeight(fm, text, room.height()), room.height());
    }

    void label(const QLabel &l)
    {
        QString text = l.text();
        if (text.isEmpty())
            return;
        if (Qt::mightBeRichText(text) || l.textFormat() == Qt::RichText)
            text = QTextDocumentFragment::fromHtml(text).toPlainText();
        const QFontMetrics fm(l.font());
        QRect room = l.contentsRect().adjusted(l.margin(), l.margin(), -l.margin(), -l.margin());
        const int indent =
            l.indent() >= 0 ? l.indent() : (l.frameWidth() > 0 ? fm.horizontalAdvance('x') / 2 : 0);
        room.setWidth(room.width() - indent);
        if (!l.wordWrap()) {
            lines(l, text, fm, room);
            return;
        }
        for (const QString &word : text.split(QRegularExpression(QStringLiteral("\\s+")), Qt::SkipEmptyParts))
            fit(l, word, fm.horizontalAdvance(word), room.width());
        fit(l, text, l.heightForWidth(l.width()), l.height());
    }

    void button(const QAbstractButton &b)
    {
        const QString text = withoutMnemonic(b.text());
        if (text.isEmpty())
            return;
        const QFontMetrics fm(b.font());
        QStyleOptionButton opt;
        opt.initFrom(&b);
        opt.text = b.text();
        opt.icon = b.icon();
        opt.iconSize = b.iconSize();
        QRect room;
        if (const auto *push = qobject_cast<const QPushButton *>(&b)) {
            if (push->autoDefault() || push->isDefault())
                opt.features |= QStyleOptionButton::AutoDefaultButton;
            room = b.style()->subElementRect(QStyle::SE_PushButtonContents, &opt, &b);
        } else if (qobject_cast<const QCheckBox *>(&b)) {
            room = b.style()->subElementRect(QStyle::SE_CheckBoxContents, &opt, &b);
        } else if (qobject_cast<const QRadioButton *>(&b)) {
            room = b.style()->subElementRect(QStyle::SE_RadioButtonContents, &opt, &b);
        } else if (const auto *tool = qobject_cast<const QToolButton *>(&b)) {
            if (tool->toolButtonStyle() == Qt::ToolButtonIconOnly ||
                (tool->toolButtonStyle() == Qt::ToolButtonFollowStyle && !b.icon().isNull()))
                return;
            const int frame = b.style()->pixelMetric(QStyle::PM_DefaultFrameWidth, nullptr, &b);
            room = b.contentsRect().adjusted(frame, frame, -frame, -frame);
        } else {
            room = b.contentsRect();
        }
        if (!b.icon().isNull() && !qobject_cast<const QToolButton *>(&b))
            room.setWidth(room.width() - b.iconSize().width() - 4);
        lines(b, text, fm, room);
    }

    void header(const QHeaderView &h)
    {
        if (!h.model() || h.isHidden())
            return;
        const QFontMetrics fm(h.font());
        const int margin = h.style()->pixelMetric(QStyle::PM_HeaderMargin, nullptr, &h);
        for (int i = 0; i < h.count(); ++i) {
            if (h.isSectionHidden(i))
                continue;
            const QString text = h.model()->headerData(i, h.orientation(), Qt::DisplayRole).toString();
            if (text.isEmpty())
                continue;
            // A section reaching past the header's end is cut there.
            const int start = h.sectionViewportPosition(i);
            const int end =
                std::min(start + h.sectionSize(i),
                         h.orientation() == Qt::Horizontal ? h.viewport()->width() : h.viewport()->height());
            int room = end - start - 2 * margin;
            if (h.isSortIndicatorShown() && h.sortIndicatorSection() == i)
                room -= h.style()->pixelMetric(QStyle::PM_HeaderMarkSize, nullptr, &h) + margin;
            fit(h, text, fm.horizontalAdvance(text), room);
        }
    }

    void cells(const QAbstractItemView &v, const QModelIndex &parent)
    {
        const QAbstractItemModel *model = v.model();
        const auto *tree = qobject_cast<const QTreeView *>(&v);
        QStyleOptionViewItem opt;
        opt.initFrom(&v);
        opt.font = v.font();
        const int small = v.style()->pixelMetric(QStyle::PM_SmallIconSize, nullptr, &v);
        opt.decorationSize = v.iconSize().isValid() ? v.iconSize() : QSize(small, small);
        for (int row = 0; row < model->rowCount(parent); ++row) {
            for (int column = 0; column < model->columnCount(parent); ++column) {
                if (tree && tree->isColumnHidden(column))
                    continue;
                const QModelIndex index = model->index(row, column, parent);
                const QString text = index.data(Qt::DisplayRole).toString();
                const QRect rect = v.visualRect(index).intersected(v.viewport()->rect());
                if (rect.isEmpty())
                    continue;
                fit(v, text, v.itemDelegateForIndex(index)->sizeHint(opt, index).width(), rect.width());
            }
            const QModelIndex first = model->index(row, 0, parent);
            if (tree && tree->isExpanded(first))
                cells(v, first);
        }
    }

    void lineEdit(const QLineEdit &e)
    {
        if (e.text().isEmpty() || e.echoMode() != QLineEdit::Normal)
            return;
        QStyleOptionFrame opt;
        opt.initFrom(&e);
        opt.lineWidth = e.hasFrame() ? e.style()->pixelMetric(QStyle::PM_DefaultFrameWidth, &opt, &e) : 0;
        const QRect contents = e.style()->subElementRect(QStyle::SE_LineEditContents, &opt, &e);
        const QMargins margins = e.textMargins();
        // QLineEdit keeps two pixels free on either side of its text.
        const int room = contents.width() - margins.left() - margins.right() - 4;
        const QFontMetrics fm(e.font());
        fit(e, e.text(), fm.horizontalAdvance(e.text()), room);
        const int height = contents.height() - margins.top() - margins.bottom();
        fit(e, e.text(), inkHeight(fm, e.text(), height), height);
    }

    void comboBox(const QComboBox &c)
    {
        if (c.currentText().isEmpty() || c.isEditable())
            return;
        QStyleOptionComboBox opt;
        opt.initFrom(&c);
        opt.frame = c.hasFrame();
        opt.currentText = c.currentText();
        opt.currentIcon = c.itemIcon(c.currentIndex());
        opt.iconSize = c.iconSize();
        QRect room = c.style()->subControlRect(QStyle::CC_ComboBox, &opt, QStyle::SC_ComboBoxEditField, &c);
        if (!opt.currentIcon.isNull())
            room.setWidth(room.width() - c.iconSize().width() - 4);
        const QFontMetrics fm(c.font());
        fit(c, c.currentText(), fm.horizontalAdvance(c.currentText()), room.width());
        fit(c, c.currentText(), inkHeight(fm, c.currentText(), room.height()), room.height());
    }

    void widget(const QWidget &w)
    {
        if (const auto *l = qobject_cast<const QLabel *>(&w))
            label(*l);
        else if (const auto *b = qobject_cast<const QAbstractButton *>(&w))
            button(*b);
        else if (const auto *h = qobject_cast<const QHeaderView *>(&w))
            header(*h);
        else if (const auto *v = qobject_cast<const QAbstractItemView *>(&w); v && v->model())
            cells(*v, v->rootIndex());
        else if (const auto *e = qobject_cast<const QLineEdit *>(&w))
            lineEdit(*e);
        else if (const auto *c = qobject_cast<const QComboBox *>(&w))
            comboBox(*c);
    }
};

} // namespace

std::vector<ClippedText> clippedTexts(const QWidget &window)
{
    Walk walk;
    walk.widget(window);
    for (const QWidget *w : window.findChildren<QWidget *>()) {
        // A combo box's line edit and pop-up list, and hidden parts, show nothing of their own here.
        if (!w->isVisibleTo(&window) || qobject_cast<const QComboBox *>(w->parentWidget()))
            continue;
        walk.widget(*w);
    }
    return walk.clipped;
}

QString describe(const std::vector<ClippedText> &clipped)
{
    QStringList lines;
    for (const ClippedText &c : clipped)
        lines
            << QStringLiteral("%1 \"%2\": needs %3, has %4").arg(c.widget, c.text).arg(c.needed).arg(c.room);
    return lines.join(QLatin1Char('\n'));
}
