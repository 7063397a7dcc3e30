// Picks one folder under the backup root: to open it like a card (Normal) or to delete from it (Cleanup,
// which opens the delete dialog on it).
#pragma once

#include <QStringList>
#include <QUrl>
#include <QWidget>
#include <functional>
#include <optional>

class CleanupDialog;
class MaintenanceHost;
class MaintenancePrompter;
class QComboBox;
class QLabel;
class UserDefaultUtil;

class BackUpFolderSelectDialog : public QWidget
{
    Q_OBJECT

public:
    enum class Mode
    {
        Normal = 0,
        Cleanup = 1
    };

    BackUpFolderSelectDialog(UserDefaultUtil &settings, MaintenanceHost *host, MaintenancePrompter &prompter,
                             QWidget *parent = nullptr);

    Mode mode = Mode::Normal;
    std::optional<QUrl> openSourcePath;
    // Runs the delete dialog's window until it closes; a modal window by default (tests drive it directly).
    std::function<void(CleanupDialog &)> runCleanupWindow;

    void setupDialog();
    const QStringList &backupFolders() const { return _backupFolders; }
    const QString &backupFolderPath() const { return _backupFolderPath; }
    QComboBox *folderBox() const { return _cmbBackupFolder; }
    QString messageText() const;

public slots:
    void btnOk_Click();
    void btnCancel_Click();
    // A delete run ended: the list is read again from the disk.
    void reloadBackupFolders();

signals:
    void closeRequested();

private:
    void runCleanupInWindow(CleanupDialog &dialog);

    UserDefaultUtil &_settings;
    MaintenanceHost *_host;
    MaintenancePrompter &_prompter;
    QLabel *_txtMessage;
    QComboBox *_cmbBackupFolder;
    QStringList _backupFolders;
    QString _backupFolderPath;
};
