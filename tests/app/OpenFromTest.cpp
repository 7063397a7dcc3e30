#include "app/CardDriveSelectDialog.h"
#include "app/ModalRunner.h"
#include "app/StandardModalRunner.h"
#include "app/StorageVolumeLister.h"
#include "app/VideoTypeSelectDialog.h"
#include "maintenance/BackUpFolderSelectDialog.h"
#include "recording/UserDefaultUtil.h"
#include "support/TempDir.h"

#include "../maintenance/FakePrompts.h"
#include "../maintenance/MaintenanceFakes.h"
#include "AppFakes.h"

#include <QApplication>
#include <QComboBox>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QKeyEvent>
#include <QTimer>
#include <gtest/gtest.h>

namespace {
using Opened = std::vector<std::pair<QUrl, MovieType>>;

const FakeVolumes NO_VOLUMES;
const FakeVolumes TWO_CARDS{{{"/media/u/B", true}, {"/", false}, {"/media/u/A", true}}};

// The Open From dialog's services and owner. Its runs show no window: the test's action plays the user.
struct Fixture : ModalRunner, VideoTypeSelectDialogDelegate
{
    explicit Fixture(const VolumeLister &volumes)
    {
        dialog = std::make_unique<VideoTypeSelectDialog>(VideoTypeSelectDialog::Services{
            settings, prompter, maintenancePrompter, volumes, *this,
            [this](QWidget *, const QString &start) { return fileStarts << start, chosenFile; }});
        dialog->delegate = this;
        QObject::connect(dialog.get(), &QDialog::finished, [this] { closed = true; });
    }
    void run(ModalWindow::Type, QWidget *view, const QString &title, std::optional<QSize>) override
    {
        titles << title;
        if (act)
            act(view);
    }
    void openVideoData(const QUrl &url, bool autoPlay, MovieType type) override
    {
        EXPECT_TRUE(autoPlay);
        opened.emplace_back(url, type);
    }
    bool confirmStopWatchReset() override { return agree; }

    TempDir dir;
    UserDefaultUtil settings{dir.filePath("s.conf")};
    FakePrompter prompter;
    FakeMaintenancePrompter maintenancePrompter;
    std::function<void(QWidget *)> act;
    QStringList titles;
    bool agree = true;
    Opened opened;
    QString chosenFile;
    QStringList fileStarts;
    std::unique_ptr<VideoTypeSelectDialog> dialog;
    bool closed = false;
};
} // namespace

TEST(OpenFromTest, CardDriveChoices)
{
    const FakeVolumes fixed{{{"/", false}, {"/home", false}}};
    Fixture none(fixed);
    none.dialog->cardDataOnClick();
    EXPECT_EQ(none.prompter.shown, QStringList{"warn: Unable to locate the selected drive."});
    EXPECT_TRUE(none.titles.isEmpty());
    EXPECT_EQ(none.dialog->selectMovieType(), MovieType::PC);
    Fixture f(TWO_CARDS);
    f.act = [](QWidget *view) { qobject_cast<CardDriveSelectDialog *>(view)->btnCancel_Click(); };
    f.dialog->cardDataOnClick();
    QCoreApplication::processEvents();
    EXPECT_EQ(f.titles, QStringList{"Selection of Card Drive"});
    EXPECT_TRUE(f.opened.empty());
    EXPECT_FALSE(f.closed) << "Open From stays";
    EXPECT_EQ(f.dialog->selectMovieType(), MovieType::Card);
    f.act = [](QWidget *view) {
        qobject_cast<CardDriveSelectDialog *>(view)->cmbCardDriveFolder()->setCurrentIndex(1);
        qobject_cast<CardDriveSelectDialog *>(view)->btnOk_Click();
    };
    f.dialog->cardDataOnClick();
    QCoreApplication::processEvents();
    EXPECT_EQ(f.opened, (Opened{{QUrl::fromLocalFile("/media/u/B/MOVE/"), MovieType::Card}}));
    EXPECT_EQ(f.settings.value(UserDefaultUtil::KEY_CARD_DRIVE_SELECT).toString(), "B");
    EXPECT_TRUE(f.closed);
}

