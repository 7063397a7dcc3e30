// Where the map bridge sends its script calls: the web page in the application, a recorder in
// tests. Calls are fire-and-forget and keep their order; answers come from the page's mirror.
#pragma once

#include "map/MapPageState.h"

#include <QObject>

class MapScriptSink : public QObject
{
    Q_OBJECT
public:
    using QObject::QObject;
    ~MapScriptSink() override = default;

    virtual void runScript(const QString &script) = 0;
    virtual MapPageState pageState() const = 0;

signals:
    // A page load finished successfully (every load, reloads included).
    void pageLoaded();
    // The page reported a click on the marker stored under this key.
    void markerClicked(const QString &key);
    // Something in pageState() changed.
    void pageStateChanged();
};
