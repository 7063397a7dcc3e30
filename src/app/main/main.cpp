// orvalind: the viewer. Settings live in the user's store (XDG_CONFIG_HOME/Orvalind/Orvalind.ini).

#include "app/AppTranslator.h"
#include "app/MainWindow.h"
#include "app/Relaunch.h"
#include "app/TitleBarWidths.h"
#include "app/UpdateCheck.h"
#include "app/WebEngineFlags.h"
#include "maintenance/MessageBoxPrompter.h"
#include "platform/HeapPolicy.h"
#include "platform/UserTempFolder.h"
#include "recording/UserDefaultUtil.h"

#include <QApplication>
#include <QIcon>
#include <QLoggingCategory>
#include <QStringList>
#include <QTranslator>

int main(int argc, char *argv[])
{
    HeapPolicy::returnLargeBlocksToTheSystem();
    QStringList arguments;
    for (int i = 0; i < argc; ++i)
        arguments << QString::fromLocal8Bit(argv[i]);
    // A copy started by a relaunch waits for the one that started it to have quit.
    if (const std::optional<qint64> oldPid = Relaunch::waitTarget(arguments))
        Relaunch::waitForExit(*oldPid, QStringLiteral("/proc/self/exe"));

    // Qt WebEngine describes its graphics set-up at every start; QT_LOGGING_RULES still overrides this.
    QLoggingCategory::setFilterRules(QStringLiteral("qt.webenginecontext.info=false"));
    WebEngineFlags::quietChromium();
    QApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Orvalind"));
    QApplication::setOrganizationName(QStringLiteral("Orvalind"));
    QApplication::setApplicationVersion(QStringLiteral(ORV_VERSION));
    QApplication::setDesktopFileName(QStringLiteral("orvalind"));
    QApplication::setWindowIcon(QIcon(QStringLiteral(":/icons/orvalind.svg")));
    // The main window decides when the program ends.
    QApplication::setQuitOnLastWindowClosed(false);

    // This copy's own working folder, made at start so that the folders of copies no longer running go
    // now rather than at the first card.
    UserTempFolder::runPath();
    UserDefaultUtil settings;
    settings.load();
    const std::unique_ptr<QTranslator> translator = AppTranslator::install(settings.language);
    TitleBarWidths titleBarWidths;
    app.installEventFilter(&titleBarWidths);

    MessageBoxPrompter prompter;
    MainWindow window(MainWindow::Services{
        .settings = settings,
        .prompter = prompter,
        .updateServer = QUrl(QString::fromLatin1(UpdateCheck::SUPPORT_HOST)),
    });
    window.startUp();
    const int status = app.exec();
    if (status == 0 && settings.restartFlg)
        Relaunch::start(
            Relaunch::plan(QCoreApplication::applicationFilePath(), QCoreApplication::applicationPid()));
    return status;
}
