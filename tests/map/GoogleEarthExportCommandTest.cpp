#include "map/GoogleEarthExportCommand.h"
#include "card/ChapterData.h"
#include "card/MoveProtectInfo.h"
#include "card/StandardCardFixture.h"
#include "card/WriteDestination.h"
#include "map/GoogleEarthExportHost.h"
#include "map/GoogleEarthLauncher.h"
#include "map/KmzExporter.h"
#include "platform/WorkerWait.h"
#include "recording/UserDefaultUtil.h"

#include <QDir>
#include <QFileInfo>
#include <QThread>
#include <QTranslator>

namespace {

// The main window's prompts and the desktop, as the command sees them.
class FakeHost : public GoogleEarthExportHost, public GoogleEarthLauncher
{
public:
    bool isReadyToExport() override { return ready; }
    void pauseMovie() override { events << "pause"; }
    GoogleEarthExportSource playingItem() override { return source; }
    std::optional<QString> chooseSavePath(const QString &startPath, const QString &) override
    {
        events << "panel " + startPath;
        return choices.isEmpty() ? std::nullopt : std::optional(choices.takeFirst());
    }
    void showWarning(const QString &message, const QString &informative, const QString &cause = {}) override
    {
        events << message + ": " + informative;
        causes << cause;
    }
    bool askYesNo(const QString &message, const QString &informative, const QString &,
                  const QString &) override
    {
        events << message + ": " + informative;
        return answerYes;
    }

    // On a thread of its own, as the window runs it; the stop is asked for once stopAtStep steps are done.
    void runInBackground(const QString &title, const std::function<void(const WorkControl &)> &work) override
    {
        backgroundTitles << title;
        std::atomic<bool> stop = stopAtStep == 0;
        const WorkControl control{&stop, [this, &stop](int done, int total) {
                                      lastStep = {done, total};
                                      if (done == stopAtStep)
                                          stop = true;
                                  }};
        WorkerWait::run([&] {
            workThread = QThread::currentThread();
            work(control);
        });
    }

    bool isInstalled() override { return installed; }
    bool openFile(const QString &path) override { return !(opened << path).isEmpty(); }

    bool ready = true;
    bool answerYes = false;
    bool installed = false;
    GoogleEarthExportSource source;
    QStringList choices;
    QStringList events;
    QStringList causes; // of each warning, in order
    QStringList opened;
    int stopAtStep = -1; // none
    QStringList backgroundTitles;
    QThread *workThread = nullptr;
    std::pair<int, int> lastStep;
};

using Outcome = GoogleEarthExportCommand::Outcome;
using Type = CommonConst::PlayType;

} // namespace

class GoogleEarthExportCommandTest : public StandardCardFixture
{
protected:
    void SetUp() override
    {
        StandardCardFixture::SetUp();
        settings.pathDirGoogleEarth = QUrl::fromLocalFile(out.path());
        host.source.card = &card;
        host.source.chapters = card._tripList[0]->sortedChapters();
        for (const auto &record : card._moveProtectList) {
            if (record->_detect == MoveProtectInfo::DetectStatus::SURV)
                host.source.records.push_back(record);
        }
    }
    Outcome run() { return command.exportGoogleEarthFile(); }

    TempDir out;
    UserDefaultUtil settings{out.filePath("settings.ini")};
    KmzExporter exporter{settings, out.filePath("work")};
    FakeHost host;
    GoogleEarthExportCommand command{host, settings, exporter, host};
};

TEST_F(GoogleEarthExportCommandTest, RefusesExactlyTheThirtySevenCharacters)
{
    QString refused, controls;
    for (char16_t c = 0; c < 0x80; ++c) {
        if (!GoogleEarthExportCommand::isValidFileName(QString("trip") + QChar(c)))
            refused += QChar(c);
        if (c < 0x20 && (c < 7 || c == 9 || c == 10 || c >= 13)) // not BEL, BS, VT or FF
            controls += QChar(c);
    }
    EXPECT_EQ(refused, controls + "\"*/:<>?\\|");
}

