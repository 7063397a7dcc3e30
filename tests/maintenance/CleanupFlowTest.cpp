// Cleaning up backups: the folder chooser and the cleanup dialog, then the delete run and its guarded
// remover.
#include "maintenance/BackUpFolderSelectDialog.h"
#include "maintenance/BackupTreeModel.h"
#include "maintenance/CleanupDialog.h"
#include "maintenance/CleanupRules.h"
#include "maintenance/DeleteRun.h"
#include "maintenance/GuardedRemover.h"
#include "maintenance/MaintenanceMessageBoxes.h"
#include "maintenance/MessageBoxPrompter.h"

#include "MaintenanceFakes.h"
#include "card/CardFixture.h"
#include "recording/UserDefaultUtil.h"
#include "support/ModalAnswerer.h"

#include <QCoreApplication>
#include <gtest/gtest.h>

namespace {
const QString kKey = "202405011200";

// A backup root holding the backup folder "bk" (a trip of three chapters) and the given other entries.
struct FlowRig
{
    FlowRig() : settings(dir.filePath("settings.ini"))
    {
        for (int i = 0; i < 3; ++i)
            f.addMovie(kKey, i + 1, 100000 + 60000 * uint32_t(i), 60 * i);
        f.load();
        QDir().mkpath(dir.filePath("root"));
        QDir().rename(f.root(), dir.filePath("root/bk"));
        settings.setValue(UserDefaultUtil::KEY_PATH_BACKUP, dir.filePath("root"));
        chooser = std::make_unique<BackUpFolderSelectDialog>(settings, &host, prompter);
    }
    QString bk(const QString &name = {}) const
    {
        return dir.filePath("root/bk") + (name.isEmpty() ? "" : "/" + name);
    }

    TempDir dir;
    CardFixture f;
    UserDefaultUtil settings;
    FakeMaintenanceHost host;
    FakeMaintenancePrompter prompter;
    std::unique_ptr<BackUpFolderSelectDialog> chooser;
};

// Runs a delete to its end and answers whether it ended cancelled.
bool runToEnd(std::unique_ptr<GuardedRemover> remover, const QString &folder, bool whole,
              const QStringList &files, FakeMaintenancePrompter &prompter, ProgressLog &log,
              DeleteRun::Settings settings)
{
    FakeMaintenanceProgress progress(log);
    DeleteRun run(std::move(remover), folder, whole, files, prompter, progress, settings);
    std::optional<bool> cancelled;
    QObject::connect(&run, &DeleteRun::finished, [&](bool c) { cancelled = c; });
    run.start();
    while (!cancelled)
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    return *cancelled;
}
} // namespace

TEST(CleanupFlowTest, ChooserListsFoldersAndKeepsTheDeleteFlagOfOtherFlows)
{
    FlowRig rig;
    for (const QString name : {"abc", "Abc", "1abc", ".hidden"})
        QDir().mkpath(rig.dir.filePath("root/" + name));
    rig.dir.write("root/plain.txt", "x");
    QFile::link(rig.bk(), rig.dir.filePath("root/zlink"));
    rig.chooser->setupDialog();
    EXPECT_EQ(rig.chooser->backupFolders(), (QStringList{"1abc", "Abc", "abc", "bk", "zlink"}));
    EXPECT_EQ(rig.chooser->messageText(), "Select backup folder");

    rig.settings.setFlag(UserDefaultUtil::KEY_BACKUP_DELETE_FLG, true);
    rig.chooser->btnCancel_Click();
    EXPECT_TRUE(rig.settings.flag(UserDefaultUtil::KEY_BACKUP_DELETE_FLG));
    rig.chooser->mode = BackUpFolderSelectDialog::Mode::Cleanup;
    rig.chooser->btnCancel_Click();
    EXPECT_FALSE(rig.settings.flag(UserDefaultUtil::KEY_BACKUP_DELETE_FLG));

    // Normal mode opens the chosen folder once the stopwatch may be dropped.
    rig.chooser->mode = BackUpFolderSelectDialog::Mode::Normal;
    rig.host.stopWatchAnswer = false;
    rig.chooser->btnOk_Click();
    rig.host.stopWatchAnswer = true;
    rig.chooser->btnOk_Click();
    EXPECT_EQ(rig.host.calls, (QStringList{"confirmStopWatchReset", "confirmStopWatchReset",
                                           "open:" + rig.dir.filePath("root/1abc")}));
}

