// Escape on every dialog the program runs through its modal windows, pressed as the keyboard presses it on
// the dialog's focused control: only the Open From and About windows end on it; the others go on until
// their own buttons end them.
#include "app/AppAboutDialog.h"
#include "app/DialogInUseLock.h"
#include "app/MenuCommands.h"
#include "app/StandardModalRunner.h"
#include "app/VideoTypeSelectDialog.h"
#include "maintenance/ViewerSettingDialog.h"
#include "recording/UserDefaultUtil.h"
#include "support/TempDir.h"

#include "../maintenance/FakePrompts.h"
#include "../maintenance/MaintenanceFakes.h"
#include "AppFakes.h"

#include <QApplication>
#include <QDir>
#include <QPointer>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

namespace {
// The real runner over an unshown main window, with the commands and dialogs that run through it.
struct Dialogs
{
    Dialogs()
    {
        QDir().mkpath(dir.filePath("backups/20240501120000"));
        settings.setValue(UserDefaultUtil::KEY_PATH_BACKUP, dir.filePath("backups"));
    }

    TempDir dir;
    UserDefaultUtil settings{dir.filePath("s.conf")};
    FakePrompter prompter;
    FakeMaintenancePrompter maintenancePrompter;
    FakeMaintenanceHost host;
    FakePlayback player;
    FakeVolumes volumes;
    DialogInUseLock lock{settings};
    QWidget main;
    StandardModalRunner runner{settings, &main, {}};
    MenuCommands commands{{settings,
                           prompter,
                           maintenancePrompter,
                           host,
                           runner,
                           player,
                           lock,
                           &main,
                           [] { return nullptr; },
                           {},
                           {},
                           {},
                           &volumes,
                           {}}};
    VideoTypeSelectDialog openFrom{{settings, prompter, maintenancePrompter, volumes, runner,
                                    [](QWidget *, const QString &) { return QString(); }}};
    ViewerSettingDialog viewerSettings{settings, nullptr, prompter};
    AppAboutDialog about;
};

// In each modal window as it comes up (a nested one, then its opener again): Escape, then, while the
// window is still up, a click on the next button named; none named: Escape is to end that window.
struct User
{
    explicit User(std::vector<const char *> buttons) : buttons(std::move(buttons))
    {
        QObject::connect(&timer, &QTimer::timeout, [this] { act(); });
        timer.start(10);
    }
    void act()
    {
        QWidget *modal = QApplication::activeModalWidget();
        if (!modal || !modal->isVisible() || modal == left)
            return;
        if (shownAfterEscape.size() == buttons.size()) {
            ADD_FAILURE() << "a window more than the buttons named";
            return void(modal->close());
        }
        const char *name = buttons[shownAfterEscape.size()];
        left = modal;
        QWidget *focused = modal->focusWidget();
        QTest::keyClick(focused ? focused : modal, Qt::Key_Escape);
        QCoreApplication::processEvents();
        shownAfterEscape.push_back(modal->isVisible());
        if (!modal->isVisible() || !name)
            return;
        for (QPushButton *button : modal->findChildren<QPushButton *>())
            if (button->isVisible() && button->text() == QLatin1String(name))
                return QTimer::singleShot(0, button, &QAbstractButton::click); // it may run a nested window
        ADD_FAILURE() << "no button " << name;
        modal->close(); // its close button ends any of these runs
    }

    std::vector<const char *> buttons;
    std::vector<bool> shownAfterEscape;
    QPointer<QWidget> left; // acted on: the next button waits for another window
    QTimer timer;
};
} // namespace

TEST(DialogEscapeTest, EscapeEndsOnlyTheOpenFromAndAboutRunsTheOthersGoOnUntilTheirButtons)
{
    using T = ModalWindow::Type;
    const std::tuple<const char *, std::function<void(Dialogs &)>, std::vector<const char *>> rows[] = {
        {"Open From", [](Dialogs &d) { d.runner.run(T::OpenForm, &d.openFrom, "Open From"); }, {nullptr}},
        {"About", [](Dialogs &d) { d.runner.run(T::Etc, &d.about, "Version information"); }, {nullptr}},
        {"backup folder of Open From", [](Dialogs &d) { d.openFrom.backupFolderOnClick(); }, {"Cancel"}},
        {"delete: folder, then its data",
         [](Dialogs &d) { d.commands.showCleanupDialog(); },
         {"OK", "Cancel", "Cancel"}},
        {"backup", [](Dialogs &d) { d.commands.showBackupSettingDialog(); }, {"Cancel"}},
        {"camera settings", [](Dialogs &d) { d.commands.openCameraSetting(d.dir.path()); }, {"Cancel"}},
        {"viewer settings",
         [](Dialogs &d) { d.runner.run(T::ViewerSetting, &d.viewerSettings, "Viewer Settings"); },
         {"Cancel"}},
    };
    for (const auto &[name, open, buttons] : rows) {
        SCOPED_TRACE(name);
        Dialogs dialogs;
        User user(buttons);
        open(dialogs);
        std::vector<bool> goesOn;
        for (const char *button : buttons)
            goesOn.push_back(button != nullptr);
        EXPECT_EQ(user.shownAfterEscape, goesOn);
        EXPECT_EQ(QApplication::activeModalWidget(), nullptr) << "every run has ended";
    }
}
