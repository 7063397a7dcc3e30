#include "app/MenuCommands.h"

#include "app/CardDriveSelectDialog.h"
#include "app/CardDriveSelectDialogDelegate.h"
#include "app/ModalRunner.h"
#include "app/PlaybackControl.h"
#include "app/VolumeLister.h"
#include "card/CardData.h"
#include "maintenance/BackUpFolderSelectDialog.h"
#include "maintenance/BackupSettingDialog.h"
#include "maintenance/CameraSettingDialog.h"
#include "maintenance/MessagePrompter.h"
#include "recording/FileUtil.h"
#include "recording/SettingInfo.h"
#include "recording/UserDefaultUtil.h"

#include <QDir>
#include <QFileInfo>

namespace {
// The camera settings' card drive, remembered apart from the one opened for recordings.
constexpr const char *KEY_BODY_CARD_DRIVE_SELECT = "bodyCardDriveSelect";

// The card drive selection's OK, in camera-setting mode: the chosen drive's root (not its recordings
// folder) goes to the camera settings.
class CameraDriveChoice : public CardDriveSelectDialogDelegate
{
public:
    CameraDriveChoice(MenuCommands &commands, const CardDriveSelectDialog &dialog,
                      std::function<bool()> confirm)
        : _commands(commands), _dialog(dialog), _confirm(std::move(confirm))
    {
    }
    void openCardDrivePath(const QString &) override { _commands.openCameraSetting(_dialog.dirPathCard()); }
    bool confirmStopWatchReset() override { return !_confirm || _confirm(); }

private:
    MenuCommands &_commands;
    const CardDriveSelectDialog &_dialog;
    std::function<bool()> _confirm;
};
} // namespace

MenuCommands::MenuCommands(Services services, QObject *parent) : QObject(parent), _s(std::move(services)) {}

DialogInUseLock::Hold MenuCommands::pauseAndAcquire(const char *key)
{
    if (_s.player.readyStatus() != CommonConst::PlayStatus::NotReady)
        _s.player.pauseMovie();
    DialogInUseLock::Hold hold = _s.lock.acquire(QString::fromLatin1(key));
    if (!hold)
        warn(hold.refusal().text, hold.refusal().cause);
    return hold;
}

void MenuCommands::warn(const QString &text, const QString &cause)
{
    if (_s.setChildWindowsTopMost)
        _s.setChildWindowsTopMost(false);
    _s.prompter.warn(_s.window, text, cause);
    if (_s.setChildWindowsTopMost)
        _s.setChildWindowsTopMost(true);
}

void MenuCommands::showBackupSettingDialog()
{
    const DialogInUseLock::Hold hold = pauseAndAcquire(UserDefaultUtil::KEY_BACKUP_SETTING_FLG);
    if (!hold)
        return;
    _s.settings.load();
    BackupSettingDialog dialog(_s.settings, _s.host, _s.maintenancePrompter);
    dialog.cardData = _s.cardData();
    dialog.pathBackup = _s.settings.pathBackup;
    dialog.playChapter = _s.playChapter ? _s.playChapter() : nullptr;
    dialog.setupDialog();
    _s.runner.run(ModalWindow::Type::BackupSetting, &dialog, tr("Select backup folder"));
}

void MenuCommands::showCleanupDialog()
{
    const DialogInUseLock::Hold hold = pauseAndAcquire(UserDefaultUtil::KEY_BACKUP_DELETE_FLG);
    if (!hold)
        return;
    // Whether a recording is loaded, asked before the dialog can change anything.
    const bool loaded = _s.player.readyStatus() != CommonConst::PlayStatus::NotReady;
    _s.settings.load();
    BackUpFolderSelectDialog dialog(_s.settings, &_s.host, _s.maintenancePrompter);
    dialog.mode = BackUpFolderSelectDialog::Mode::Cleanup;
    CardData *card = _s.cardData();
    if (loaded && card && card->_openSourcePath)
        dialog.openSourcePath = card->_openSourcePath;
    dialog.setupDialog();
    if (dialog.backupFolders().isEmpty()) {
        warn(tr("Unable to locate the file."));
        return;
    }
    _s.runner.run(ModalWindow::Type::BackupDelete, &dialog, tr("Select Folder to delete"), QSize(336, 188));
}

QString MenuCommands::backupChooserStart(const QString &storedPath)
{
    // The stored setting is a plain local path (a path with blanks or "#" is no URL).
    if (!storedPath.isEmpty() && QFileInfo(storedPath).isDir())
        return storedPath;
    return UserDefaultUtil::documentsPath();
}

void MenuCommands::selectBackupDirectory()
{
    const DialogInUseLock::Hold hold = pauseAndAcquire(UserDefaultUtil::KEY_BACKUP_DIRECTORY_SETTING_FLG);
    if (!hold)
        return;
    _s.settings.load();
    const QString start = backupChooserStart(_s.settings.pathBackup);
    if (_s.setChildWindowsTopMost)
        _s.setChildWindowsTopMost(false);
    const std::optional<QString> chosen = _s.chooseDirectory(start, tr("Select Back Up Directory"));
    if (_s.setChildWindowsTopMost)
        _s.setChildWindowsTopMost(true);
    if (!chosen || chosen->isEmpty())
        return;
    const QString path = QDir::cleanPath(*chosen);
    _s.settings.pathBackup = path;
    _s.settings.setValue(QString::fromLatin1(UserDefaultUtil::KEY_PATH_BACKUP), path);
}

void MenuCommands::showCameraSettingDialog()
{
    const DialogInUseLock::Hold hold = pauseAndAcquire(UserDefaultUtil::KEY_CAMERA_SETTING_FLG);
    if (!hold)
        return;
    if (!_s.volumes || _s.volumes->removablePaths().isEmpty()) {
        warn(tr("Unable to locate the selected drive."));
        return;
    }
    CardDriveSelectDialog dialog(_s.settings, *_s.volumes);
    CameraDriveChoice choice(*this, dialog, _s.confirmStopWatchReset);
    dialog.delegate = &choice;
    dialog.userDefaultsKey = QString::fromLatin1(KEY_BODY_CARD_DRIVE_SELECT);
    dialog.selectCardDriveType = CardDriveSelectDialog::CardDriveType::CameraSetting;
    dialog.loadDriveList();
    // The camera settings dialog runs inside this run, from the OK button.
    _s.runner.run(ModalWindow::Type::CameraSetting, &dialog, tr("Selection of Card Drive"), QSize(335, 188));
}

void MenuCommands::openCameraSetting(const QString &cardRoot)
{
    const QString path = FileUtil::appendPath(cardRoot, QStringLiteral("SETINF.DAT"));
    std::optional<SettingInfo> settingInfo;
    if (QFileInfo(path).isFile()) {
        SettingInfo loaded;
        loaded.Load_SETINF(path);
        // Only a file of this camera's format is shown; reading empties the item first, so a file
        // without it differs too.
        if (loaded._fileInfo == SettingInfo()._fileInfo)
            settingInfo = std::move(loaded);
    }
    if (!settingInfo)
        warn(tr("Unable to read the setup file."));
    CameraSettingDialog dialog(_s.prompter);
    dialog.setSettingInfo(std::move(settingInfo));
    dialog.setupDialog();
    dialog.setDefaultDirPath(cardRoot);
    _s.runner.run(ModalWindow::Type::CameraSetting, &dialog, tr("Camera Settings"), QSize(590, 631));
}
