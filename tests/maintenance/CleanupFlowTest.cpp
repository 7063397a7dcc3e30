#include "maintenance/BackUpFolderSelectDialog.h"
#include "maintenance/BackupTreeModel.h"
#include "maintenance/CleanupDialog.h"
#include "maintenance/CleanupRules.h"

#include "MaintenanceFakes.h"
#include "card/CardFixture.h"
#include "recording/UserDefaultUtil.h"

#include <QComboBox>
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
