#include "app/NewWindowView.h"

#include "app/FormColors.h"
#include "app/NewWindowViewDelegate.h"

#include <QEvent>
#include <QHBoxLayout>
#include <QLabel>
#include <QResizeEvent>
#include <QScreen>
#include <QToolButton>
#include <QVBoxLayout>

namespace {
constexpr int STRIP_HEIGHT = 30; // the content is 272 high: this strip over the 242-high map
}

NewWindowView::NewWindowView(QWidget *windowParent, QObject *parent)
    : QObject(parent), _windowParent(windowParent), _view(new QWidget), _backgroundView(new QWidget(_view))
{
    _view->setObjectName(QStringLiteral("NewWindowView"));
    QPalette black = _view->palette();
    black.setColor(QPalette::Window, FormColors::FROM_BACKGROUND_COLOR);
    black.setColor(QPalette::WindowText, FormColors::FROM_TEXT_COLOR);
    _view->setPalette(black);
    _view->setAutoFillBackground(true);

    auto *strip = new QWidget(_view);
    strip->setFixedHeight(STRIP_HEIGHT);
    auto *title = new QLabel(tr("Map"), strip);
    auto *close = new QToolButton(strip);
    close->setObjectName(QStringLiteral("mapWindowCloseButton"));
    close->setText(tr("Close"));
    connect(close, &QToolButton::clicked, this, &NewWindowView::windowCloseOnclick);
    auto *stripLayout = new QHBoxLayout(strip);
    stripLayout->setContentsMargins(8, 0, 4, 0);
    stripLayout->addWidget(title);
    stripLayout->addStretch(1);
    stripLayout->addWidget(close);

    auto *areaLayout = new QVBoxLayout(_backgroundView);
    areaLayout->setContentsMargins(0, 0, 0, 0);
    auto *layout = new QVBoxLayout(_view);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(strip);
    layout->addWidget(_backgroundView, 1);
}

NewWindowView::~NewWindowView()
{
    // The map is not ours: hand it back unparented rather than delete it with the view.
    if (_parentView && _parentView->parentWidget() == _backgroundView)
        _parentView->setParent(nullptr);
    delete _view;
}

void NewWindowView::addMapView(QWidget *mapView)
{
    if (!mapView)
        return;
    if (QWidget *old = mapView->parentWidget(); old && old->layout())
        old->layout()->removeWidget(mapView);
    mapView->setParent(_backgroundView);
    mapView->setGeometry(0, 0, 480, 242);
    mapView->lower();
    _backgroundView->layout()->addWidget(mapView);
    mapView->show();
    _parentView = mapView;
}

QWidget *NewWindowView::openWindow(const QString &title)
{
    auto *window = new QWidget(_windowParent, Qt::Window);
    window->setAttribute(Qt::WA_DeleteOnClose);
    // Qt shows the program's name for an empty title; a blank keeps the title bar empty.
    window->setWindowTitle(title.isEmpty() ? QStringLiteral(" ") : title);
    auto *layout = new QVBoxLayout(window);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(_view);
    _view->show();
    window->resize(480, 272);
    _window = window;
    setupWindow();
    window->installEventFilter(this);
    // Shown, a window gives the focus to its first control, the close button, and a Space would close it:
    // the view holds it until Tab.
    _view->setFocus(Qt::OtherFocusReason);
    window->show();
    return window;
}

void NewWindowView::setupWindow()
{
    if (_delegate)
        _delegate->updateFrameDisplay(false);
    if (!_window)
        return;
    _window->resize(_rememberedSize.width(), _rememberedSize.height() - TITLE_BAR_HEIGHT);
    const QScreen *screen = _windowParent ? _windowParent->screen() : _window->screen();
    if (screen) {
        const QSize frame = _rememberedSize;
        const QPoint centre = screen->availableGeometry().center();
        // move() places the frame, title bar included.
        _window->move(centre.x() - frame.width() / 2, centre.y() - frame.height() / 2);
    }
}

void NewWindowView::windowCloseOnclick()
{
    if (_window)
        _window->close();
}

bool NewWindowView::eventFilter(QObject *watched, QEvent *event)
{
    if (watched != _window)
        return QObject::eventFilter(watched, event);
    if (event->type() == QEvent::Resize) {
        const QSize content = static_cast<QResizeEvent *>(event)->size();
        _rememberedSize = QSize(content.width(), content.height() + TITLE_BAR_HEIGHT);
    } else if (event->type() == QEvent::Close) {
        if (_delegate)
            _delegate->mapWindowClosed();
        // The content view outlives the window, which deletes itself once closed.
        _window->layout()->removeWidget(_view);
        _view->hide();
        _view->setParent(nullptr);
        _window->removeEventFilter(this);
        _window = nullptr;
    }
    return QObject::eventFilter(watched, event);
}
