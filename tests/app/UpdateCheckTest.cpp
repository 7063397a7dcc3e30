#include "app/UpdateCheck.h"

#include "support/EventLoop.h"

#include <QTcpServer>
#include <QTcpSocket>
#include <gtest/gtest.h>

namespace {
// Answers every request with one fixed response, or never (answer empty); keeps the request heads.
class VersionServer : public QTcpServer
{
public:
    explicit VersionServer(QByteArray answer) : _answer(std::move(answer))
    {
        listen(QHostAddress::LocalHost);
        connect(this, &QTcpServer::newConnection, this, [this] {
            QTcpSocket *socket = nextPendingConnection();
            connect(socket, &QTcpSocket::readyRead, socket, [this, socket] {
                requests += socket->readAll();
                if (requests.contains("\r\n\r\n") && !_answer.isEmpty()) {
                    socket->write(_answer);
                    socket->disconnectFromHost();
                }
            });
        });
    }
    QUrl url() const { return QUrl(QStringLiteral("http://127.0.0.1:%1").arg(serverPort())); }
    QByteArray requests;

private:
    QByteArray _answer;
};

QByteArray http(int status, const QByteArray &body)
{
    return "HTTP/1.1 " + QByteArray::number(status) +
           " X\r\nContent-Length: " + QByteArray::number(body.size()) + "\r\nConnection: close\r\n\r\n" +
           body;
}

// Runs one check against the server; answers whether the newer-version signal came.
bool announced(VersionServer &server, const QString &local, int timeoutMs = 60000)
{
    UpdateCheck check(server.url());
    check.setTimeoutMs(timeoutMs);
    bool newer = false;
    bool done = false;
    QObject::connect(&check, &UpdateCheck::newerVersionAvailable, [&] { newer = true; });
    QObject::connect(&check, &UpdateCheck::finished, [&] { done = true; });
    check.checkUpdate(local);
    EXPECT_TRUE(EventLoop::waitUntil([&] { return done; }));
    return newer;
}
} // namespace

TEST(UpdateCheckTest, ComparesTheFirstThreePartsPaddingShortVersions)
{
    struct Case
    {
        const char *local, *remote;
        bool newer;
    };
    const Case cases[] = {
        {"1.2.3", "1.2.4", true},    {"1.2.3", "1.2.3", false}, {"1.2.3", "1.1.9", false},
        {"1.2.3", "1.2.3.7", false}, {"1.9.9", "2.0.0", true},  {"1.2", "1.2.1", true},
        {"1.2.1", "1.2", false},     {"1.2.3", "1.10.0", true}, {"1.2.3", "-1.9.9", false},
    };
    for (const Case &c : cases)
        EXPECT_EQ(
            UpdateCheck::isNewer(*UpdateCheck::parseVersion(c.local), *UpdateCheck::parseVersion(c.remote)),
            c.newer)
            << c.local << " vs " << c.remote;
    for (const char *bad : {"1.2.3\n", "1.2.x", "", "1..2", " 1.2.3", "<html>", "0x1.2.3", "1.2.3 "})
        EXPECT_FALSE(UpdateCheck::parseVersion(QString::fromLatin1(bad))) << bad;
    EXPECT_EQ(UpdateCheck::downloadPageUrl(1, QUrl("https://h.test")).toString(),
              "https://h.test/top/didazorezazav/Orvalind/index.html?lang=fr");
    EXPECT_EQ(UpdateCheck::downloadPageUrl(7, QUrl("https://h.test")).query(), "lang=en");
}

TEST(UpdateCheckTest, AnnouncesOnlyANewerVersionAndStaysSilentOnAnythingElse)
{
    const std::pair<QByteArray, bool> cases[] = {
        {http(200, "1.2.4"), true},    {http(200, "1.2.3"), false},
        {http(200, "1.2.4\n"), false}, {http(200, "<html><body>1.2.4</body></html>"), false},
        {http(404, "1.2.4"), false},   {http(200, "\xff\xfe\x31.2.4"), false}, // not UTF-8
    };
    for (const auto &[answer, newer] : cases) {
        VersionServer server(answer);
        EXPECT_EQ(announced(server, QStringLiteral("1.2.3")), newer) << answer.constData();
        EXPECT_TRUE(server.requests.startsWith("GET /top/didazorezazav/Orvalind/mac/ver.txt HTTP/1.1\r\n"));
        EXPECT_TRUE(server.requests.contains("User-Agent: Orvalind/[1, 2, 3]\r\n"))
            << server.requests.constData();
    }
}

TEST(UpdateCheckTest, ATimeoutOrAnUnreadableLocalVersionIsSilent)
{
    VersionServer silent{QByteArray()};
    EXPECT_FALSE(announced(silent, QStringLiteral("1.2.3"), 200));
    VersionServer server(http(200, "9.9.9"));
    EXPECT_FALSE(announced(server, QStringLiteral("1.x")));
    EXPECT_TRUE(server.requests.isEmpty()) << "no request without a local version";
}