TEST_F(GoogleEarthExportCommandTest, BadNameIsRefusedThenTheChosenFileIsWrittenAndOpened)
{
    host.choices = {out.filePath("trip:1.kmz"), out.filePath("trip 1")};
    host.answerYes = true;
    host.installed = true;
    EXPECT_EQ(run(), Outcome::Exported);
    const QString written = out.filePath("trip 1.kmz");
    EXPECT_EQ(host.events,
              (QStringList{"pause", "panel " + out.path(), "Warning: The file name is not valid.",
                           "panel " + out.filePath("trip:1.kmz"), "confirmation: Launch Google Earth now?"}));
    EXPECT_TRUE(QFileInfo(written).size() > 0);
    EXPECT_EQ(host.opened, QStringList{written});
    EXPECT_EQ(QFileInfo(settings.pathDirGoogleEarth.toLocalFile()).canonicalFilePath(),
              QFileInfo(out.path()).canonicalFilePath());
}

TEST_F(GoogleEarthExportCommandTest, OutcomesAndWhatTheUserIsTold)
{
    const struct
    {
        const char *what;
        bool ready;
        CommonConst::PlayType type;
        qsizetype row;
        QString choice; // empty: cancelled
        bool yes, installed;
        GoogleEarthExportCommand::Outcome outcome;
        QString lastEvent;
    } cases[] = {
        {"not ready", false, Type::Movie, -1, "a", true, true, Outcome::NothingToExport, ""},
        {"no row", true, Type::Surveillance, -1, "a", true, true, Outcome::NothingToExport, ""},
        {"row past the list", true, Type::Surveillance, 1, "a", true, true, Outcome::NothingToExport, ""},
        {"cancelled", true, Type::Movie, -1, "", true, true, Outcome::Cancelled, "panel " + out.path()},
        {"not saved", true, Type::Movie, -1, out.filePath("gone/x.kmz"), true, true, Outcome::Failed,
         "Warning: The file could not be saved."},
        {"no Google Earth", true, Type::Surveillance, 0, out.filePath("s.kmz"), true, false,
         Outcome::Exported, "Warning: Google Earth is not installed."},
        {"answered no", true, Type::Adventure, -1, out.filePath("a.kmz"), false, true, Outcome::Exported,
         "confirmation: Launch Google Earth now?"},
    };
    for (const auto &c : cases) {
        host.events.clear();
        host.ready = c.ready;
        host.source.playType = c.type;
        host.source.row = c.row;
        host.choices = c.choice.isEmpty() ? QStringList() : QStringList{c.choice};
        host.answerYes = c.yes;
        host.installed = c.installed;
        settings.setPathDirGoogleEarth(QUrl::fromLocalFile(out.path()));
        EXPECT_EQ(run(), c.outcome) << c.what;
        EXPECT_EQ(host.events.isEmpty() ? QString() : host.events.last(), c.lastEvent) << c.what;
        EXPECT_TRUE(host.opened.isEmpty()) << c.what;
        if (c.outcome == Outcome::Failed)
            EXPECT_TRUE(host.causes.last().startsWith(c.choice + ": ")) << host.causes.last().toStdString();
    }
    // A remembered folder that is gone: the panel starts in Documents, or at home without one.
    settings.setPathDirGoogleEarth(QUrl::fromLocalFile(out.filePath("gone")));
    const QString documents = UserDefaultUtil::documentsPath();
    EXPECT_EQ(command.startFolder(), QFileInfo(documents).isDir() ? documents : QDir::homePath());
}

