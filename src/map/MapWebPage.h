// The map page inside a web view: loads the page of a language from the application's
// resources, holds script calls until the page has loaded and then runs them in order, and keeps
// the page's reported state through the web channel.
#pragma once

#include "map/MapScriptSink.h"

#include <QStringList>

class MapPageObject;
class QWebChannel;
class QWebEnginePage;
class QWebEngineView;

class MapWebPage : public MapScriptSink
{
    Q_OBJECT
public:
    // The page is made as a child of view and shown in it.
    explicit MapWebPage(QWebEngineView *view, QObject *parent = nullptr);

    // "index_en", "index_fr" or "index_es" by the language setting (0, 1, 2; others English).
    static QString pageName(int language);
    static QUrl pageUrl(int language);

    // Loads the page; false when the application carries no page of that name.
    bool loadPage(int language);

    void runScript(const QString &script) override;
    MapPageState pageState() const override;

    QWebEnginePage *page() const { return _page; }
    bool isPageReady() const { return _pageReady; }
    // Script calls asked for since the page was made, run or held, and their characters (tests and
    // diagnostics).
    qint64 scriptCalls() const { return _scriptCalls; }
    qint64 scriptCharacters() const { return _scriptCharacters; }

signals:
    // Each call as asked for (tests and diagnostics).
    void scriptAsked(const QString &script);

private:
    void onLoadStarted();
    void onLoadFinished(bool ok);

    QWebEnginePage *_page = nullptr;
    QWebChannel *_channel = nullptr;
    MapPageObject *_object = nullptr;
    bool _pageReady = false;
    QStringList _pending; // calls made while no page was ready, oldest first
    qint64 _scriptCalls = 0;
    qint64 _scriptCharacters = 0;
};