TEST(OpenFromTest, BackupFolderAndFileChoicesTheFileStoredAsALocalPathThePanelStartingInItsFolder)
{
    Fixture f(NO_VOLUMES);
    TempDir backups;
    f.settings.setValue(UserDefaultUtil::KEY_PATH_BACKUP, backups.path());
    f.dialog->backupFolderOnClick();
    EXPECT_EQ(f.prompter.shown, QStringList{"warn: There is no backup folder."});
    EXPECT_TRUE(f.titles.isEmpty());

    // The backup directory is read again at the press.
    ASSERT_TRUE(QDir(backups.path()).mkpath("Sample"));
    f.act = [&f](QWidget *) { f.dialog->backUpFolderSelectDialog()->btnOk_Click(); };
    f.dialog->backupFolderOnClick();
    QCoreApplication::processEvents();
    EXPECT_EQ(f.opened, (Opened{{QUrl::fromLocalFile(backups.filePath("Sample") + "/"), MovieType::Backup}}))
        << "a folder's URL";
    EXPECT_TRUE(f.closed);
    // The file choice.
    f.closed = false;
    f.opened.clear();
    TempDir movies;
    const QString movie = movies.filePath("clip.mp4");
    QFile(movie).open(QIODevice::WriteOnly);

    f.dialog->fileSelectOnClick(); // cancelled
    EXPECT_EQ(f.fileStarts, QStringList{UserDefaultUtil::documentsPath()});
    EXPECT_TRUE(f.opened.empty());
    EXPECT_FALSE(f.closed);

    f.chosenFile = movie;
    f.dialog->fileSelectOnClick();
    EXPECT_EQ(f.opened, (Opened{{QUrl::fromLocalFile(movie), MovieType::PC}}));
    EXPECT_EQ(f.settings.value(UserDefaultUtil::KEY_PATH_SELECT_FILE).toString(), movie);
    EXPECT_TRUE(f.closed);

    EXPECT_EQ(f.dialog->fileStartFolder(), movies.path());
    QFile::remove(movie);
    EXPECT_EQ(f.dialog->fileStartFolder(), UserDefaultUtil::documentsPath()) << "the stored file is gone";

    f.agree = false;
    f.dialog->fileSelectOnClick();
    EXPECT_EQ(f.fileStarts.size(), 2) << "a refused stopwatch reset opens no panel";
}

TEST(CardDriveSelectDialogTest, ListsRemovableVolumesInOrderAndPreselectsTheStoredName)
{
    TempDir dir;
    UserDefaultUtil settings(dir.filePath("s.conf"));
    const QString key = "cardDriveSelect";
    const std::pair<QVariant, int> stored[] = {{QVariant(), 0}, {"B", 1}, {"Z", 0}, {5, 0}};
    for (const auto &[value, index] : stored) {
        if (value.isValid())
            settings.setValue(key, value);
        CardDriveSelectDialog dialog(settings, TWO_CARDS);
        dialog.userDefaultsKey = key;
        dialog.loadDriveList();
        EXPECT_EQ(dialog.cardDriveName(), QStringList({"A", "B"}));
        EXPECT_EQ(dialog.cardDriveURLs(), QStringList({"/media/u/A", "/media/u/B"}));
        EXPECT_EQ(dialog.cmbCardDriveFolder()->currentIndex(), index) << value.toString().toStdString();
    }
}

