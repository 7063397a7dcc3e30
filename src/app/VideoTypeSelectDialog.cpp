#include "app/VideoTypeSelectDialog.h"

#include "app/CardDriveSelectDialog.h"
#include "app/ModalRunner.h"
#include "app/VolumeLister.h"
#include "maintenance/BackUpFolderSelectDialog.h"
#include "maintenance/BackupFolderList.h"
#include "maintenance/MessagePrompter.h"
#include "maintenance/PanelWindow.h"
#include "maintenance/TaskProgress.h"
#include "recording/FileUtil.h"
#include "recording/UserDefaultUtil.h"

#include <QFileDialog>
#include <QFileInfo>
#include <QPointer>
#include <QPushButton>
#include <QVBoxLayout>

VideoTypeSelectDialog::VideoTypeSelectDialog(Services services, QWidget *parent)
    : QDialog(parent), _s(std::move(services))
{
    if (!_s.chooseFile) {
        _s.chooseFile = [](QWidget *owner, const QString &start) {
            return QFileDialog::getOpenFileName(owner, tr("Select File"), start, tr("Movies (*.mp4)"));
        };
    }
    auto *card = new QPushButton(tr("&Card drive"), this);
    auto *backup = new QPushButton(tr("&Backup folder"), this);
    auto *file = new QPushButton(tr("&File on this computer"), this);
    card->setObjectName(QStringLiteral("cardButton"));
    backup->setObjectName(QStringLiteral("backupButton"));
    file->setObjectName(QStringLiteral("fileButton"));
    connect(card, &QPushButton::clicked, this, &VideoTypeSelectDialog::cardDataOnClick);
    connect(backup, &QPushButton::clicked, this, &VideoTypeSelectDialog::backupFolderOnClick);
    connect(file, &QPushButton::clicked, this, &VideoTypeSelectDialog::fileSelectOnClick);
    auto *layout = new QVBoxLayout(this);
    for (QPushButton *button : {card, backup, file}) {
        button->setMinimumHeight(40);
        layout->addWidget(button);
    }
}

VideoTypeSelectDialog::~VideoTypeSelectDialog() = default;

void VideoTypeSelectDialog::cardDataOnClick()
{
    if (_s.volumes.removablePaths().isEmpty()) {
        _s.prompter.warn(this, tr("Unable to locate the selected drive."));
        return;
    }
    _cardDriveSelectDialog = std::make_unique<CardDriveSelectDialog>(_s.settings, _s.volumes);
    _cardDriveSelectDialog->delegate = this;
    _cardDriveSelectDialog->selectCardDriveType = CardDriveSelectDialog::CardDriveType::FileOpen;
    _cardDriveSelectDialog->userDefaultsKey = QString::fromLatin1(UserDefaultUtil::KEY_CARD_DRIVE_SELECT);
    _cardDriveSelectDialog->loadDriveList();
    _nestedWindow = _cardDriveSelectDialog.get();
    _s.runner.run(ModalWindow::Type::Etc, _cardDriveSelectDialog.get(), tr("Selection of Card Drive"),
                  QSize(335, 188));
    _nestedWindow = nullptr;
    if (isVisible())
        activateWindow();
    _selectMovieType = MovieType::Card;
}

void VideoTypeSelectDialog::backupFolderOnClick()
{
    // The backup directory is read again from the store each time.
    _s.settings.load();
    if (BackupFolderList::list(_s.settings.pathBackup).isEmpty()) {
        _s.prompter.warn(this, tr("There is no backup folder."));
        return;
    }
    _backUpFolderSelectDialog = std::make_unique<BackUpFolderSelectDialog>(
        _s.settings, static_cast<MaintenanceHost *>(this), _s.maintenancePrompter);
    _backUpFolderSelectDialog->setupDialog();
    {
        // The folder dialog is a plain panel: a dialog around it gives the run its end.
        PanelWindow window(_backUpFolderSelectDialog.get());
        _nestedWindow = &window;
        _s.runner.run(ModalWindow::Type::Etc, &window, tr("Selection of backup folder"), QSize(336, 188));
        _nestedWindow = nullptr;
    }
    if (isVisible())
        activateWindow();
    _selectMovieType = MovieType::Backup;
}

QString VideoTypeSelectDialog::fileStartFolder() const
{
    // The stored value is a local path (never a URL).
    const QFileInfo stored(_s.settings.pathSelectFile);
    if (!_s.settings.pathSelectFile.isEmpty() && stored.exists())
        return stored.absolutePath();
    return UserDefaultUtil::documentsPath();
}

void VideoTypeSelectDialog::fileSelectOnClick()
{
    if (delegate && !delegate->confirmStopWatchReset())
        return;
    const QString path = _s.chooseFile(this, fileStartFolder());
    if (path.isEmpty())
        return;
    done(QDialog::Accepted);
    _s.settings.pathSelectFile = path;
    _s.settings.setValue(QString::fromLatin1(UserDefaultUtil::KEY_PATH_SELECT_FILE), path);
    _dirPathPC = path;
    if (delegate)
        delegate->openVideoData(QUrl::fromLocalFile(path), true, MovieType::PC);
    _selectMovieType = MovieType::PC;
}

void VideoTypeSelectDialog::openCardDrivePath(const QString &path)
{
    openSourcePath(path, MovieType::Card);
}

void VideoTypeSelectDialog::openBackupFolderPath(const QString &path)
{
    openSourcePath(path, MovieType::Backup);
}

bool VideoTypeSelectDialog::confirmStopWatchReset()
{
    return delegate && delegate->confirmStopWatchReset();
}

std::unique_ptr<TaskProgress> VideoTypeSelectDialog::createTaskProgress()
{
    // Only the delete mode of the folder dialog runs jobs; this dialog opens it in its Normal mode.
    return nullptr;
}

void VideoTypeSelectDialog::openSourcePath(const QString &path, MovieType type)
{
    if (delegate)
        delegate->openVideoData(FileUtil::fileUrl(path), true, type); // a folder's URL ends in "/"
    // The nested window ends now; this one once that run has returned.
    QPointer<VideoTypeSelectDialog> self(this);
    QMetaObject::invokeMethod(
        this,
        [self] {
            if (self)
                self->done(QDialog::Accepted);
        },
        Qt::QueuedConnection);
    if (_nestedWindow)
        _nestedWindow->done(QDialog::Accepted);
}
