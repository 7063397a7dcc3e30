// Tells whether the map's tile server can be reached: its host name resolves. Asynchronous, so
// a slow or missing name server never blocks the main thread.
#pragma once

#include <QString>
#include <functional>

class QObject;

class ReachabilityProbe
{
public:
    // The tile server of the map page's default layer.
    static QString mapHostName();

    // Calls done(reachable) on context's thread once the lookup has ended; never when context
    // is destroyed first.
    static void check(const QString &hostName, QObject *context, std::function<void(bool)> done);
};