// The folder open in the main window: its display is reset before anything goes, and it is opened again only
// while it still exists.
TEST(CleanupFlowTest, DeletingFromTheOpenSourceResetsTheDisplayAndReopensWhatIsLeft)
{
    for (const bool whole : {false, true}) {
        SCOPED_TRACE(whole);
        FlowRig rig;
        rig.chooser->mode = BackUpFolderSelectDialog::Mode::Cleanup;
        rig.chooser->openSourcePath = QUrl::fromLocalFile(rig.bk() + "/");
        rig.chooser->setupDialog();
        bool closed = false;
        rig.chooser->runCleanupWindow = [&](CleanupDialog &dialog) {
            dialog.paceMs = 0;
            QObject::connect(&dialog, &CleanupDialog::closeRequested, [&] { closed = true; });
            const QModelIndex trip = dialog.model()->index(0, 0);
            dialog.model()->setData(trip, Qt::Checked, Qt::CheckStateRole);
            if (!whole)
                dialog.model()->setData(dialog.model()->index(2, BackupTreeModel::ChapterColumn, trip),
                                        Qt::Unchecked, Qt::CheckStateRole);
            dialog.btnOk_Click();
            EXPECT_EQ(rig.host.calls, (QStringList{"confirmStopWatchReset", "resetDisplay"}));
            while (dialog.isRunning())
                QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
        };
        rig.chooser->btnOk_Click();

        const QString question =
            whole ? "confirm:This will delete the backup folder and all its contents. Are you sure?"
                  : "confirm:The selected chapter(s) will be deleted. Are you sure?";
        EXPECT_EQ(
            rig.prompter.log,
            (QStringList{question,
                         "confirm:A file in the backup folder is currently in use. Proceed with delete?"}));
        EXPECT_EQ(rig.host.progress.finished, QStringList{"Delete completed."});
        // A whole folder goes in one step, chapters one by one with a full-width percent sign.
        const QStringList labels = whole ? QStringList{"100%"} : QStringList{u"50％"_qs, u"100％"_qs};
        EXPECT_EQ(rig.host.progress.labels, labels);
        EXPECT_EQ(closed, whole);
        EXPECT_EQ(QFileInfo::exists(rig.bk()), !whole);
        EXPECT_EQ(QFileInfo::exists(rig.bk("VREC_MOV_MNG.DAT")), !whole);
        EXPECT_EQ(QFileInfo::exists(rig.bk("MOVE001/" + CardFixture::movieName(kKey, 3))), !whole);
        EXPECT_FALSE(QFileInfo::exists(rig.bk("MOVE001/" + CardFixture::movieName(kKey, 1))));
        EXPECT_EQ(rig.host.calls.size(), whole ? 2 : 3); // reopened only while the folder is there
        EXPECT_EQ(rig.chooser->backupFolders().size(), whole ? 0 : 1);
    }
}

TEST(CleanupFlowTest, NothingChosenOrAnsweredCancelDeletesNothing)
{
    FlowRig rig;
    CleanupDialog dialog(rig.settings, &rig.host, rig.prompter);
    dialog.backupRoot = rig.dir.filePath("root");
    dialog.cleanupDirPath = rig.bk();
    dialog.setupDialog();
    dialog.btnOk_Click();
    dialog.btnCheckOn_Click();
    rig.prompter.confirmAnswers = {false};
    dialog.btnOk_Click();
    EXPECT_EQ(rig.prompter.log.first(), "warn:Chapter was not selected.");
    EXPECT_EQ(rig.host.progress.starts, 0);
    EXPECT_EQ(QDir(rig.bk("MOVE001")).entryList(QDir::Files).size(), 3);
}

