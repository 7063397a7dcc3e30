#include "map/ReachabilityProbe.h"

#include <QHostInfo>

QString ReachabilityProbe::mapHostName()
{
    return QStringLiteral("tile.openstreetmap.org");
}

void ReachabilityProbe::check(const QString &hostName, QObject *context, std::function<void(bool)> done)
{
    QHostInfo::lookupHost(hostName, context, [done = std::move(done)](const QHostInfo &info) {
        done(info.error() == QHostInfo::NoError && !info.addresses().isEmpty());
    });
}
