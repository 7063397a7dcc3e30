// The map container the main window keeps for the program's life: the web view with the map
// page and the bridge that drives it; it moves between the docked place and the detached window.
#pragma once

#include "map/WebMapView.h"

#include <QWidget>

class MapWebPage;
class QFrame;
class QWebEngineView;

class MapView : public QWidget
{
    Q_OBJECT
public:
    // Loads the page in the language of settings at once.
    explicit MapView(const WebMapView::Settings &settings, QWidget *parent = nullptr);

    WebMapView *mapWebView() const { return _mapWebView; }
    MapWebPage *webPage() const { return _webPage; }
    QWebEngineView *webView() const { return _webView; }

    // Loads the page again in the bridge's language (the main window's reachability re-probe);
    // false when the application carries no such page.
    bool loadMapPage();

protected:
    // Tab and Shift-Tab in the page go on to the window's next or previous control: the page would keep
    // the focus among its own markers and links, out of sight. The page's focus shows as a frame.
    bool eventFilter(QObject *watched, QEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;

private:
    void watchKeysOf(QObject *object);

    QWebEngineView *_webView;
    MapWebPage *_webPage;
    WebMapView *_mapWebView;
    QFrame *_focusFrame; // shown while the page has the keyboard
};
