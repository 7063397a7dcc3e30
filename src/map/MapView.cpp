#include "map/MapView.h"

#include "map/MapWebPage.h"

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
    loadMapPage();
}

bool MapView::loadMapPage()
{
    return _webPage->loadPage(_mapWebView->mapLanguage());
}
