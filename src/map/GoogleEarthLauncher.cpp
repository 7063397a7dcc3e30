#include "map/GoogleEarthLauncher.h"

#include "platform/ChildProcess.h"

#include <QDesktopServices>
#include <QProcess>
#include <QStandardPaths>
#include <QUrl>

bool GoogleEarthLauncher::isInstalled()
{
    for (const char *program : {"google-earth-pro", "google-earth"}) {
        if (!QStandardPaths::findExecutable(QString::fromLatin1(program)).isEmpty())
            return true;
    }
    const QString xdgMime = QStandardPaths::findExecutable(QStringLiteral("xdg-mime"));
    if (xdgMime.isEmpty())
        return false;
    QProcess query;
    ChildProcess::endWithParent(query);
    query.start(xdgMime,
                {QStringLiteral("query"), QStringLiteral("default"), QString::fromLatin1(KMZ_MIME_TYPE)});
    // A desktop database lookup; it answers at once or not at all.
    if (!query.waitForFinished(5000)) {
        query.kill();
        query.waitForFinished();
        return false;
    }
    return query.exitStatus() == QProcess::NormalExit && query.exitCode() == 0 &&
           !query.readAllStandardOutput().trimmed().isEmpty();
}

bool GoogleEarthLauncher::openFile(const QString &path)
{
    return QDesktopServices::openUrl(QUrl::fromLocalFile(path));
}
