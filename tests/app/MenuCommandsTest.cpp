#include "app/MenuCommands.h"
#include "app/CardDriveSelectDialog.h"
#include "app/DialogInUseLock.h"
#include "app/ModalRunner.h"
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
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>
#include <gtest/gtest.h>
#include <unistd.h>

using PS = CommonConst::PlayStatus;
using UD = UserDefaultUtil;

namespace {
// The commands with every service faked; as their modal runner it logs each run and the flags held in it.
struct Harness : ModalRunner
{
    explicit Harness(bool otherCopy)
        : settings(dir.filePath("s.ini")), lock(settings, [otherCopy] { return otherCopy; }),
          commands(
              {settings,
               prompter,
               maintenancePrompter,
               host,
               *this,
               player,
               lock,
               nullptr,
               [this] { return &card; },
               {},
               [this](const QString &start, const QString &) { return log << "chooser " + start, chosen; },
               [this](bool on) { log << (on ? "raise" : "lower"); },
               &volumes,
               [this] { return log << "confirm", mayReset; }})
    {
        QDir().mkpath(root + "/20240501120000");
        settings.setValue(UD::KEY_PATH_BACKUP, root);
    }
    void run(ModalWindow::Type type, QWidget *view, const QString &title, std::optional<QSize> size) override
    {
        const QSize s = size.value_or(QSize(0, 0));
        log << QStringLiteral("run %1 %2 %3x%4").arg(int(type)).arg(title).arg(s.width()).arg(s.height());
        if (settings.flag(UD::KEY_CAMERA_SETTING_FLG))
            log << "holds camera";
        if (auto *drives = qobject_cast<CardDriveSelectDialog *>(view)) {
            log << "drives " + drives->cardDriveName().join(',');
            pressOk ? drives->btnOk_Click() : drives->btnCancel_Click();
        }
        if (auto *chooser = qobject_cast<BackUpFolderSelectDialog *>(view))
            log << "source " + (chooser->openSourcePath ? chooser->openSourcePath->toLocalFile() : "none");
        for (const char *key : {UD::KEY_BACKUP_SETTING_FLG, UD::KEY_BACKUP_DELETE_FLG})
            if (settings.flag(key))
                log << QStringLiteral("holds %1").arg(key);
    }

    TempDir dir;
    QString root = dir.filePath("backups #1");
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
    bool pressOk = false; // on the drive choice
    MenuCommands commands;
};

// A card folder with a SETINF.DAT whose file-information item holds the given version bytes.
QString cardWithSetup(const QString &card, std::optional<std::vector<uint8_t>> version)
{
    QDir().mkpath(card + "/MOVE");
    if (version) {
        QByteArray bytes(24, '\0');
        bytes[8] = 1;
        const uint8_t code[] = {0x00, 0x01};
        const SettingInfo::Bytes item = SettingInfo::createItem(code, *version);
        bytes.append(reinterpret_cast<const char *>(item.data()), qsizetype(item.size()));
        QFile out(card + "/SETINF.DAT");
        EXPECT_TRUE(out.open(QIODevice::WriteOnly) &&
                    out.write(version->empty() ? QByteArray() : bytes) >= 0);
    }
    return card;
}

const std::pair<const char *, void (MenuCommands::*)()> FLAGGED[] = {
    {UD::KEY_BACKUP_SETTING_FLG, &MenuCommands::showBackupSettingDialog},
    {UD::KEY_BACKUP_DELETE_FLG, &MenuCommands::showCleanupDialog},
    {UD::KEY_BACKUP_DIRECTORY_SETTING_FLG, &MenuCommands::selectBackupDirectory},
};
const QString LOCK_KEY = QString::fromLatin1(UD::KEY_BACKUP_SETTING_FLG);
} // namespace

TEST(MenuCommandsTest, EachCommandPausesAReadyPlayerAndReleasesItsFlagWhenTheRunReturns)
{
    const QString runs[] = {"run 5 Select backup folder 0x0", "run 3 Select Folder to delete 336x188"};
    for (int i = 0; i < 2; ++i) {
        const auto &[key, command] = FLAGGED[i];
        for (const PS status : {PS::Play, PS::Pause, PS::NotReady}) {
            Harness h(false);
            h.player.status = status;
            h.card._openSourcePath = QUrl::fromLocalFile("/media/card/MOVE/");
            h.settings.setFlag(key, true); // stale: no other copy runs
            (h.commands.*command)();
            EXPECT_EQ(h.player.calls, status == PS::NotReady ? QStringList{} : QStringList{"pause"});
            ASSERT_GE(h.log.size(), 2) << key;
            EXPECT_EQ(h.log[0], runs[i]);
            EXPECT_TRUE(h.log.contains(QStringLiteral("holds %1").arg(key))) << h.log.join('|').toStdString();
            if (i == 1) {
                EXPECT_EQ(h.log[1], status == PS::NotReady ? "source none" : "source /media/card/MOVE/");
            }
            EXPECT_FALSE(h.settings.flag(key)) << "released after the run";
            EXPECT_TRUE(h.prompter.shown.isEmpty());
        }
    }
}

TEST(MenuCommandsTest, AFlagHeldByAnotherCopyRefusesTheCommandAndStaysSetAndAWarningFreesTheFlag)
{
    for (const auto &[key, command] : FLAGGED) {
        Harness h(true);
        h.settings.setFlag(key, true);
        (h.commands.*command)();
        EXPECT_EQ(
            h.prompter.shown,
            QStringList{"warn: The selected file operation is currently in use by another instance of the "
                        "application."})
            << key;
        EXPECT_EQ(h.log, (QStringList{"lower", "raise"})) << key;
        EXPECT_TRUE(h.settings.flag(key));
    }
    // Delete without backup folders warns and frees its flag.
    Harness h(true);
    QDir(h.root + "/20240501120000").removeRecursively();
    h.commands.showCleanupDialog();
    EXPECT_EQ(h.prompter.shown, QStringList{"warn: Unable to locate the file."});
    EXPECT_FALSE(h.settings.flag(UD::KEY_BACKUP_DELETE_FLG));
}

