#include "map/MapView.h"

#include "map/MapWebPage.h"

#include <QChildEvent>
#include <QFrame>
#include <QKeyEvent>
#include <QVBoxLayout>
#include <QWebEngineView>

MapView::MapView(const WebMapView::Settings &settings, QWidget *parent) : QWidget(parent)
{
    setGeometry(0, 0, 360, 220);
    setAutoFillBackground(true);
    QPalette background = palette();
    background.setColor(QPalette::Window, QColor::fromRgbF(0.1f, 0.1f, 0.1f));
    setPalette(background);

    _webView = new QWebEngineView(this);
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(_webView);
    _webPage = new MapWebPage(_webView, this);
    _mapWebView = new WebMapView(_webPage, settings, this);
    // The page shows no focus of its own: while it has the keyboard a frame in the controls' blue lies
    // over its edge.
    _focusFrame = new QFrame(this);
    _focusFrame->setObjectName(QStringLiteral("mapFocusFrame"));
    _focusFrame->setStyleSheet(
        QStringLiteral("QFrame { border: 2px solid #5a9be0; background: transparent; }"));
    _focusFrame->setAttribute(Qt::WA_TransparentForMouseEvents);
    _focusFrame->hide();
    // The page's keys and focus reach it through a widget the view makes, and makes again, as it needs one.
    watchKeysOf(_webView);
    loadMapPage();
}

void MapView::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    _focusFrame->setGeometry(rect());
}

void MapView::watchKeysOf(QObject *object)
{
    if (!object->isWidgetType())
        return;
    object->removeEventFilter(this);
    object->installEventFilter(this);
    for (QObject *child : object->children())
        watchKeysOf(child);
}

bool MapView::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::ChildAdded) {
        watchKeysOf(static_cast<QChildEvent *>(event)->child());
    } else if (event->type() == QEvent::FocusIn || event->type() == QEvent::FocusOut) {
        _focusFrame->setGeometry(rect());
        _focusFrame->raise();
        _focusFrame->setVisible(event->type() == QEvent::FocusIn);
    } else if (event->type() == QEvent::KeyPress) {
        const auto *key = static_cast<QKeyEvent *>(event);
        // As QWidget takes them: Ctrl and Alt make Tab a key of the page.
        if (!(key->modifiers() & (Qt::ControlModifier | Qt::AltModifier))) {
            const bool back = key->key() == Qt::Key_Backtab ||
                              (key->key() == Qt::Key_Tab && (key->modifiers() & Qt::ShiftModifier));
            if (back || key->key() == Qt::Key_Tab) {
                focusNextPrevChild(!back);
                return true;
            }
        }
    }
    return QWidget::eventFilter(watched, event);
}

bool MapView::loadMapPage()
{
    return _webPage->loadPage(_mapWebView->mapLanguage());
}