// The save panel reaches the card: a file there, under any name, is refused and nothing is written.
TEST_F(GoogleEarthExportCommandTest, DestinationsInsideTheOpenedCardAreRefused)
{
    const QString move = dir->filePath("MOVE");
    const QString otherTrip = card._tripList.back()->sortedChapters().front()->_pathMp4.toLocalFile();
    const auto listing = [&move] {
        QStringList files;
        QDirIterator it(move, QDir::Files | QDir::Hidden, QDirIterator::Subdirectories);
        while (it.hasNext())
            files << it.next();
        return files;
    };
    const QStringList before = listing();
    for (const QString &choice :
         {otherTrip, move + "/VREC_MOV_MNG.DAT", move + "/ver.txt", move + "/MOVE001/route.kmz"}) {
        host.events.clear();
        host.choices = {choice};
        EXPECT_EQ(run(), Outcome::Failed) << choice.toStdString();
        EXPECT_EQ(host.events.last(), "Warning: " + WriteDestination::sourceConflictText());
    }
    EXPECT_EQ(listing(), before);
    EXPECT_EQ(settings.pathDirGoogleEarth, QUrl::fromLocalFile(out.path())) << "the card is not remembered";
}

// The file is made on another thread behind the host's progress; a stop there, before the archive is in
// place, ends the export as cancelled without a word, and the old file stays.
TEST_F(GoogleEarthExportCommandTest, StoppedInTheBackgroundNothingIsWrittenAndNothingSaid)
{
    const QString destination = out.write("old.kmz", "old");
    const int chapters = int(host.source.chapters.size());
    // Where in the work a stop comes is the exporter's test.
    const struct
    {
        const char *what;
        int stopAtStep;
        Outcome outcome;
        QString lastEvent;
    } cases[] = {
        {"stopped", 1, Outcome::Cancelled, "panel " + out.path()},
        {"not stopped", -1, Outcome::Exported, "confirmation: Launch Google Earth now?"},
    };
    for (const auto &c : cases) {
        host.events.clear();
        host.backgroundTitles.clear();
        host.workThread = nullptr;
        host.choices = {destination};
        host.stopAtStep = c.stopAtStep;
        EXPECT_EQ(run(), c.outcome) << c.what;
        EXPECT_EQ(host.backgroundTitles, QStringList{"Export to Google Earth File"}) << c.what;
        EXPECT_NE(host.workThread, nullptr) << c.what;
        EXPECT_NE(host.workThread, QThread::currentThread()) << c.what;
        EXPECT_EQ(host.events.last(), c.lastEvent) << c.what;
        const bool written = c.outcome == Outcome::Exported;
        QFile file(destination);
        ASSERT_TRUE(file.open(QIODevice::ReadOnly)) << c.what;
        EXPECT_EQ(file.readAll().startsWith("PK"), written) << c.what;
        EXPECT_EQ(QDir(out.path()).entryList({".kmz-*"}, QDir::AllEntries | QDir::Hidden), QStringList())
            << c.what;
        if (written)
            EXPECT_EQ(host.lastStep, std::pair(chapters + 1, chapters + 1))
                << "one step a chapter and the archive";
    }
}

// The new warning too; the document's texts are checked through kmzexport.
TEST_F(GoogleEarthExportCommandTest, TextsInFrenchAndSpanish)
{
    for (const auto &[language, warning] :
         {std::pair{"fr", "Avertissement: Le fichier n'a pas pu être enregistré."},
          {"es", "Advertencia: No se pudo guardar el archivo."}}) {
        QTranslator translator;
        ASSERT_TRUE(translator.load(QString(":/i18n/googleearth_%1.qm").arg(language)));
        QCoreApplication::installTranslator(&translator);
        host.choices = {out.filePath("gone/x.kmz")};
        EXPECT_EQ(run(), Outcome::Failed);
        EXPECT_EQ(host.events.last(), QString::fromUtf8(warning));
        QCoreApplication::removeTranslator(&translator);
    }
}

TEST(GoogleEarthLauncherTest, FoundOnThePath)
{
    TempDir bin;
    const QByteArray savedPath = qgetenv("PATH");
    qputenv("PATH", bin.path().toUtf8());
    GoogleEarthLauncher launcher;
    EXPECT_FALSE(launcher.isInstalled());
    const QString program = bin.write("google-earth-pro", "#!/bin/sh\n");
    QFile::setPermissions(program, QFile::ReadOwner | QFile::ExeOwner);
    EXPECT_TRUE(launcher.isInstalled());
    qputenv("PATH", savedPath);
}
