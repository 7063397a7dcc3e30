// maintenancedemo: shows the backup, backup folder selection or delete dialog over a sample card, for
// screenshots under Xvfb. Questions are answered "Cancel"; no progress window is shown.
#include "card/CardData.h"
#include "card/ChapterData.h"
#include "maintenance/BackUpFolderSelectDialog.h"
#include "maintenance/BackupSettingDialog.h"
#include "maintenance/CleanupDialog.h"
#include "maintenance/MaintenanceMessageBoxes.h"
#include "recording/FileUtil.h"
#include "recording/UserDefaultUtil.h"
#include "common/QuietMaintenanceHost.h"
#include "samplecard/SampleCardWriter.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QDir>
#include <QScreen>
#include <QTemporaryDir>
#include <QTimer>
#include <cstdio>

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    QCommandLineParser parser;
    parser.addHelpOption();
    QCommandLineOption dialogOption("dialog", "backup (default), chooser or cleanup", "name", "backup");
    QCommandLineOption shot("screenshot", "grab the window into FILE and quit", "file");
    parser.addOption(dialogOption);
    parser.addOption(shot);
    parser.process(app);

    QTemporaryDir dir;
    SampleCardWriter writer(SampleScenario::standard());
    if (!writer.writeCard(dir.path())) {
        std::fprintf(stderr, "maintenancedemo: %s\n", qPrintable(writer.lastError()));
        return 1;
    }
    const QString root = dir.filePath("backups");
    QDir().mkpath(root);
    QDir().rename(dir.filePath("MOVE"), root + "/20240501123000");
    QDir().mkpath(root + "/20240430080000");
    UserDefaultUtil settings(dir.filePath("settings.ini"));
    settings.setValue(UserDefaultUtil::KEY_PATH_BACKUP, root);
    settings.load();
    QuietMaintenanceHost host;
    MaintenanceMessageBoxes prompter;
    CardData card;
    card.loadCardFolder(FileUtil::fileUrl(root + "/20240501123000"));

    std::unique_ptr<QWidget> window;
    const QString which = parser.value(dialogOption);
    if (which == "chooser") {
        auto chooser = std::make_unique<BackUpFolderSelectDialog>(settings, &host, prompter);
        chooser->mode = BackUpFolderSelectDialog::Mode::Cleanup;
        chooser->setupDialog();
        chooser->setWindowTitle(QObject::tr("Select Folder to delete"));
        chooser->resize(336, 188);
        window = std::move(chooser);
    } else if (which == "cleanup") {
        auto cleanup = std::make_unique<CleanupDialog>(settings, &host, prompter);
        cleanup->backupRoot = root;
        cleanup->cleanupDirPath = root + "/20240501123000";
        cleanup->setupDialog();
        cleanup->btnCheckOn_Click();
        cleanup->setWindowTitle(QObject::tr("Select delete data"));
        cleanup->resize(763, 436);
        window = std::move(cleanup);
    } else {
        auto backup = std::make_unique<BackupSettingDialog>(settings, host, prompter);
        backup->cardData = &card;
        backup->pathBackup = root;
        backup->playChapter = card._tripList.front()->sortedChapters()[1]; // the first trip shows mixed
        backup->setupDialog();
        backup->setWindowTitle(QObject::tr("Select backup folder"));
        backup->resize(640, 480);
        window = std::move(backup);
    }
    window->show();
    if (parser.isSet(shot)) {
        QTimer::singleShot(1500, [&] {
            window->screen()->grabWindow(window->winId()).save(parser.value(shot));
            app.quit();
        });
    }
    return app.exec();
}
