// The main window's smaller parts: title, translator, child windows, About, quit question, relaunch,
// the map server's re-probe and the update check.
#include "app/AppAboutDialog.h"
#include "app/AppTranslator.h"
#include "app/ChildWindows.h"
#include "app/MapReachabilityWatcher.h"
#include "app/QuitConfirmation.h"
#include "app/Relaunch.h"
#include "app/StandardModalRunner.h"
#include "app/UpdateCheck.h"
#include "app/WindowTitle.h"
#include "maintenance/MessageBoxPrompter.h"
#include "recording/UserDefaultUtil.h"
#include "support/EventLoop.h"
#include "support/TempDir.h"

#include "../maintenance/FakePrompts.h"
#include "MainWindowFixture.h"

#include <QApplication>
#include <QDialogButtonBox>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QKeyEvent>
#include <QLabel>
#include <QMessageBox>
#include <QProcess>
#include <QPushButton>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTest>
#include <QTimer>
#include <QTranslator>
#include <deque>
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {
// Acts on the modal window once it is up; polling ends with the timer, so nothing outlives the test.
std::unique_ptr<QTimer> whenModal(std::function<bool(QWidget *)> act)
{
    auto timer = std::make_unique<QTimer>();
    QObject::connect(timer.get(), &QTimer::timeout, [t = timer.get(), act = std::move(act)] {
        if (QWidget *modal = QApplication::activeModalWidget(); modal && act(modal))
            t->stop();
    });
    timer->start(10);
    return timer;
}

void pressEscape(QWidget *w)
{
    QKeyEvent escape(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
    QApplication::sendEvent(w, &escape);
}

// Answers each probe later, from the test, as a name lookup does.
struct FakeProbe
{
    std::deque<std::function<void(bool)>> pending;
    MapReachabilityWatcher::Probe probe()
    {
        return [this](std::function<void(bool)> done) { pending.push_back(std::move(done)); };
    }
    void answer(bool reachable)
    {
        ASSERT_FALSE(pending.empty());
        auto done = std::move(pending.front());
        pending.pop_front();
        done(reachable);
    }
};

// Answers every request with one fixed response, or never (answer empty); keeps the request heads.
struct VersionServer : QTcpServer
{
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
    QByteArray _answer;
};

// Sends a reply head claiming `length` bytes, then either a body of that length in chunks as the
// client takes them, or (trickle) one byte every 100 ms without end; counts the body bytes sent.
struct StreamingServer : QTcpServer
{
    StreamingServer(qint64 length, bool trickle)
    {
        listen(QHostAddress::LocalHost);
        connect(this, &QTcpServer::newConnection, this, [this, length, trickle] {
            QTcpSocket *socket = nextPendingConnection();
            connect(socket, &QTcpSocket::readyRead, socket, [this, socket, length, trickle] {
                if (!socket->readAll().contains("\r\n\r\n"))
                    return;
                socket->write("HTTP/1.1 200 X\r\nContent-Length: " + QByteArray::number(length) + "\r\n\r\n");
                if (trickle) {
                    auto *timer = new QTimer(socket);
                    connect(timer, &QTimer::timeout, socket, [this, socket] { sent += socket->write("9"); });
                    timer->start(100);
                    return;
                }
                const auto more = [this, socket, length] {
                    if (sent < length && socket->bytesToWrite() < (1 << 20))
                        sent +=
                            socket->write(QByteArray(int(std::min<qint64>(length - sent, 64 << 10)), '9'));
                };
                connect(socket, &QTcpSocket::bytesWritten, socket, more);
                more();
            });
        });
    }
    QUrl url() const { return QUrl(QStringLiteral("http://127.0.0.1:%1").arg(serverPort())); }
    qint64 sent = 0;
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

TEST(WindowTitleTest, KindOfRecordingAndMovieWhilePlayingElseTheProductName)
{
    using PT = CommonConst::PlayType;
    const QString path = QStringLiteral("/media/card/MOVE/MOVE001/m2024050112300001.MP4");
    const QString movie = CommonConst::FMT_FORM_TITLE_MOVIE() + " " + path + " - Orvalind";
    const QString event = CommonConst::FMT_FORM_TITLE_EVENT() + " " + path + " - Orvalind";
    const std::tuple<PT, std::optional<QString>, bool, QString> rows[] = {
        {PT::Movie, path, true, movie},
        {PT::Event, path, true, event},
        {PT::Surveillance, path, true, event},
        {PT::Adventure, path, true, event},
        {PT::Movie, std::nullopt, true, "Orvalind"}, // position past the chapter list
        {PT::Event, path, false, "Orvalind"},        // nothing ready in the player
    };
    for (const auto &[type, moviePath, active, title] : rows)
        EXPECT_EQ(WindowTitle::text(type, moviePath, active), title) << static_cast<int>(type);
}

TEST(AppTranslatorTest, TheLanguageSettingPicksTheBuiltInCatalogue)
{
    // The File menu's item, the map panel's title bar, the Google Earth export's own catalogue, Qt's own
    // standard button and file dialog.
    const std::tuple<int, const char *, const char *, const char *, const char *, const char *> rows[] = {
        {0, "&Quit", "Map", "Trip", "Cancel", "Look in:"},
        {1, "&Quitter", "Carte", "Trajet", "Annuler", "Voir dans :"},
        {2, "&Salir", "Mapa", "Trayecto", "Cancelar", "Ver en:"},
        {7, "&Quit", "Map", "Trip", "Cancel", "Look in:"},
    };
    for (const auto &[language, quit, mapTab, trip, cancel, lookIn] : rows) {
        SCOPED_TRACE(language);
        const std::unique_ptr<QTranslator> translator = AppTranslator::install(language);
        EXPECT_EQ(translator != nullptr, language == 1 || language == 2);
        EXPECT_EQ(QCoreApplication::translate("MainMenu", "&Quit"), quit);
        EXPECT_EQ(QCoreApplication::translate("MapTitleView", "Map"), mapTab);
        EXPECT_EQ(QCoreApplication::translate("TripKmlBuilder", "Trip"), trip);
        const QDialogButtonBox buttons(QDialogButtonBox::Cancel);
        EXPECT_EQ(buttons.button(QDialogButtonBox::Cancel)->text(), cancel);
        QFileDialog files(nullptr, {}, QDir::tempPath());
        files.setOption(QFileDialog::DontUseNativeDialog);
        const auto *lookInLabel = files.findChild<QLabel *>(QStringLiteral("lookInLabel"));
        ASSERT_NE(lookInLabel, nullptr);
        EXPECT_EQ(lookInLabel->text(), lookIn);
    }
}

TEST(ChildWindowsTest, ModalRunsActivationAndMinimisingAffectOnlyVisibleWindows)
{
    QWidget stopwatch, map;
    ChildWindows children;
    children.add(&stopwatch);
    children.add(&map);
    stopwatch.show();

    children.setTopMost(false);
    EXPECT_FALSE(children.isTopMost(&stopwatch));
    EXPECT_TRUE(children.isTopMost(&map)) << "a hidden window is left alone";
    EXPECT_TRUE(stopwatch.isVisible());
    children.setTopMost(true);
    EXPECT_TRUE(children.isTopMost(&stopwatch));

    children.applicationActive(false);
    EXPECT_FALSE(children.isTopMost(&stopwatch));
    children.applicationActive(true);
    EXPECT_TRUE(children.isTopMost(&stopwatch));
    children.setTopMost(false);
    children.applicationActive(false);
    children.applicationActive(true);
    EXPECT_FALSE(children.isTopMost(&stopwatch)) << "floats again only when it floated before";

    children.mainWindowMinimised();
    EXPECT_FALSE(stopwatch.isVisible());
    children.mainWindowRestored();
    EXPECT_TRUE(stopwatch.isVisible());
    EXPECT_FALSE(map.isVisible()) << "hidden before minimising, hidden after";

    // Full screen: what it hid comes back, what was hidden before or closed meanwhile stays hidden.
    children.setFullScreen(true);
    EXPECT_FALSE(stopwatch.isVisible());
    children.setFullScreen(false);
    EXPECT_TRUE(stopwatch.isVisible());
    EXPECT_FALSE(map.isVisible());
    children.setFullScreen(true);
    children.closed(&stopwatch);
    children.setFullScreen(false);
    EXPECT_FALSE(stopwatch.isVisible());
}

TEST(AppAboutDialogTest, OkAndEscapeEndTheStandardRunAndTheLabelShowsTheVersion)
{
    QCoreApplication::setApplicationVersion("2.10.3");
    TempDir dir;
    UserDefaultUtil flags(dir.filePath("s.conf"));
    QWidget main;
    QStringList topMost;
    StandardModalRunner runner(flags, &main, [&](bool on) { topMost << (on ? "up" : "down"); });
    AppAboutDialog about;
    EXPECT_EQ(about.lblAppVersion()->text(), "2.10.3");
    for (const bool escape : {false, true}) {
        const auto poll = whenModal([&](QWidget *) {
            if (!about.isVisible())
                return false;
            escape ? pressEscape(about.okBtn()) : about.okBtn()->click();
            return true;
        });
        runner.run(ModalWindow::Type::Etc, &about, AppAboutDialog::windowTitleText());
        EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
        EXPECT_EQ(about.parent(), nullptr) << "the same dialog serves the next run";
    }
    EXPECT_EQ(topMost, QStringList({"down", "up", "down", "up"}));
}

TEST(QuitConfirmationTest, AsksOnlyWithALoadedRecordingAndCancelOrEscapeKeepsRunningWithoutRestart)
{
    // Recording loaded, OK pressed, asked, terminates.
    const bool rows[][4] = {
        {false, false, false, true}, {true, true, true, true}, {true, false, true, false}};
    for (const auto &[active, answerOk, asked, terminate] : rows) {
        SCOPED_TRACE(active * 2 + answerOk);
        TempDir dir;
        UserDefaultUtil settings(dir.filePath("s.conf"));
        settings.restartFlg = true;
        FakePrompter prompter;
        prompter.confirmAnswer = answerOk;
        int pauses = 0, saves = 0;
        QStringList topMost;
        QuitConfirmation quit(settings, prompter,
                              {[active = active] { return active; }, [&] { ++pauses; },
                               [&] { return ++saves, true; },
                               [&](bool on) { topMost << (on ? "up" : "down"); }});
        EXPECT_EQ(quit.confirmTerminate(nullptr), terminate);
        EXPECT_EQ(prompter.shown.size(), asked ? 1 : 0);
        EXPECT_EQ(pauses, asked ? 1 : 0);
        EXPECT_EQ(topMost, asked ? QStringList({"down", "up"}) : QStringList());
        EXPECT_EQ(saves, terminate ? 1 : 0);
        EXPECT_EQ(settings.restartFlg, terminate) << "a cancelled quit drops the restart";
    }
    // The real question: Escape is Cancel.
    MessageBoxPrompter prompter;
    bool escaped = false;
    const auto poll = whenModal([&](QWidget *modal) {
        if (qobject_cast<QMessageBox *>(modal))
            pressEscape(modal), escaped = true;
        return escaped;
    });
    EXPECT_FALSE(prompter.confirm(nullptr, QuitConfirmation::questionText()));
    EXPECT_TRUE(escaped);
}

// Return, pressed on the box's focused control, takes the default answer: the quit question quits, the
// stopwatch question keeps the laps (Cancel comes first and is its default).
TEST(MessageBoxPrompterTest, ReturnQuitsButKeepsTheStopwatchsLaps)
{
    MessageBoxPrompter prompter;
    // The question, its default button, what Return answers.
    const std::tuple<const char *, std::function<bool()>, QString, bool> rows[] = {
        {"quit", [&] { return prompter.confirm(nullptr, QuitConfirmation::questionText()); }, "OK", true},
        {"stopwatch",
         [&] {
             return prompter.confirmCancelFirst(nullptr,
                                                "The Stopwatch measurement result will be deleted. Proceed?");
         },
         "Cancel", false},
    };
    for (const auto &[name, ask, defaultButton, answer] : rows) {
        SCOPED_TRACE(name);
        QString byDefault;
        const auto poll = whenModal([&](QWidget *modal) {
            auto *box = qobject_cast<QMessageBox *>(modal);
            if (!box)
                return false;
            byDefault = box->defaultButton() ? box->defaultButton()->text() : QString();
            QWidget *focused = QApplication::focusWidget();
            QTest::keyClick(focused && focused->window() == box ? focused : box, Qt::Key_Return);
            return true;
        });
        EXPECT_EQ(ask(), answer);
        EXPECT_EQ(byDefault, defaultButton);
    }
}

TEST(RelaunchTest, TheNewCopyWaitsForTheOldProcessUntilItHasGoneOrItsNumberRunsAnotherProgram)
{
    const Relaunch::Plan plan = Relaunch::plan("/opt/orvalind/bin/orvalind", 4242);
    EXPECT_EQ(plan.program, "/opt/orvalind/bin/orvalind");
    EXPECT_EQ(Relaunch::waitTarget(QStringList(plan.program) + plan.arguments), 4242)
        << "what one copy writes the next one reads";
    for (const char *line : {"orvalind", "orvalind --relaunch-after", "orvalind --relaunch-after 12x",
                             "orvalind --relaunch-after -5", "orvalind --other 12"})
        EXPECT_FALSE(Relaunch::waitTarget(QString(line).split(' '))) << line;
    // cat runs until its input closes; not sleep, which another suite counts copies of.
    QProcess old;
    old.start("cat", {});
    ASSERT_TRUE(old.waitForStarted());
    const qint64 pid = old.processId();
    // Another program under that number (a reused one) is not waited for.
    EXPECT_TRUE(Relaunch::waitForExit(pid, QCoreApplication::applicationFilePath(), 0));
    EXPECT_FALSE(Relaunch::waitForExit(pid, "/proc/" + QString::number(pid) + "/exe", 0)) << "still running";
    old.closeWriteChannel();
    ASSERT_TRUE(old.waitForFinished());
    EXPECT_TRUE(Relaunch::waitForExit(pid, "/proc/self/exe", 0));
}

TEST(RelaunchTest, TheNewCopyGetsOnlyTheStandardDescriptors)
{
    // A descriptor without close-on-exec, as the web engine's zygote socket is: handed on, it kept the old
    // copy's zygotes running as long as the new copy.
    TempDir dir;
    const int leaky = ::open("/dev/null", O_RDONLY);
    ASSERT_GE(leaky, 3);
    // sleep under a name of its own, which no other suite counts.
    const QString program = dir.filePath("relaunched");
    ASSERT_TRUE(QFile::copy("/bin/sleep", program));
    const std::optional<qint64> pid = Relaunch::start({program, {"30"}});
    ::close(leaky);
    ASSERT_TRUE(pid);
    QStringList open;
    ASSERT_TRUE(EventLoop::waitUntil([&] {
        open = QDir(QStringLiteral("/proc/%1/fd").arg(*pid)).entryList(QDir::NoDotAndDotDot | QDir::System);
        return QFileInfo(QStringLiteral("/proc/%1/exe").arg(*pid)).canonicalFilePath() ==
               QFileInfo(program).canonicalFilePath();
    }));
    for (const QString &fd : open)
        EXPECT_LE(fd.toInt(), 2) << "descriptor " << fd.toStdString() << " reached the new copy";
    EXPECT_EQ(::getsid(pid_t(*pid)), pid_t(*pid)) << "a session of its own";
    ::kill(pid_t(*pid), SIGKILL);
    ::waitpid(pid_t(*pid), nullptr, 0);
}

TEST(MapReachabilityWatcherTest, ThePageLoadsOnceTheServerAnswersAndAMissingPageKeepsTrying)
{
    FakeProbe probe;
    bool pageExists = false;
    int loads = 0;
    MapReachabilityWatcher watcher(probe.probe(), [&] { return ++loads, pageExists; });
    watcher.start();
    probe.answer(false);
    watcher.reachabilityCheckTimer();
    watcher.reachabilityCheckTimer(); // a tick while the lookup is out asks nothing more
    EXPECT_EQ(probe.pending.size(), 1u);
    probe.answer(false);
    watcher.reachabilityCheckTimer();
    probe.answer(true); // no page in this language yet
    EXPECT_TRUE(watcher.isReprobing());
    pageExists = true;
    watcher.reachabilityCheckTimer();
    probe.answer(true);
    EXPECT_FALSE(watcher.isReprobing());
    EXPECT_EQ(watcher.pageLoads(), 1);
    watcher.reachabilityCheckTimer();
    EXPECT_TRUE(probe.pending.empty());
    EXPECT_EQ(loads, 2) << "tried only when the server answered";

    MapReachabilityWatcher reachableAtStart(probe.probe(), [&] { return ++loads, true; });
    reachableAtStart.start();
    probe.answer(true);
    EXPECT_FALSE(reachableAtStart.isReprobing());
    EXPECT_EQ(loads, 2) << "the page loaded with the window";
}

TEST(UpdateCheckTest, ComparesTheFirstThreePartsPaddingShortVersions)
{
    const auto version = [](const char *text) {
        return *UpdateCheck::parseVersion(QString::fromLatin1(text));
    };
    const std::tuple<const char *, const char *, bool> cases[] = {
        {"1.2.3", "1.2.4", true},    {"1.2.3", "1.2.3", false}, {"1.2.3", "1.1.9", false},
        {"1.2.3", "1.2.3.7", false}, {"1.9.9", "2.0.0", true},  {"1.2", "1.2.1", true},
        {"1.2.1", "1.2", false},     {"1.2.3", "1.10.0", true}, {"1.2.3", "-1.9.9", false},
    };
    for (const auto &[local, remote, newer] : cases)
        EXPECT_EQ(UpdateCheck::isNewer(version(local), version(remote)), newer) << local << " vs " << remote;
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

TEST(UpdateCheckTest, TheMainWindowAnnouncesANewerVersionUnderTheAnnouncementTitle)
{
    const QString version = QCoreApplication::applicationVersion();
    QCoreApplication::setApplicationVersion(QStringLiteral("1.2.3"));
    VersionServer server(http(200, "1.2.4"));
    Fixture f(false, {}, false, server.url());
    f.startUpUntilShown();
    EXPECT_TRUE(EventLoop::waitUntil([&] { return !f.prompter.shown.isEmpty(); }));
    EXPECT_EQ(f.prompter.shown, QStringList{"announcement: " + UpdateCheck::announcementText()});
    QCoreApplication::setApplicationVersion(version);
}

// A reply of 100 MB is no version text: the check stops reading it at its cap and stays silent.
TEST(UpdateCheckTest, AHugeReplyIsCutAtTheCap)
{
    StreamingServer server(100ll << 20, false);
    UpdateCheck check(server.url());
    bool newer = false;
    bool done = false;
    QObject::connect(&check, &UpdateCheck::newerVersionAvailable, [&] { newer = true; });
    QObject::connect(&check, &UpdateCheck::finished, [&] { done = true; });
    check.checkUpdate(QStringLiteral("1.2.3"));
    ASSERT_TRUE(EventLoop::waitUntil([&] { return done; }, std::chrono::seconds(20)));
    EXPECT_FALSE(newer);
    // What the server could write before the client gave up: the socket buffers, not the reply.
    EXPECT_LT(server.sent, 16ll << 20);
}

// A server that sends a byte now and then keeps the transfer timeout from ever running out; the
// check's own deadline ends it.
TEST(UpdateCheckTest, ATricklingServerIsAbandonedAtTheDeadline)
{
    StreamingServer server(1000, true);
    UpdateCheck check(server.url());
    check.setTimeoutMs(1000);
    bool done = false;
    QObject::connect(&check, &UpdateCheck::finished, [&] { done = true; });
    QElapsedTimer timer;
    timer.start();
    check.checkUpdate(QStringLiteral("1.2.3"));
    ASSERT_TRUE(EventLoop::waitUntil([&] { return done; }, std::chrono::seconds(10)));
    EXPECT_GT(server.sent, 3);
    EXPECT_LT(timer.elapsed(), 5000);
}
