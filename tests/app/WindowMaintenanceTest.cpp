// The whole main window on the fake media engine around its file-changing commands: a delete from the
// backup folder it has open, with the stopwatch running, and the in-use warnings over its floating windows.
#include "app/CardOpener.h"
#include "app/ChildWindows.h"
#include "app/DialogInUseLock.h"
#include "app/ItemPlayback.h"
#include "app/MainMenu.h"
#include "app/MainWindowLayout.h"
#include "app/MenuCommands.h"
#include "app/StopWatchCoordinator.h"
#include "app/StopWatchWindow.h"
#include "app/VideoListModel.h"
#include "app/VideoListView.h"
#include "app/WindowCoordinators.h"
#include "card/CardData.h"
#include "maintenance/BackUpFolderSelectDialog.h"
#include "maintenance/BackupTreeModel.h"
#include "maintenance/CleanupDialog.h"
#include "player/MoviePlayerView.h"
#include "player/PlayMovieValueInfo.h"
#include "player/PlayerControls.h"
#include "videotools/StopWatchView.h"

#include "AppFakes.h"
#include "MainWindowFixture.h"
#include "support/ReadOnlyFolder.h"
#include "support/SmallVolume.h"

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QDirIterator>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <gtest/gtest.h>
#include <unistd.h>
#include <vector>

