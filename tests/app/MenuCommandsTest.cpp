#include "app/MenuCommands.h"
#include "app/CardDriveSelectDialog.h"
#include "app/ModalRunner.h"
#include "app/VolumeLister.h"
#include "card/CardData.h"
#include "maintenance/BackUpFolderSelectDialog.h"
#include "recording/SettingInfo.h"
#include "recording/UserDefaultUtil.h"
#include "support/TempDir.h"

#include "../maintenance/FakePrompts.h"
#include "../maintenance/MaintenanceFakes.h"
#include "AppFakes.h"

#include <QDir>
#include <QFile>
#include <gtest/gtest.h>

using PS = CommonConst::PlayStatus;

namespace {
struct Harness : ModalRunner
{
    explicit Harness(bool otherCopy)
        : settings(dir.filePath("s.ini")), lock(settings, [otherCopy] { return otherCopy; }),
          commands({settings,
                    prompter,
                    maintenancePrompter,
                    host,
                    *this,
                    player,
                    lock,
                    nullptr,
                    [this] { return &card; },
                    {},
                    [this](const QString &start, const QString &) {
                        log << "chooser " + start;
                        return chosen;
                    },
                    [this](bool on) { log << (on ? "raise" : "lower"); },
                    &volumes,
                    [this] {
                        log << "confirm";
                        return mayReset;
                    }})
    {
        root = dir.filePath("backups #1");
        QDir().mkpath(root + "/20240501120000");
        settings.setValue(UserDefaultUtil::KEY_PATH_BACKUP, root);
    }
    void run(ModalWindow::Type type, QWidget *view, const QString &title, std::optional<QSize> size) override
    {
        log << QStringLiteral("run %1 %2 %3x%4")
                   .arg(int(type))
                   .arg(title)
                   .arg(size ? size->width() : 0)
                   .arg(size ? size->height() : 0);
        if (settings.flag(UserDefaultUtil::KEY_CAMERA_SETTING_FLG))
            log << "holds camera";
        if (auto *drives = qobject_cast<CardDriveSelectDialog *>(view)) {
            log << "drives " + drives->cardDriveName().join(',');
            if (onDrives)
                onDrives(*drives);
        }
        if (auto *chooser = qobject_cast<BackUpFolderSelectDialog *>(view))
            log << "source " + (chooser->openSourcePath ? chooser->openSourcePath->toLocalFile() : "none");
        for (const char *key :
             {UserDefaultUtil::KEY_BACKUP_SETTING_FLG, UserDefaultUtil::KEY_BACKUP_DELETE_FLG})
            if (settings.flag(key))
                log << QStringLiteral("holds %1").arg(key);
    }

    TempDir dir;
    QString root;
    UserDefaultUtil settings;
    FakePrompter prompter;
    FakeMaintenancePrompter maintenancePrompter;
    FakeMaintenanceHost host;
    FakePlayback player;
    CardData card;
    DialogInUseLock lock;
    std::optional<QString> chosen;
    QStringList log;
    FakeVolumes volumes;
    bool mayReset = true;
    std::function<void(CardDriveSelectDialog &)> onDrives;
    MenuCommands commands;
};

QByteArray setinf(std::vector<uint8_t> fileInfo)
{
    QByteArray bytes(24, '\0');
    bytes[8] = 1;
    const uint8_t code[] = {0x00, 0x01};
    const SettingInfo::Bytes item = SettingInfo::createItem(code, fileInfo);
    bytes.append(reinterpret_cast<const char *>(item.data()), qsizetype(item.size()));
    return bytes;
}

const char *const IN_USE =
    "warn: The selected file operation is currently in use by another instance of the application.";
} // namespace

TEST(MenuCommandsTest, EachCommandPausesAReadyPlayerAndReleasesItsFlagWhenTheRunReturns)
{
    struct Row
    {
        const char *key;
        std::function<void(MenuCommands &)> command;
        QString run;
    };
    const Row rows[] = {
        {UserDefaultUtil::KEY_BACKUP_SETTING_FLG, [](MenuCommands &c) { c.showBackupSettingDialog(); },
         "run 5 Select backup folder 0x0"},
        {UserDefaultUtil::KEY_BACKUP_DELETE_FLG, [](MenuCommands &c) { c.showCleanupDialog(); },
         "run 3 Select Folder to delete 336x188"},
    };
    for (const Row &row : rows) {
        for (const PS status : {PS::Play, PS::Pause, PS::NotReady}) {
            Harness h(false);
            h.player.status = status;
            h.card._openSourcePath = QUrl::fromLocalFile("/media/card/MOVE/");
            h.settings.setFlag(row.key, true); // stale: no other copy runs
            row.command(h.commands);
            EXPECT_EQ(h.player.calls, status == PS::NotReady ? QStringList{} : QStringList{"pause"});
            ASSERT_GE(h.log.size(), 2) << row.key;
            EXPECT_EQ(h.log[0], row.run);
            EXPECT_TRUE(h.log.contains(QStringLiteral("holds %1").arg(row.key)))
                << h.log.join('|').toStdString();
            if (row.key == std::string(UserDefaultUtil::KEY_BACKUP_DELETE_FLG))
                EXPECT_EQ(h.log[1], status == PS::NotReady ? "source none" : "source /media/card/MOVE/");
            EXPECT_FALSE(h.settings.flag(row.key)) << "released after the run";
            EXPECT_TRUE(h.prompter.shown.isEmpty());
        }
    }
}