// A backup entry that is a link to a folder elsewhere: nothing is deleted through it, and the user is told
// why before the run ends cancelled.
TEST(CleanupFlowTest, ADeleteThroughALinkedEntryIsRefusedWithItsReason)
{
    for (const bool whole : {false, true}) {
        SCOPED_TRACE(whole);
        FlowRig rig;
        const QString elsewhere = rig.dir.filePath("elsewhere");
        const QString linked = rig.dir.filePath("root/linked");
        ASSERT_TRUE(QDir().rename(rig.bk(), elsewhere));
        ASSERT_TRUE(QFile::link(elsewhere, linked));
        CleanupDialog dialog(rig.settings, &rig.host, rig.prompter);
        dialog.backupRoot = rig.dir.filePath("root");
        dialog.cleanupDirPath = linked;
        dialog.paceMs = 0;
        dialog.setupDialog();
        dialog.btnCheckOn_Click();
        if (!whole) {
            const QModelIndex trip = dialog.model()->index(0, 0);
            dialog.model()->setData(dialog.model()->index(2, BackupTreeModel::ChapterColumn, trip),
                                    Qt::Unchecked, Qt::CheckStateRole);
        }
        dialog.btnOk_Click();
        while (dialog.isRunning())
            QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);

        ASSERT_EQ(rig.prompter.log.size(), 2) << rig.prompter.log.join('|').toStdString();
        EXPECT_EQ(rig.prompter.log[1],
                  "warn:The action can't be completed because the backup folder or a file in it is a link or "
                  "lies outside the backup directory. Nothing outside the backup directory is deleted.");
        EXPECT_EQ(rig.prompter.causes.last(), linked + " is a link to another place.");
        EXPECT_EQ(rig.host.progress.finished, QStringList{"Delete cancelled."});
        EXPECT_EQ(QDir(elsewhere + "/MOVE001").entryList(QDir::Files).size(), 3);
        EXPECT_TRUE(QFileInfo(linked).isSymLink());
    }
}

TEST(CleanupFlowTest, TheOpenSourceIsInUseWhateverTheCase)
{
    const std::pair<const char *, bool> cases[] = {
        {"/r/BK/", true},   {"/r/bk/MOVE001/m.MP4", true},   {"/r/Bk/MOVE001/", true}, {"/r/bk/m.MP4", true},
        {"/r/bk2/", false}, {"/r/bk2/MOVE001/m.MP4", false},
    };
    for (const auto &[path, inUse] : cases)
        EXPECT_EQ(CleanupRules::isInUse(QUrl::fromLocalFile(path), "/r/bk"), inUse) << path;
    EXPECT_FALSE(CleanupRules::isInUse(std::nullopt, "/r/bk"));
}

TEST(GuardedRemoverTest, RefusesAnythingButADirectChildOfTheRoot)
{
    TempDir dir;
    dir.write("root/bk/MOVE001/m1.MP4", "x");
    dir.write("root/bk2/sub/m2.MP4", "y");
    dir.write("outside/precious.MP4", "z");
    ASSERT_TRUE(QFile::link(dir.filePath("outside"), dir.filePath("root/out")));
    ASSERT_TRUE(QFile::link(dir.filePath("root/bk2"), dir.filePath("root/alias")));
    ASSERT_TRUE(QFile::link(dir.filePath("outside/precious.MP4"), dir.filePath("root/bk/link.MP4")));
    const GuardedRemover remover(dir.filePath("root"));
    QStringList refused{"root/bk", ""}; // relative or empty
    for (const char *name :
         {"root/..", "root", "root/", "root/.", "root/out", "root/alias", "root/bk2/sub", "outside"})
        refused << dir.filePath(name);
    for (const QString &path : refused) {
        SCOPED_TRACE(path.toStdString());
        EXPECT_TRUE(remover.refuseFolder(path));
        EXPECT_TRUE(remover.removeFolder(path) || !QFileInfo::exists(path));
    }
    // Files: only inside the named backup folder; a link inside goes, not what it points to.
    EXPECT_TRUE(remover.removeFile(dir.filePath("outside/precious.MP4"), dir.filePath("root/bk")));
    EXPECT_TRUE(remover.removeFile(dir.filePath("root/bk/MOVE001"), dir.filePath("root/bk")));
    EXPECT_FALSE(remover.removeFile(dir.filePath("root/bk/link.MP4"), dir.filePath("root/bk")));
    EXPECT_FALSE(remover.removeFolder(dir.filePath("root/bk2")));

    EXPECT_TRUE(QFileInfo::exists(dir.filePath("outside/precious.MP4")));
    EXPECT_TRUE(QFileInfo::exists(dir.filePath("root/bk/MOVE001/m1.MP4")));
    EXPECT_FALSE(QFileInfo::exists(dir.filePath("root/bk2")));
    EXPECT_FALSE(QFileInfo(dir.filePath("root/bk/link.MP4")).isSymLink());
}