TEST(MenuCommandsTest, TheBackupChooserStartsAtTheStoredLocalPathAndStoresThePathChosen)
{
    for (const bool storedExists : {true, false}) {
        Harness h(false);
        if (!storedExists)
            QDir(h.root).removeRecursively();
        h.chosen = storedExists ? std::optional<QString>("/srv/backups new #2") : std::nullopt;
        h.commands.selectBackupDirectory();
        const QString start = storedExists ? h.root : UD::documentsPath();
        EXPECT_EQ(h.log, (QStringList{"lower", "chooser " + start, "raise"}));
        EXPECT_EQ(h.settings.value(UD::KEY_PATH_BACKUP).toString(), h.chosen.value_or(h.root));
        EXPECT_FALSE(h.settings.flag(UD::KEY_BACKUP_DIRECTORY_SETTING_FLG));
    }
}

TEST(MenuCommandsTest, CameraSettingsOpenAfterAWarningWhenTheSetupFileIsMissingOrForeign)
{
    using V = std::vector<uint8_t>;
    // No file, this version, another version, an empty file.
    const std::pair<std::optional<V>, bool> rows[] = {
        {std::nullopt, true}, {V{0x07, 0x14}, false}, {V{0x07, 0x15}, true}, {V{}, true}};
    for (const auto &[version, warned] : rows) {
        Harness h(false);
        h.commands.openCameraSetting(cardWithSetup(h.dir.filePath("card"), version));
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
        {false, true, true, "lower|raise", "warn: Unable to locate the selected drive.", ""},
        {true, true, false, drives, "", ""},
        // The settings are read from the drive's root, not from its recordings folder.
        {true, true, true, drives + "|confirm|run 2 Camera Settings 590x631|holds camera", "", "CAMERA_SD"},
        {true, false, true, drives + "|confirm", "", ""}, // the stopwatch measurement kept
    };
    for (const Row &row : rows) {
        SCOPED_TRACE(row.log.toStdString());
        Harness h(false);
        h.player.status = PS::Play;
        h.volumes.volumes = {{"/", false},
                             {cardWithSetup(h.dir.filePath("CAMERA_SD"), {{0x07, 0x14}}), row.removable}};
        h.mayReset = row.mayReset;
        h.pressOk = row.pressOk;
        h.commands.showCameraSettingDialog();
        EXPECT_EQ(h.player.calls, QStringList{"pause"});
        EXPECT_EQ(h.log.join('|'), row.log);
        EXPECT_EQ(h.prompter.shown.join(""), row.alert);
        EXPECT_FALSE(h.settings.flag(UD::KEY_CAMERA_SETTING_FLG));
        EXPECT_EQ(h.settings.value("bodyCardDriveSelect").toString(), row.stored);
        EXPECT_TRUE(h.settings.value(UD::KEY_CARD_DRIVE_SELECT).isNull());
    }
}

TEST(DialogInUseLockTest, AFlagHeldByAnotherCopyRefusesAndIsLeftAlone)
{
    TempDir dir;
    UserDefaultUtil store(dir.filePath("s.conf"));
    // Two copies share one store: the first holds the dialog, the second is refused.
    UserDefaultUtil other(dir.filePath("s.conf"));
    DialogInUseLock first(store, [] { return true; });
    DialogInUseLock second(other, [] { return true; });
    DialogInUseLock::Hold held = first.acquire(LOCK_KEY);
    ASSERT_TRUE(held);
    EXPECT_FALSE(second.acquire(LOCK_KEY));
    EXPECT_TRUE(store.flag(LOCK_KEY));
    held.release();
    EXPECT_TRUE(second.acquire(LOCK_KEY)) << "free again once the first copy's dialog has closed";
}

TEST(DialogInUseLockTest, ProcessScanFindsOnlyOtherProcessesOfTheSameExecutable)
{
    // A program of our own, so that no other process on the machine runs the same file.
    TempDir dir;
    const QString copyPath = dir.filePath("orv-copy");
    ASSERT_TRUE(QFile::copy(QStandardPaths::findExecutable(QStringLiteral("sleep")), copyPath));
    QFile::setPermissions(copyPath, QFile::ReadOwner | QFile::ExeOwner);
    const QString exe = QFileInfo(copyPath).canonicalFilePath();
    QProcess copy;
    copy.start(exe, {QStringLiteral("30")});
    ASSERT_TRUE(copy.waitForStarted());
    EXPECT_TRUE(DialogInUseLock::isOtherProcessRunning(exe, ::getpid()));
    EXPECT_FALSE(DialogInUseLock::isOtherProcessRunning(exe, copy.processId()))
        << "the asking process itself does not count";
    EXPECT_FALSE(DialogInUseLock::isOtherProcessRunning(exe + QStringLiteral("-elsewhere"), ::getpid()))
        << "a copy started from another place is another program";

    UserDefaultUtil store(dir.filePath("s.conf"));
    store.setFlag(LOCK_KEY, true);
    DialogInUseLock lock(store, [&] { return DialogInUseLock::isOtherProcessRunning(exe, ::getpid()); });
    EXPECT_FALSE(lock.acquire(LOCK_KEY)) << "with another copy running the flag is not stale";
    copy.kill();
    copy.waitForFinished();
    EXPECT_TRUE(lock.acquire(LOCK_KEY));
}
