#include "map/MapWebPage.h"

#include "map/MapPageObject.h"

#include <QDebug>
#include <QFile>
#include <QUrl>
#include <QWebChannel>
#include <QWebEnginePage>
#include <QWebEngineSettings>
#include <QWebEngineView>

namespace {
// A page that never loads must not make the queue grow without end (the car is drawn per
// frame); the bridge sends its whole state again after every load anyway.
constexpr qsizetype MAX_PENDING_SCRIPTS = 10000;
} // namespace

MapWebPage::MapWebPage(QWebEngineView *view, QObject *parent) : MapScriptSink(parent)
{
    _page = new QWebEnginePage(view);
    // The page comes from the resources but its tiles from the network.
    _page->settings()->setAttribute(QWebEngineSettings::LocalContentCanAccessRemoteUrls, true);
    _object = new MapPageObject(this);
    _object->setClickHandler([this](const QString &key) { emit markerClicked(key); });
    _channel = new QWebChannel(this);
    _channel->registerObject(QStringLiteral("MapView"), _object);
    _page->setWebChannel(_channel);
    view->setPage(_page);
    view->setContextMenuPolicy(Qt::NoContextMenu);

    connect(_page, &QWebEnginePage::loadStarted, this, &MapWebPage::onLoadStarted);
    connect(_page, &QWebEnginePage::loadFinished, this, &MapWebPage::onLoadFinished);
    for (auto changed : {&MapPageObject::zoomChanged, &MapPageObject::mapTypeIdChanged,
                         &MapPageObject::dispBalloonChanged, &MapPageObject::mapVersionChanged})
        connect(_object, changed, this, &MapScriptSink::pageStateChanged);
}

QString MapWebPage::pageName(int language)
{
    switch (language) {
    case 1:
        return QStringLiteral("index_fr");
    case 2:
        return QStringLiteral("index_es");
    default:
        return QStringLiteral("index_en");
    }
}

QUrl MapWebPage::pageUrl(int language)
{
    return QUrl(QStringLiteral("qrc:/map/") + pageName(language) + QStringLiteral(".html"));
}

bool MapWebPage::loadPage(int language)
{
    if (!QFile::exists(QStringLiteral(":/map/") + pageName(language) + QStringLiteral(".html")))
        return false;
    _page->load(pageUrl(language));
    return true;
}

void MapWebPage::runScript(const QString &script)
{
    ++_scriptCalls;
    _scriptCharacters += script.size();
    emit scriptAsked(script);
    if (_pageReady) {
        _page->runJavaScript(script);
        return;
    }
    if (_pending.size() >= MAX_PENDING_SCRIPTS)
        _pending.removeFirst();
    _pending.append(script);
}

MapPageState MapWebPage::pageState() const
{
    MapPageState state;
    if (_object->hasZoom())
        state.zoom = _object->zoom();
    state.mapTypeId = _object->mapTypeId();
    if (_object->hasDispBalloon())
        state.dispBalloon = _object->dispBalloon();
    state.mapVersion = _object->mapVersion();
    return state;
}

void MapWebPage::onLoadStarted()
{
    // Calls made while the new page loads wait for it; what the old page reported is gone.
    _pageReady = false;
    _object->reset();
    emit pageStateChanged();
}

void MapWebPage::onLoadFinished(bool ok)
{
    if (!ok) {
        qWarning().noquote() << QStringLiteral("[Map]Page load failed: ") + _page->url().toString();
        return;
    }
    _pageReady = true;
    // Scripts run in the order they were given, the held ones before anything sent from now on.
    const QStringList pending = std::exchange(_pending, {});
    for (const QString &script : pending)
        _page->runJavaScript(script);
    emit pageLoaded();
}
