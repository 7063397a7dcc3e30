// Help > Download Updates with the desktop's own opener (no stand-in) where no browser can be started:
// an alert says so, and nothing goes to the terminal.
#include "app/MainMenu.h"
#include "app/MainWindow.h"
#include "app/UpdateCheck.h"
#include "recording/UserDefaultUtil.h"
#include "support/TempDir.h"

#include "../maintenance/FakePrompts.h"
#include "MainWindowFixture.h"

#include <QAction>
#include <QDir>
#include <gtest/gtest.h>

namespace {

QStringList terminalLines;

void keepLine(QtMsgType, const QMessageLogContext &, const QString &text)
{
    terminalLines << text;
}

} // namespace

TEST(DownloadPageTest, WithoutABrowserAnAlertSaysSo)
{
    TempDir dir;
    ASSERT_TRUE(QDir().mkpath(dir.filePath("bin")));
    const QByteArray path = qgetenv("PATH");
    const QByteArray browser = qgetenv("BROWSER");
    const QByteArray defaultBrowser = qgetenv("DEFAULT_BROWSER");
    qputenv("PATH", QFile::encodeName(dir.filePath("bin")));
    qunsetenv("BROWSER");
    qunsetenv("DEFAULT_BROWSER");
    UserDefaultUtil settings(dir.filePath("s.conf"));
    settings.viewerFirstLaunch = true;
    FakePrompter prompter;
    Runs runs;
    {
        MainWindow window(MainWindow::Services{
            .settings = settings,
            .prompter = prompter,
            .reachability = [](std::function<void(bool)> done) { done(false); },
            .modalRunner = [&runs](MainWindow &) { return std::make_unique<RecordingRunner>(runs); },
            .otherInstanceRunning = [] { return false; },
        });
        window.startUp();
        const QtMessageHandler previous = qInstallMessageHandler(&keepLine);
        window.mainMenu()->action(MenuCommand::DownloadUpdates)->trigger();
        qInstallMessageHandler(previous);
    }
    qputenv("PATH", path);
    if (!browser.isEmpty())
        qputenv("BROWSER", browser);
    if (!defaultBrowser.isEmpty())
        qputenv("DEFAULT_BROWSER", defaultBrowser);

    ASSERT_EQ(prompter.shown.size(), 1);
    EXPECT_EQ(prompter.shown[0], "warn: No web browser could be started to open " +
                                     UpdateCheck::downloadPageUrl(settings.language).toString() + ".");
    EXPECT_EQ(terminalLines.join('\n').toStdString(), "");
}
