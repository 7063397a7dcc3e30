#include "player/EXTextButton.h"

#include <QEvent>
#include <QStyleOptionToolButton>
#include <QStylePainter>

namespace {
// The icon draws the same image in every mode: the button itself picks the image of its state.
QIcon image(const QString &name)
{
    if (name.isEmpty())
        return {};
    const QString path = QStringLiteral(":/images/player/%1.svg").arg(name);
    QIcon icon(path);
    icon.addFile(path, {}, QIcon::Disabled);
    return icon;
}
} // namespace

EXTextButton::EXTextButton(QWidget *parent) : QToolButton(parent)
{
    setAutoRaise(true);
    setFocusPolicy(Qt::StrongFocus);
    setToolButtonStyle(Qt::ToolButtonIconOnly);
    // The same border width in every state: focus only colours it, so a focused button is not taller.
    setStyleSheet(QStringLiteral("QToolButton { color: white; border: 1px solid transparent; }"
                                 "QToolButton:focus { border: 1px solid #5a9be0; border-radius: 3px; }"
                                 "QToolButton:checked { background: #3a4450; border-radius: 3px; }"));
}

void EXTextButton::setImages(const QString &normal, const QString &hover, const QString &disabled)
{
    _originalImage = image(normal);
    _mouseOverImage = image(hover);
    _disableImage = image(disabled);
    _look = Look::Normal;
    setIcon(_originalImage);
    updateCellInside();
}

void EXTextButton::setTitleAlignment(Qt::Alignment alignment)
{
    _titleAlignment = alignment;
    update();
}

void EXTextButton::setTitleMargins(const QMargins &margins)
{
    _titleMargins = margins;
    update();
}

void EXTextButton::paintEvent(QPaintEvent *event)
{
    if (text().isEmpty() || toolButtonStyle() == Qt::ToolButtonIconOnly) {
        QToolButton::paintEvent(event);
        return;
    }
    QStylePainter painter(this);
    QStyleOptionToolButton option;
    initStyleOption(&option);
    // The style draws the frame, background, focus and image as for any tool button, without the title.
    const QString title = option.text;
    option.text.clear();
    painter.drawComplexControl(QStyle::CC_ToolButton, option);
    // Unlike a style's label, the title stays put when the button is checked or pressed.
    int flags = int(_titleAlignment) | Qt::TextShowMnemonic;
    if (!style()->styleHint(QStyle::SH_UnderlineShortcut, &option, this))
        flags |= Qt::TextHideMnemonic;
    painter.drawItemText(rect().marginsRemoved(_titleMargins), flags, option.palette, isEnabled(), title,
                         QPalette::ButtonText);
}

void EXTextButton::show(Look look)
{
    const QIcon &icon = look == Look::Hover      ? _mouseOverImage
                        : look == Look::Disabled ? _disableImage
                                                 : _originalImage;
    if (_look == look || icon.isNull())
        return;
    _look = look;
    setIcon(icon);
}

void EXTextButton::mouseEntered(bool realEvent)
{
    if (realEvent && _flgZoomBtnForKey)
        return;
    _isMouseOver = true;
    if (isEnabled())
        show(Look::Hover);
}

void EXTextButton::mouseExited()
{
    // A disabled button keeps its hover flag until it is enabled and left again.
    if (!isEnabled() || !_isMouseOver)
        return;
    _isMouseOver = false;
    show(Look::Normal);
}

void EXTextButton::enterEvent(QEnterEvent *event)
{
    mouseEntered(true);
    QToolButton::enterEvent(event);
}

void EXTextButton::leaveEvent(QEvent *event)
{
    mouseExited();
    // The pointer has gone, whatever the state: a button enabled later must not come back in its hover look.
    if (!isEnabled())
        _isMouseOver = false;
    QToolButton::leaveEvent(event);
}

void EXTextButton::mousePressEvent(QMouseEvent *event)
{
    if (isEnabled() && _isMouseOver) {
        _isMouseOver = false;
        show(Look::Normal);
    }
    QToolButton::mousePressEvent(event);
}

void EXTextButton::changeEvent(QEvent *event)
{
    if (event->type() == QEvent::EnabledChange)
        updateCellInside();
    QToolButton::changeEvent(event);
}

void EXTextButton::updateCellInside()
{
    if (!isEnabled())
        show(Look::Disabled);
    else if (!_isMouseOver)
        show(Look::Normal);
    else
        show(Look::Hover);
}
