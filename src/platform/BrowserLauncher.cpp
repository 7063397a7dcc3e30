#include "platform/BrowserLauncher.h"

#include <QDesktopServices>
#include <QFile>
#include <QStandardPaths>
#include <QUrl>

bool BrowserLauncher::isAvailable()
{
    // Inside a sandbox the page goes out through the desktop portal.
    if (QFile::exists(QStringLiteral("/.flatpak-info")) || !qEnvironmentVariableIsEmpty("SNAP"))
        return true;
    for (const char *variable : {"DEFAULT_BROWSER", "BROWSER"}) {
        const QString program = qEnvironmentVariable(variable);
        if (!program.isEmpty() && !QStandardPaths::findExecutable(program).isEmpty())
            return true;
    }
    for (const char *program : {"xdg-open", "kfmclient", "gnome-open", "firefox", "mozilla", "chromium",
                                "google-chrome", "chromium-browser"}) {
        if (!QStandardPaths::findExecutable(QString::fromLatin1(program)).isEmpty())
            return true;
    }
    return false;
}

bool BrowserLauncher::open(const QUrl &url)
{
    return isAvailable() && QDesktopServices::openUrl(url);
}