TEST(CardDriveSelectDialogTest, OkAndCancelPerOwner)
{
    struct Owner : CardDriveSelectDialogDelegate
    {
        bool agree = false;
        QStringList opened;
        void openCardDrivePath(const QString &path) override { opened << path; }
        bool confirmStopWatchReset() override { return agree; }
    };
    TempDir dir;
    UserDefaultUtil settings(dir.filePath("s.conf"));
    const QString flag = UserDefaultUtil::KEY_CAMERA_SETTING_FLG;
    using T = CardDriveSelectDialog::CardDriveType;
    for (const T type : {T::FileOpen, T::CameraSetting}) {
        const bool camera = type == T::CameraSetting;
        Owner owner;
        CardDriveSelectDialog dialog(settings, TWO_CARDS);
        dialog.delegate = &owner;
        dialog.selectCardDriveType = type;
        dialog.userDefaultsKey = QString("key%1").arg(camera);
        dialog.loadDriveList();
        int ends = 0;
        QObject::connect(&dialog, &QDialog::finished, [&ends] { ++ends; });
        dialog.btnOk_Click(); // the stopwatch measurement kept: nothing opened or stored
        EXPECT_FALSE(settings.contains(*dialog.userDefaultsKey));
        owner.agree = true;
        for (const bool ok : {true, false}) {
            settings.setFlag(flag, true);
            ok ? dialog.btnOk_Click() : dialog.btnCancel_Click();
            EXPECT_EQ(settings.flag(flag), !camera) << "only the camera's run holds the flag";
        }
        EXPECT_EQ(ends, camera ? 2 : 1) << "OK ends only the camera's run: the Open From dialog ends its own";
        EXPECT_EQ(owner.opened, QStringList{"/media/u/A/MOVE/"});
        EXPECT_EQ(settings.value(*dialog.userDefaultsKey).toString(), "A");
    }
}

TEST(CardDriveSelectDialogTest, EscapeLeavesEitherOwnersRunGoingUntilOkOrCancel)
{
    using T = CardDriveSelectDialog::CardDriveType;
    // Each owner and the window it runs the choice in.
    const std::pair<T, ModalWindow::Type> owners[] = {{T::FileOpen, ModalWindow::Type::Etc},
                                                      {T::CameraSetting, ModalWindow::Type::CameraSetting}};
    for (const auto &[owner, type] : owners) {
        SCOPED_TRACE(static_cast<int>(type));
        TempDir dir;
        UserDefaultUtil settings(dir.filePath("s.conf"));
        QWidget main;
        StandardModalRunner runner(settings, &main, {});
        CardDriveSelectDialog dialog(settings, TWO_CARDS);
        dialog.selectCardDriveType = owner;
        dialog.loadDriveList();
        std::optional<bool> shownAfterEscape;
        QTimer user;
        QObject::connect(&user, &QTimer::timeout, [&] {
            if (!dialog.isVisible())
                return;
            user.stop();
            QKeyEvent escape(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
            QApplication::sendEvent(dialog.cmbCardDriveFolder(), &escape);
            QCoreApplication::processEvents();
            shownAfterEscape = dialog.window()->isVisible();
            dialog.btnCancel_Click();
        });
        user.start(10);
        runner.run(type, &dialog, "Selection of Card Drive", QSize(335, 188));
        EXPECT_EQ(shownAfterEscape, std::optional(true));
        EXPECT_EQ(QApplication::activeModalWidget(), nullptr) << "Cancel ended the run";
    }
}

TEST(StorageVolumeListerTest, RemovableByTheDiskFlagTheCardReaderOrTheMediaMounts)
{
    TempDir sys;
    QDir(sys.path()).mkpath("class/block");
    for (const auto &[disk, removable] : {std::pair{"sdb", "1"}, std::pair{"sda", "0"}}) {
        const QString diskDir = sys.filePath(QString("devices/%1").arg(disk)),
                      part = diskDir + "/" + disk + "1";
        QDir().mkpath(part);
        QFile(part + "/partition").open(QIODevice::WriteOnly);
        QFile flag(diskDir + "/removable");
        flag.open(QIODevice::WriteOnly) && flag.write(removable);
        QFile::link(part, sys.filePath(QString("class/block/%1").arg(disk) + "1"));
        QFile::link(diskDir, sys.filePath(QString("class/block/%1").arg(disk)));
    }
    const StorageVolumeLister lister(sys.path());
    const std::tuple<const char *, const char *, bool> cases[] = {
        {"/dev/sdb1", "/mnt/card", true},   {"/dev/sdb", "/mnt/whole", true},
        {"/dev/sda1", "/", false},          {"/dev/mmcblk0p1", "/mnt/sd", true},
        {"tmpfs", "/media/u/CARD", true},   {"/dev/sda2", "/run/media/u/CARD", true},
        {"/dev/nvme0n1p1", "/home", false}, {"tmpfs", "/mediafiles", false}};
    for (const auto &[device, mount, removable] : cases)
        EXPECT_EQ(lister.isRemovable(device, mount), removable) << device << " " << mount;
}