namespace {
using PS = CommonConst::PlayStatus;
using UD = UserDefaultUtil;

// The system's reason why a file cannot be made and written in folder, or an empty text when it can.
QString whyNoFileIn(const QString &folder)
{
    const QByteArray path = QFile::encodeName(folder + "/probe");
    const int fd = ::open(path.constData(), O_WRONLY | O_CREAT | O_EXCL, 0600);
    if (fd < 0)
        return QString::fromLocal8Bit(std::strerror(errno));
    const char bytes[64] = {};
    const int error = ::write(fd, bytes, sizeof bytes) == ssize_t(sizeof bytes) ? 0 : errno;
    ::close(fd);
    ::unlink(path.constData());
    return error ? QString::fromLocal8Bit(std::strerror(error)) : QString();
}

// The five commands that hold a flag while their window is open, each with its flag.
std::vector<std::pair<const char *, std::function<void()>>> guardedCommands(Fixture &f)
{
    MainMenu *menu = f.window->mainMenu();
    MenuCommands *commands = &f.window->coordinators()->menuCommands();
    const auto item = [menu](MenuCommand command) {
        return [menu, command] { menu->action(command)->trigger(); };
    };
    return {
        {UD::KEY_VIEWER_SETTING_FLG, item(MenuCommand::ViewerSettings)},
        {UD::KEY_CAMERA_SETTING_FLG, item(MenuCommand::CameraSettings)},
        {UD::KEY_BACKUP_DIRECTORY_SETTING_FLG, item(MenuCommand::BackupDirectorySettings)},
        {UD::KEY_BACKUP_SETTING_FLG,
         [commands] { commands->showBackupSettingDialog(); }}, // its item needs a card
        {UD::KEY_BACKUP_DELETE_FLG, item(MenuCommand::Delete)},
    };
}

// Every guarded command of a window whose settings live in folder, made unusable by spoil after start-up:
// each says that its lock file cannot be made, names that file and the system's reason, and opens nothing.
void expectEveryGuardedCommandNamesItsLockFailure(const QString &folder, const std::function<bool()> &spoil)
{
    Fixture f(false, folder + "/s.conf");
    f.startUpUntilShown();
    if (!spoil())
        GTEST_SKIP() << "the folder cannot be spoilt here";
    const QString reason = whyNoFileIn(folder);
    ASSERT_FALSE(reason.isEmpty());
    const auto guarded = guardedCommands(f);
    for (const auto &[flag, command] : guarded) {
        SCOPED_TRACE(flag);
        f.prompter.shown.clear();
        f.prompter.causes.clear();
        command();
        EXPECT_EQ(f.prompter.shown, QStringList{"warn: " + DialogInUseLock::lockFailedText()});
        EXPECT_EQ(f.prompter.causes, QStringList{folder + "/s.conf.dialogs.lock: " + reason});
        EXPECT_TRUE(f.runs.empty());
        EXPECT_FALSE(f.settings.flag(flag));
    }
}

const QString STOPWATCH_QUESTION = "confirm: The Stopwatch measurement result will be deleted. Proceed?";

// Presses the accepting button of every message box shown (the delete's questions and its closing
// message), keeping their texts.
struct BoxAccepter
{
    BoxAccepter()
    {
        QObject::connect(&timer, &QTimer::timeout, [this] {
            for (QWidget *window : QApplication::topLevelWidgets()) {
                auto *box = qobject_cast<QMessageBox *>(window);
                if (!box || !box->isVisible() || box->property("answered").toBool())
                    continue;
                box->setProperty("answered", true);
                texts << box->text();
                for (QAbstractButton *button : box->buttons())
                    if (box->buttonRole(button) == QMessageBox::AcceptRole)
                        return button->click();
            }
        });
        timer.start(10);
    }
    QTimer timer;
    QStringList texts;
};

void copyTree(const QString &from, const QString &to)
{
    QDirIterator files(from, QDir::Files | QDir::Hidden, QDirIterator::Subdirectories);
    while (files.hasNext()) {
        const QString file = files.next();
        const QString target = to + "/" + QDir(from).relativeFilePath(file);
        QDir().mkpath(QFileInfo(target).absolutePath());
        ASSERT_TRUE(QFile::copy(file, target)) << target.toStdString();
    }
}

// A copy of the sample card kept as the backup folder "bk" of the backup root, opened in the window with
// its first trip paused and the stopwatch started.
struct OpenedBackup : Fixture
{
    OpenedBackup() : Fixture(false, {}, true)
    {
        copyTree(writtenSampleCard().toLocalFile(), folder());
        settings.setValue(UD::KEY_PATH_BACKUP, dir.filePath("root"));
        startUpUntilShown();
        window->cardOpener()->pauseMsec = 0;
        QObject::connect(window->cardOpener(), &CardOpener::finished, [this] { ++opens; });
        window->cardOpener()->openVideoData(source(), true, MovieType::Backup);
        EXPECT_TRUE(EventLoop::waitUntil([this] { return opens == 1; }));
        window->itemPlayback().playTripItem(0, 0, false, true);
        static_cast<FakeMediaEngine *>(player()->engine())->becomeReady();
        player()->pauseMovie();
        QCoreApplication::processEvents();
        button("stopwatch")->click();
        stopWatch()->btnStartStop->click();
        EXPECT_EQ(stopWatch()->model().status(), StopWatchStatus::Start);
    }
    QString folder() const { return dir.filePath("root/bk"); }
    QUrl source() const { return QUrl::fromLocalFile(folder() + "/"); }
    MoviePlayerView *player() const { return window->panels()->moviePlayerView(); }
    QAbstractButton *button(const char *name) const
    {
        return qobject_cast<QAbstractButton *>(player()->controls()->control(QString::fromLatin1(name)));
    }
    StopWatchView *stopWatch() const { return window->coordinators()->stopWatchWindow().view(); }
    size_t chapters() const
    {
        size_t count = 0;
        for (const auto &trip : window->cardData()->_tripList)
            count += trip->sortedChapters().size();
        return count;
    }

    int opens = 0;
};
} // namespace