TEST(MenuCommandsTest, AFlagHeldByAnotherCopyRefusesTheCommandAndStaysSet)
{
    const std::pair<const char *, std::function<void(MenuCommands &)>> rows[] = {
        {UserDefaultUtil::KEY_BACKUP_SETTING_FLG, [](MenuCommands &c) { c.showBackupSettingDialog(); }},
        {UserDefaultUtil::KEY_BACKUP_DELETE_FLG, [](MenuCommands &c) { c.showCleanupDialog(); }},
        {UserDefaultUtil::KEY_BACKUP_DIRECTORY_SETTING_FLG,
         [](MenuCommands &c) { c.selectBackupDirectory(); }},
    };
    for (const auto &[key, command] : rows) {
        Harness h(true);
        h.settings.setFlag(key, true);
        command(h.commands);
        EXPECT_EQ(h.prompter.shown, QStringList{IN_USE}) << key;
        EXPECT_EQ(h.log, (QStringList{"lower", "raise"})) << key;
        EXPECT_TRUE(h.settings.flag(key));
    }
}

TEST(MenuCommandsTest, DeleteWithoutBackupFoldersWarnsAndFreesTheFlag)
{
    Harness h(true);
    QDir(h.root + "/20240501120000").removeRecursively();
    h.commands.showCleanupDialog();
    EXPECT_EQ(h.prompter.shown, QStringList{"warn: Unable to locate the file."});
    EXPECT_FALSE(h.settings.flag(UserDefaultUtil::KEY_BACKUP_DELETE_FLG));
}

TEST(MenuCommandsTest, TheBackupChooserStartsAtTheStoredLocalPathAndStoresThePathChosen)
{
    struct Row
    {
        bool storedExists;
        std::optional<QString> chosen;
    };
    for (const Row &row : {Row{true, "/srv/backups new #2"}, Row{false, std::nullopt}}) {
        Harness h(false);
        if (!row.storedExists)
            QDir(h.root).removeRecursively();
        h.chosen = row.chosen;
        h.commands.selectBackupDirectory();
        const QString start = row.storedExists ? h.root : UserDefaultUtil::documentsPath();
        EXPECT_EQ(h.log, (QStringList{"lower", "chooser " + start, "raise"}));
        EXPECT_EQ(h.settings.value(UserDefaultUtil::KEY_PATH_BACKUP).toString(), row.chosen.value_or(h.root));
        EXPECT_FALSE(h.settings.flag(UserDefaultUtil::KEY_BACKUP_DIRECTORY_SETTING_FLG));
    }
}

TEST(MenuCommandsTest, CameraSettingsOpenAfterAWarningWhenTheSetupFileIsMissingOrForeign)
{
    const std::pair<std::optional<QByteArray>, bool> rows[] = {{std::nullopt, true},
                                                               {setinf({0x07, 0x14}), false},
                                                               {setinf({0x07, 0x15}), true},
                                                               {QByteArray(), true}};
    for (const auto &[file, warned] : rows) {
        Harness h(false);
        const QString card = h.dir.filePath("card");
        QDir().mkpath(card);
        if (file) {
            QFile out(card + "/SETINF.DAT");
            ASSERT_TRUE(out.open(QIODevice::WriteOnly));
            out.write(*file);
        }
        h.commands.openCameraSetting(card);
        EXPECT_EQ(h.prompter.shown,
                  warned ? QStringList{"warn: Unable to read the setup file."} : QStringList{});
        EXPECT_TRUE(h.log.contains("run 2 Camera Settings 590x631")) << h.log.join('|').toStdString();
    }
}

TEST(MenuCommandsTest, CameraSettingsFirstOfferTheRemovableDrivesAndOpenTheChosenCardsSettings)
{
    const QString drives = "run 2 Selection of Card Drive 335x188|holds camera|drives CAMERA_SD";
    struct Row
    {
        bool removable, mayReset, pressOk;
        QString log, alert, stored;
    };
    const Row rows[] = {
        {false, true, true, "lower|raise", "Unable to locate the selected drive.", ""},
        {true, true, false, drives, "", ""},
        // The settings are read from the drive's root, not from its recordings folder.
        {true, true, true, drives + "|confirm|run 2 Camera Settings 590x631|holds camera", "", "CAMERA_SD"},
        {true, false, true, drives + "|confirm", "", ""}, // the stopwatch measurement kept
    };
    for (const Row &row : rows) {
        Harness h(false);
        h.player.status = PS::Play;
        const QString card = h.dir.filePath("CAMERA_SD");
        QDir().mkpath(card + "/MOVE");
        QFile out(card + "/SETINF.DAT");
        ASSERT_TRUE(out.open(QIODevice::WriteOnly));
        out.write(setinf({0x07, 0x14}));
        out.close();
        h.volumes.volumes = {{"/", false}, {card, row.removable}};
        h.mayReset = row.mayReset;
        h.onDrives = [&row](CardDriveSelectDialog &d) {
            row.pressOk ? d.btnOk_Click() : d.btnCancel_Click();
        };
        h.commands.showCameraSettingDialog();
        EXPECT_EQ(h.player.calls, QStringList{"pause"});
        EXPECT_EQ(h.log.join('|'), row.log);
        EXPECT_EQ(h.prompter.shown.join(""), row.alert.isEmpty() ? "" : "warn: " + row.alert)
            << row.log.toStdString();
        EXPECT_FALSE(h.settings.flag(UserDefaultUtil::KEY_CAMERA_SETTING_FLG)) << row.log.toStdString();
        EXPECT_EQ(h.settings.value("bodyCardDriveSelect").toString(), row.stored) << row.log.toStdString();
        EXPECT_TRUE(h.settings.value(UserDefaultUtil::KEY_CARD_DRIVE_SELECT).isNull());
    }
}
