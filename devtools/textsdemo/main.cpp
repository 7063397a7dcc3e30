// textsdemo: one window of the viewer in a chosen language, opened as the viewer opens it (the modal
// window at its content size, the program's catalogues and message box widths), for screenshots under
// Xvfb. Windows: stopwatch, camera, backup, files, saved, driving.
#include "app/AppTranslator.h"
#include "app/StandardModalRunner.h"
#include "app/StopWatchWindow.h"
#include "app/TitleBarWidths.h"
#include "card/CardData.h"
#include "card/ChapterData.h"
#include "graph/DrivingInfoView.h"
#include "maintenance/BackupSettingDialog.h"
#include "maintenance/CameraSettingDialog.h"
#include "maintenance/MaintenanceMessageBoxes.h"
#include "maintenance/MessageBoxPrompter.h"
#include "recording/FileUtil.h"
#include "recording/UserDefaultUtil.h"
#include "common/QuietMaintenanceHost.h"
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
    const QCommandLineOption which("window", "stopwatch, camera, backup, files, saved or driving", "name",
                                   "stopwatch");
    parser.addOptions({language, which});
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