TEST(WindowMaintenanceTest, DeletingFromTheOpenedBackupAsksForTheStopwatchThenShowsWhatIsLeftPaused)
{
    for (const bool agree : {true, false}) {
        SCOPED_TRACE(agree);
        OpenedBackup w;
        w.prompter.confirmAnswer = agree;
        const size_t before = w.chapters();
        const int rows = w.window->videoListView()->model()->rowCount();
        QStringList deleted;
        w.onRun = [&](ModalWindow::Type type, QWidget *view) {
            auto *chooser = qobject_cast<BackUpFolderSelectDialog *>(view);
            ASSERT_EQ(type, ModalWindow::Type::BackupDelete);
            ASSERT_NE(chooser, nullptr);
            chooser->runCleanupWindow = [&](CleanupDialog &dialog) {
                dialog.paceMs = 0;
                const QModelIndex trip = dialog.model()->index(0, 0);
                dialog.model()->setData(dialog.model()->index(0, BackupTreeModel::ChapterColumn, trip),
                                        Qt::Checked, Qt::CheckStateRole);
                deleted = dialog.model()->tree().checkedPaths();
                dialog.btnOk_Click();
                while (dialog.isRunning())
                    QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
            };
            chooser->btnOk_Click();
        };
        BoxAccepter boxes;
        QAction *command = w.window->mainMenu()->action(MenuCommand::Delete);
        ASSERT_TRUE(command->isEnabled());
        command->trigger();

        ASSERT_EQ(deleted.size(), 1);
        EXPECT_TRUE(w.prompter.shown.contains(STOPWATCH_QUESTION))
            << w.prompter.shown.join('\n').toStdString();
        EXPECT_EQ(w.prompter.cancelFirst, QStringList{STOPWATCH_QUESTION.mid(9)}) << "Return keeps the laps";
        EXPECT_TRUE(
            boxes.texts.contains("A file in the backup folder is currently in use. Proceed with delete?"));
        EXPECT_EQ(QFileInfo::exists(deleted[0]), !agree);
        EXPECT_EQ(w.stopWatch()->model().status(), agree ? StopWatchStatus::Ready : StopWatchStatus::Start);
        if (agree)
            ASSERT_TRUE(EventLoop::waitUntil([&] { return w.opens == 2; }, std::chrono::seconds(30)))
                << "the source is opened again";
        EXPECT_EQ(w.opens, agree ? 2 : 1);
        ASSERT_TRUE(w.window->cardData());
        EXPECT_EQ(w.window->cardData()->_openSourcePath, w.source());
        EXPECT_EQ(w.chapters(), agree ? before - 1 : before);
        const int listed = w.window->videoListView()->model()->rowCount();
        EXPECT_GT(listed, 0) << "the source's trips are listed";
        if (!agree)
            EXPECT_EQ(listed, rows);
        ASSERT_TRUE(w.player()->valueInfo());
        EXPECT_FALSE(w.player()->valueInfo()->chapterDataList().empty()) << "a trip of the source is loaded";
        EXPECT_NE(w.player()->currentStatus(), PS::Play);
    }
}

TEST(WindowMaintenanceTest, EveryGuardedCommandsInUseWarningShowsWithTheFloatingWindowsLowered)
{
    Fixture f;
    f.startUpUntilShown();
    f.otherCopyRunning = true;
    f.window->coordinators()->stopWatch().showStopWatch();
    QWidget *floating = f.window->coordinators()->stopWatchWindow().window();
    ChildWindows &children = f.window->childWindows();
    ASSERT_TRUE(children.isTopMost(floating));
    std::vector<bool> floatingWhileShown;
    f.prompter.whileShown = [&] { floatingWhileShown.push_back(children.isTopMost(floating)); };
    const auto guarded = guardedCommands(f);
    for (const auto &[flag, command] : guarded) {
        SCOPED_TRACE(flag);
        f.settings.setFlag(flag, true);
        f.prompter.shown.clear();
        floatingWhileShown.clear();
        command();
        EXPECT_EQ(f.prompter.shown, QStringList{"warn: " + DialogInUseLock::inUseWarningText()});
        EXPECT_EQ(floatingWhileShown, std::vector<bool>{false});
        EXPECT_TRUE(children.isTopMost(floating)) << "floating again after it";
        EXPECT_TRUE(f.runs.empty());
        f.settings.setFlag(flag, false);
    }
}

TEST(WindowMaintenanceTest, AReadOnlySettingsFolderIsNamedNotAnotherRunningCopy)
{
    TempDir dir;
    const QString folder = dir.filePath("settings");
    QDir().mkpath(folder);
    std::optional<ReadOnlyFolder> locked;
    expectEveryGuardedCommandNamesItsLockFailure(folder, [&] { return locked.emplace(folder).active(); });
}

TEST(WindowMaintenanceTest, AFullSettingsFolderIsNamedNotAnotherRunningCopy)
{
    TempDir dir;
    SmallVolume volume(dir.filePath("settings"), 1);
    if (!volume.active())
        GTEST_SKIP() << volume.whyNot().toStdString();
    expectEveryGuardedCommandNamesItsLockFailure(volume.path(), [&] { return volume.leaveFree(0); });
}
