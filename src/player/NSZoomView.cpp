#include "player/NSZoomView.h"

#include "player/EXTextButton.h"
#include "player/ZoomViewDelegate.h"

#include <QEvent>
#include <QVBoxLayout>

NSZoomView::NSZoomView(QWidget *parent) : QFrame(parent)
{
    setMouseTracking(true);
    setAutoFillBackground(true);
    setStyleSheet(QStringLiteral("NSZoomView { background: #20262c; border: 1px solid #5c6670; }"));
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(2, 2, 2, 2);
    layout->setSpacing(0);
    for (int i = 0; i < COUNT; ++i) {
        auto *b = new EXTextButton(this);
        const QString name = QStringLiteral("button_zoom_x%1").arg(i + 1);
        b->setImages(name, name + QStringLiteral("_over"));
        b->setIconSize(QSize(48, 24));
        b->setMouseTracking(true);
        // The menu's keys are the panel's (arrows and Return): a scale button never holds the focus, which
        // would pass on to the next control in the window when the menu closes.
        b->setFocusPolicy(Qt::NoFocus);
        b->installEventFilter(this);
        layout->addWidget(b);
        _buttons[static_cast<size_t>(i)] = b;
    }
}

void NSZoomView::mouseMoveEvent(QMouseEvent *event)
{
    if (_delegate)
        _delegate->resetZoomKeySelection();
    QFrame::mouseMoveEvent(event);
}

bool NSZoomView::eventFilter(QObject *watched, QEvent *event)
{
    // Moves over the buttons are moves over the menu.
    if (event->type() == QEvent::MouseMove && _delegate)
        _delegate->resetZoomKeySelection();
    return QFrame::eventFilter(watched, event);
}
