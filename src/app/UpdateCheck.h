// Once per start: asks the support server for the newest release's version and, when it is newer than
// ours, announces it. Every failure is silent.
#pragma once

#include <QObject>
#include <QPointer>
#include <QUrl>
#include <QVector>
#include <functional>
#include <optional>

class QNetworkAccessManager;
class QNetworkReply;

class UpdateCheck : public QObject
{
    Q_OBJECT
public:
    // The support web server; the version text and download page live under it.
    static constexpr const char *SUPPORT_HOST = "https://support.orvalind.example";
    static constexpr const char *VERSION_PATH = "/top/didazorezazav/Orvalind/mac/ver.txt";
    static constexpr const char *DOWNLOAD_PATH = "/top/didazorezazav/Orvalind/index.html";
    // The whole check, from the request to the last byte: a server that trickles is given up.
    static constexpr int TIMEOUT_MS = 60000;
    // A version text is a few bytes: a longer reply is not one, and is not read on.
    static constexpr qint64 MAX_REPLY_BYTES = 4096;

    // server: scheme and host (tests give a local server).
    explicit UpdateCheck(QUrl server = QUrl(QString::fromLatin1(SUPPORT_HOST)), QObject *parent = nullptr);
    ~UpdateCheck() override;

    // Sends the one request; localVersion is the program's "major.minor.patch". An unreadable local
    // version sends nothing.
    void checkUpdate(const QString &localVersion);
    // The overall deadline (tests make it short).
    void setTimeoutMs(int ms) { _timeoutMs = ms; }

    // Dot-separated decimal parts (optional sign, digits only); nothing when any part is not a number.
    static std::optional<QVector<int>> parseVersion(const QString &text);
    // Compares the first three parts, missing parts taken as 0.
    static bool isNewer(const QVector<int> &local, const QVector<int> &remote);
    // "Orvalind/[1, 2, 3]".
    static QByteArray userAgent(const QVector<int> &local);
    // The download page in the viewer's language (0 English, 1 French, 2 Spanish).
    static QUrl downloadPageUrl(int language, QUrl server = QUrl(QString::fromLatin1(SUPPORT_HOST)));

    static QString announcementTitle();
    static QString announcementText();

signals:
    // Emitted on this object's thread when the server names a newer version.
    void newerVersionAvailable();
    // Emitted once the check has ended, whatever its outcome (for tests and shutdown).
    void finished();

private:
    void checkUpdateCompleted(QNetworkReply *reply);

    QUrl _server;
    QNetworkAccessManager *_network;
    QVector<int> _local;
    int _timeoutMs = TIMEOUT_MS;
};
