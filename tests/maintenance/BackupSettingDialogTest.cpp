#include "maintenance/BackupSettingDialog.h"
#include "maintenance/BackupTreeModel.h"
#include "maintenance/FileCopier.h"

#include "MaintenanceFakes.h"
#include "card/CardFixture.h"
#include "recording/UserDefaultUtil.h"

#include <QCoreApplication>
#include <QLineEdit>
#include <gtest/gtest.h>

namespace {
const QString kKey = "202405011200";

class FailingCopier : public FileCopier
{
public:
    Result copy(const QString &, const QString &) override { return {false, "injected"}; }
};

struct DialogRig
{
    DialogRig() : settings(dir.filePath("settings.ini"))
    {
        for (int i = 0; i < 3; ++i)
            f.addMovie(kKey, i + 1, 100000 + 60000 * uint32_t(i), 60 * i);
        f.write("MOVE/MOVE001/" + CardFixture::movieName(kKey, 1), QByteArray(1048576, 'a'));
        card = f.load(); // writes VREC_MOV_MNG.DAT (3 records)
        dialog = std::make_unique<BackupSettingDialog>(settings, host, prompter);
        dialog->cardData = card.get();
        dialog->pathBackup = dir.filePath("backups");
        QDir().mkpath(*dialog->pathBackup);
        dialog->setFinishPause(0);
        dialog->setupDialog();
    }
    void waitForEnd()
    {
        while (dialog->isRunning())
            QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    }
    TempDir dir;
    CardFixture f;
    std::unique_ptr<CardData> card;
    UserDefaultUtil settings;
    FakeMaintenanceHost host;
    FakeMaintenancePrompter prompter;
    std::unique_ptr<BackupSettingDialog> dialog;
};
} // namespace

TEST(BackupSettingDialogTest, SizeFollowsTheChecksAndOkChecksTheName)
{
    DialogRig rig;
    EXPECT_EQ(rig.dialog->sizeText(), "0.0 MB");
    const QModelIndex trip = rig.dialog->model()->index(0, 0);
    rig.dialog->model()->setData(rig.dialog->model()->index(0, BackupTreeModel::ChapterColumn, trip),
                                 Qt::Checked, Qt::CheckStateRole);
    EXPECT_EQ(rig.dialog->sizeText(), "1.0 MB"); // the chapter and the management file
    rig.dialog->btnCheckOff_Click();
    EXPECT_EQ(rig.dialog->sizeText(), "0.0 MB");

    rig.dialog->folderNameField()->setText("");
    rig.dialog->btnOk_Click();
    rig.dialog->folderNameField()->setText("ok");
    rig.dialog->btnOk_Click();
    EXPECT_EQ(rig.prompter.log,
              (QStringList{"warn:Please provide the folder name.", "warn:Chapter was not selected."}));
    EXPECT_EQ(rig.host.progress.starts, 0);

    bool closed = false;
    QObject::connect(rig.dialog.get(), &BackupSettingDialog::closeRequested, [&] { closed = true; });
    rig.settings.setFlag(UserDefaultUtil::KEY_BACKUP_SETTING_FLG, true);
    rig.dialog->btnCancel_Click();
    EXPECT_TRUE(closed);
    EXPECT_FALSE(rig.settings.flag(UserDefaultUtil::KEY_BACKUP_SETTING_FLG));
}

TEST(BackupSettingDialogTest, BackupRunsAsksBeforeCopyingIntoAnExistingFolderAndReportsFailures)
{
    DialogRig rig;
    rig.settings.setFlag(UserDefaultUtil::KEY_BACKUP_SETTING_FLG, true);
    rig.dialog->folderNameField()->setText("bk");
    rig.dialog->btnCheckOn_Click();
    rig.dialog->btnOk_Click();
    rig.waitForEnd();
    EXPECT_EQ(rig.host.progress.finished, QStringList{"Save completed."});
    EXPECT_FALSE(rig.settings.flag(UserDefaultUtil::KEY_BACKUP_SETTING_FLG));
    EXPECT_EQ(QDir(rig.dir.filePath("backups/bk/MOVE001")).entryList(QDir::Files).size(), 3);
    EXPECT_TRUE(QFileInfo::exists(rig.dir.filePath("backups/bk/VREC_MOV_MNG.DAT")));

    rig.prompter.confirmAnswers = {false};
    rig.dialog->btnOk_Click();
    EXPECT_EQ(rig.host.progress.starts, 1);

    rig.dialog->setCopier(std::make_shared<FailingCopier>());
    rig.prompter.log.clear();
    rig.dialog->btnOk_Click(); // "OK" to the overwrite question
    rig.waitForEnd();
    EXPECT_EQ(rig.prompter.log,
              (QStringList{"confirm:The folder already exists at the selected destination. Would "
                           "you like to overwrite?",
                           "warn:Unable to copy the file."}));
    EXPECT_EQ(rig.host.progress.finished, (QStringList{"Save completed.", "Backup cancelled."}));
    EXPECT_EQ(QDir(rig.dir.filePath("backups/bk/MOVE001")).entryList(QDir::Files).size(), 3);
}
