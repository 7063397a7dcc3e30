#include "app/UpdateCheck.h"

#include <QCoreApplication>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QNetworkRequest>
#include <QStringDecoder>
#include <QTimer>
#include <QUrlQuery>

UpdateCheck::UpdateCheck(QUrl server, QObject *parent)
    : QObject(parent), _server(std::move(server)), _network(new QNetworkAccessManager(this))
{
}

UpdateCheck::~UpdateCheck() = default;

std::optional<QVector<int>> UpdateCheck::parseVersion(const QString &text)
{
    QVector<int> parts;
    for (const QString &part : text.split(QLatin1Char('.'))) {
        qsizetype i = 0;
        if (i < part.size() && (part[i] == QLatin1Char('+') || part[i] == QLatin1Char('-')))
            ++i;
        if (i == part.size())
            return std::nullopt;
        for (qsizetype j = i; j < part.size(); ++j)
            if (part[j] < QLatin1Char('0') || part[j] > QLatin1Char('9'))
                return std::nullopt;
        bool ok = false;
        const int value = part.toInt(&ok);
        if (!ok)
            return std::nullopt;
        parts.append(value);
    }
    return parts;
}

bool UpdateCheck::isNewer(const QVector<int> &local, const QVector<int> &remote)
{
    // Only three parts count; a shorter version reads as if padded with zeros.
    for (int i = 0; i < 3; ++i) {
        const int l = i < local.size() ? local[i] : 0;
        const int r = i < remote.size() ? remote[i] : 0;
        if (r != l)
            return r > l;
    }
    return false;
}

QByteArray UpdateCheck::userAgent(const QVector<int> &local)
{
    QByteArray text = "Orvalind/[";
    for (int i = 0; i < local.size(); ++i) {
        if (i > 0)
            text += ", ";
        text += QByteArray::number(local[i]);
    }
    return text + "]";
}

QUrl UpdateCheck::downloadPageUrl(int language, QUrl server)
{
    static const char *const codes[] = {"en", "fr", "es"};
    server.setPath(QString::fromLatin1(DOWNLOAD_PATH));
    QUrlQuery query;
    query.addQueryItem(QStringLiteral("lang"),
                       QString::fromLatin1(codes[language >= 0 && language < 3 ? language : 0]));
    server.setQuery(query);
    return server;
}

QString UpdateCheck::announcementTitle()
{
    return QCoreApplication::translate("UpdateCheck", "announcement");
}

QString UpdateCheck::announcementText()
{
    return QCoreApplication::translate(
               "UpdateCheck",
               "The latest version of %1 is available for download at the URL listed in the owner's manual.")
        .arg(QStringLiteral("Orvalind"));
}

void UpdateCheck::checkUpdate(const QString &localVersion)
{
    const auto local = parseVersion(localVersion);
    if (!local) {
        emit finished();
        return;
    }
    _local = *local;
    QUrl url = _server;
    url.setPath(QString::fromLatin1(VERSION_PATH));
    QNetworkRequest request(url);
    request.setHeader(QNetworkRequest::UserAgentHeader, userAgent(_local));
    request.setTransferTimeout(_timeoutMs);
    QNetworkReply *reply = _network->get(request);
    // Past the cap the reply is given up: it buffers no more than that meanwhile.
    reply->setReadBufferSize(MAX_REPLY_BYTES + 1);
    connect(reply, &QNetworkReply::readyRead, reply, [reply] {
        if (reply->bytesAvailable() > MAX_REPLY_BYTES)
            reply->abort();
    });
    // The transfer timeout starts again with every byte; this deadline does not.
    QTimer::singleShot(_timeoutMs, reply, [reply] {
        if (reply->isRunning())
            reply->abort();
    });
    connect(reply, &QNetworkReply::finished, this, [this, reply] { checkUpdateCompleted(reply); });
}

void UpdateCheck::checkUpdateCompleted(QNetworkReply *reply)
{
    reply->deleteLater();
    const int status = reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
    const QByteArray body = reply->read(MAX_REPLY_BYTES + 1);
    if (reply->error() != QNetworkReply::NoError || status != 200 || body.isEmpty() ||
        body.size() > MAX_REPLY_BYTES) {
        emit finished();
        return;
    }
    QStringDecoder utf8(QStringDecoder::Utf8);
    const QString text = utf8.decode(body);
    if (utf8.hasError()) {
        emit finished();
        return;
    }
    // A line end, spaces or an HTML page make a part that is no number: silently not newer.
    const auto remote = parseVersion(text);
    if (remote && isNewer(_local, *remote))
        emit newerVersionAvailable();
    emit finished();
}
