// settingsdemo: shows the camera settings dialog (on a synthetic card's SETINF.DAT, or a given one) or
// the viewer settings dialog, for looking at them and for screenshots under Xvfb.
//   settingsdemo (--camera [--setinf FILE] | --viewer) [--tooltip NAME] [--quit-after MS] [--screenshot FILE]

#include "maintenance/CameraSettingDialog.h"
#include "maintenance/MessageBoxPrompter.h"
#include "maintenance/ViewerSettingDialog.h"
#include "recording/UserDefaultUtil.h"
#include "samplecard/SampleSettingsFile.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QImage>
#include <QScreen>
#include <QTemporaryDir>
#include <QTimer>
#include <QToolTip>
#include <cstdio>
#include <memory>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QCommandLineParser parser;
    parser.setApplicationDescription("Shows a settings dialog.");
    parser.addHelpOption();
    parser.addOptions({
        {"camera", "The camera settings dialog."},
        {"viewer", "The viewer settings dialog (settings kept in a temporary store)."},
        {"setinf", "SETINF.DAT to show (default: the sample card's).", "FILE"},
        {"tooltip", "Show the tool tip of the control with this object name.", "NAME"},
        {"quit-after", "Quit after this many ms.", "MS"},
        {"screenshot", "Save the window's pixels on the screen to this file just before quitting.", "FILE"},
    });
    parser.process(app);
    if (parser.isSet("camera") == parser.isSet("viewer")) {
        std::fputs("settingsdemo: give --camera or --viewer\n", stderr);
        return 2;
    }

    QTemporaryDir work;
    MessageBoxPrompter prompter;
    UserDefaultUtil settings(work.filePath("settings.conf"));
    settings.load();
    std::unique_ptr<QDialog> dialog;
    if (parser.isSet("camera")) {
        QString setinf = parser.value("setinf");
        if (setinf.isEmpty()) {
            setinf = work.filePath("MOVE/SETINF.DAT");
            QString error;
            if (!SampleSettingsFile::write(SampleScenario::standard(), setinf, &error)) {
                std::fprintf(stderr, "settingsdemo: %s\n", qPrintable(error));
                return 1;
            }
        }
        SettingInfo info;
        info.Load_SETINF(setinf);
        auto camera = std::make_unique<CameraSettingDialog>(prompter);
        camera->setSettingInfo(info);
        camera->setupDialog();
        camera->setDefaultDirPath(QFileInfo(setinf).absolutePath());
        dialog = std::move(camera);
    } else {
        dialog = std::make_unique<ViewerSettingDialog>(settings, nullptr, prompter);
    }
    dialog->show();
    if (parser.isSet("tooltip")) {
        QTimer::singleShot(300, &app, [&] {
            if (auto *control = dialog->findChild<QWidget *>(parser.value("tooltip"))) {
                QToolTip::showText(control->mapToGlobal(control->rect().center()), control->toolTip(),
                                   control);
            }
        });
    }

    if (parser.isSet("quit-after")) {
        QTimer::singleShot(parser.value("quit-after").toInt(), &app, [&] {
            if (parser.isSet("screenshot")) {
                QRect frame = dialog->frameGeometry();
                // A tool tip is a window of its own that may reach past the dialog.
                if (QToolTip::isVisible()) {
                    frame = frame.united(QRect(frame.bottomLeft(), QSize(frame.width() + 400, 40)));
                }
                const QImage shot = dialog->screen()
                                        ->grabWindow(0, frame.x(), frame.y(), frame.width(), frame.height())
                                        .toImage();
                shot.save(parser.value("screenshot"));
            }
            app.quit();
        });
    }
    return app.exec();
}
