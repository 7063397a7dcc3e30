// textsdemo: one window of the viewer in a chosen language, opened as the viewer opens it (the modal
// window at its content size, the program's catalogues and message box widths), for screenshots under
// Xvfb. Windows: stopwatch, camera, backup, files, saved, driving, question (the stopwatch's question before
// its laps are dropped) and lock (the alert of a guarded command whose lock file cannot be made, with the
// settings in --settings-folder; by default a folder that is a plain file).
#include "app/AppTranslator.h"
#include "app/DialogInUseLock.h"
#include "app/StandardModalRunner.h"
#include "app/StopWatchWindow.h"
#include "app/TitleBarWidths.h"
#include "card/CardData.h"
#include "card/ChapterData.h"
#include "common/QuietMaintenanceHost.h"
#include "graph/DrivingInfoView.h"
#include "maintenance/BackupSettingDialog.h"
#include "maintenance/CameraSettingDialog.h"
#include "maintenance/MaintenanceMessageBoxes.h"
#include "maintenance/MessageBoxPrompter.h"
#include "recording/FileUtil.h"
#include "recording/UserDefaultUtil.h"
#include "samplecard/SampleCardWriter.h"
#include "videotools/TrimDialogs.h"
#include "videotools/TrimView.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QFileDialog>
#include <QTemporaryDir>
#include <QTranslator>
#include <cstdio>

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    QCommandLineParser parser;
    parser.addHelpOption();
    const QCommandLineOption language("language", "0 English, 1 French (default), 2 Spanish", "N", "1");
    const QCommandLineOption which(
        "window", "stopwatch, camera, backup, files, saved, driving, question or lock", "name", "stopwatch");
    const QCommandLineOption settingsFolder("settings-folder", "the lock window's settings folder", "path");
    parser.addOptions({language, which, settingsFolder});
    parser.process(app);

    QTemporaryDir dir;
    UserDefaultUtil settings(dir.filePath("settings.ini"));
    settings.load();
    const std::unique_ptr<QTranslator> translator = AppTranslator::install(parser.value(language).toInt());
    TitleBarWidths titleBarWidths;
    app.installEventFilter(&titleBarWidths);
    StandardModalRunner runner(settings, nullptr, {});
    const QString name = parser.value(which);

    if (name == "stopwatch") {
        QWidget owner;
        StopWatchWindow stopWatch(settings, &owner, {});
        stopWatch.setupWindow();
        stopWatch.window()->show();
        return app.exec();
    }
    if (name == "camera") {
        MessageBoxPrompter prompter;
        CameraSettingDialog dialog(prompter);
        dialog.setupDialog();
        runner.run(ModalWindow::Type::CameraSetting, &dialog,
                   QCoreApplication::translate("MenuCommands", "Camera Settings"), QSize(590, 631));
        return 0;
    }
    if (name == "backup") {
        SampleCardWriter writer(SampleScenario::standard());
        if (!writer.writeCard(dir.path())) {
            std::fprintf(stderr, "textsdemo: %s\n", qPrintable(writer.lastError()));
            return 1;
        }
        CardData card;
        card.loadCardFolder(FileUtil::fileUrl(dir.filePath("MOVE")));
        QuietMaintenanceHost host;
        MaintenanceMessageBoxes prompter;
        BackupSettingDialog dialog(settings, host, prompter);
        dialog.cardData = &card;
        dialog.pathBackup = dir.path();
        dialog.playChapter = card._tripList.front()->sortedChapters()[1];
        dialog.setupDialog();
        runner.run(ModalWindow::Type::BackupSetting, &dialog,
                   QCoreApplication::translate("MenuCommands", "Select backup folder"));
        return 0;
    }
    if (name == "files") {
        QFileDialog::getOpenFileName(
            nullptr, QCoreApplication::translate("VideoTypeSelectDialog", "Select File"), dir.path(),
            QCoreApplication::translate("VideoTypeSelectDialog", "Movies (*.mp4)"));
        return 0;
    }
    if (name == "question") {
        MessageBoxPrompter().confirmCancelFirst(
            nullptr, QCoreApplication::translate(
                         "QObject", "The Stopwatch measurement result will be deleted. Proceed?"));
        return 0;
    }
    if (name == "lock") {
        QString folder = parser.value(settingsFolder);
        if (folder.isEmpty()) {
            folder = dir.filePath("file");
            QFile(folder).open(QIODevice::WriteOnly);
        }
        UserDefaultUtil store(folder + "/settings.ini");
        DialogInUseLock lock(store, [] { return false; });
        const DialogInUseLock::Hold hold = lock.acquire(UserDefaultUtil::KEY_BACKUP_SETTING_FLG);
        if (!hold)
            MessageBoxPrompter().warn(nullptr, hold.refusal().text, hold.refusal().cause);
        return 0;
    }
    if (name == "saved") {
        TrimView view(settings);
        TrimDialogs(nullptr).showAlert(TrimPrompts::Style::Informational, view.al_infoTitle, view.al_infoMsg);
        return 0;
    }
    DrivingInfoView view(&settings);
    view.resize(760, 172);
    view.setupView();
    view.show();
    return app.exec();
}