// Removals that fail: the answers decide, and retrying has an end.
TEST(DeleteRunTest, FailedRemovalsFollowTheAnswerAndRetriesAreBounded)
{
    // Fails every removal of one path; for a folder it reports success but leaves the folder there.
    class StuckRemover : public GuardedRemover
    {
    public:
        StuckRemover(const QString &root, QString stuck) : GuardedRemover(root), _stuck(std::move(stuck)) {}
        std::optional<QString> removeFile(const QString &file, const QString &folder) const override
        {
            return file == _stuck ? std::optional<QString>("busy") : GuardedRemover::removeFile(file, folder);
        }
        std::optional<QString> removeFolder(const QString &folder) const override
        {
            return folder == _stuck ? std::nullopt : GuardedRemover::removeFolder(folder);
        }

    private:
        QString _stuck;
    };
    using A = MaintenancePrompter::RemoveAnswer;
    const struct
    {
        A answer;
        bool whole, cancelled;
        int prompts;
        bool secondRemoved;
    } cases[] = {{A::Ignore, false, false, 1, true},
                 {A::Cancel, false, true, 1, false},
                 {A::Retry, false, false, 4, true},
                 {A::Retry, true, false, 0, false}};
    for (const auto &c : cases) {
        SCOPED_TRACE(int(c.answer));
        TempDir dir;
        const QString stuck = dir.write("root/bk/A/m1.MP4", "x");
        const QString other = dir.write("root/bk/B/m2.MP4", "y");
        const QString folder = dir.filePath("root/bk");
        FakeMaintenancePrompter prompter;
        prompter.removeAnswer = c.answer;
        ProgressLog log;
        EXPECT_EQ(runToEnd(std::make_unique<StuckRemover>(dir.filePath("root"), c.whole ? folder : stuck),
                           folder, c.whole, {stuck, other}, prompter, log, {0, 4}),
                  c.cancelled);
        EXPECT_EQ(prompter.log.size(), c.prompts);
        for (const QString &cause : prompter.causes)
            EXPECT_EQ(cause, stuck + ": busy") << "the file and the system's reason";
        EXPECT_EQ(QFileInfo::exists(other), !c.secondRemoved);
        EXPECT_TRUE(QFileInfo::exists(stuck));
    }
}

// The alerts as the user sees them: the failure's own text stays the main text, its cause goes below.
TEST(MaintenanceAlertsTest, FailureBoxesShowTheCauseAsInformativeText)
{
    MessageBoxPrompter dialogs;
    MaintenanceMessageBoxes flows;
    const QString cause = "/media/card/MOVE/GROUP.DAT: Read-only file system";
    ModalAnswerer answerer;
    dialogs.warn(nullptr, "Unable to overwrite the setup file.", cause);
    flows.warn("Unable to copy the file.", cause);
    EXPECT_EQ(flows.askRemoveFailure(false, cause), MaintenancePrompter::RemoveAnswer::Cancel);
    dialogs.warn(nullptr, "Chapter was not selected.");
    ASSERT_EQ(answerer.boxes.size(), 4u);
    const QStringList texts{"Unable to overwrite the setup file.", "Unable to copy the file."};
    for (size_t i = 0; i < 3; ++i) {
        EXPECT_EQ(answerer.boxes[i].title, "Warning");
        EXPECT_EQ(answerer.boxes[i].informative, cause) << i;
    }
    EXPECT_EQ(answerer.boxes[0].text, texts[0]);
    EXPECT_EQ(answerer.boxes[1].text, texts[1]);
    EXPECT_TRUE(answerer.boxes[2].text.startsWith("The action can't be completed"));
    EXPECT_TRUE(answerer.boxes[3].informative.isEmpty()) << "no cause, no second line";
}
