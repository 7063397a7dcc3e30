// Where the tools may write: never into the opened card or backup, and only in a folder that takes files.
#include "card/WriteDestination.h"

#include "StandardCardFixture.h"
#include "card/ChapterData.h"
#include "support/CaseBlindVolume.h"
#include "support/ReadOnlyFolder.h"

#include <QDir>
#include <QFile>
#include <unistd.h>

namespace {

class WriteDestinationTest : public StandardCardFixture
{
protected:
    QString move() const { return dir->filePath("MOVE"); }
    TempDir other;
};

TEST_F(WriteDestinationTest, EveryPlaceInsideTheOpenedCardIsRefused)
{
    // Another trip's chapter, the card's files, new names at any depth, and the same places by links.
    ASSERT_TRUE(QFile::link(move(), other.filePath("card-link")));
    ASSERT_TRUE(QFile::link(move() + "/MOVE001", other.filePath("folder-link")));
    const QString chapter = card._tripList.back()->sortedChapters().front()->_pathMp4.toLocalFile();
    const QStringList refused{
        chapter,
        move() + "/VREC_MOV_MNG.DAT",
        move() + "/MOV_PRCT.DAT",
        move() + "/ADV_PRCT.DAT",
        move() + "/SETINF.DAT",
        move() + "/ver.txt",
        move() + "/clip.mp4",
        move() + "/MOVE001/new/deeper/clip.mp4",
        move() + "/../MOVE/MOVE001/clip.kmz",
        other.filePath("card-link/ver.txt"),
        other.filePath("folder-link/clip.mp4"),
        move(),
    };
    for (const QString &destination : refused) {
        const auto conflict = WriteDestination::sourceConflict(destination, card._openSourcePath);
        EXPECT_TRUE(conflict) << destination.toStdString();
    }
    // Opened through one of its management files, the card is the whole folder too.
    const QUrl byFile = QUrl::fromLocalFile(move() + "/MOV_PRCT.DAT");
    EXPECT_TRUE(WriteDestination::sourceConflict(move() + "/ver.txt", byFile));

    const QStringList allowed{other.filePath("clip.mp4"), dir->filePath("DAT/clip.mp4"),
                              dir->filePath("MOVE-2/clip.mp4")};
    for (const QString &destination : allowed)
        EXPECT_FALSE(WriteDestination::sourceConflict(destination, card._openSourcePath))
            << destination.toStdString();
}

TEST_F(WriteDestinationTest, CardRootSettingsSingleMovieAndChapters)
{
    // The camera's settings file at the card's root, beside the movie folder.
    const QString rootSettings = dir->write("SETINF.DAT", "settings");
    EXPECT_TRUE(WriteDestination::sourceConflict(rootSettings, card._openSourcePath));
    QFile::remove(rootSettings);

    // A single movie opened on its own: only the movie is the source, not the user's folder around it.
    const QString movie = other.write("videos/m2024050112300001.MP4", "movie");
    const QUrl single = QUrl::fromLocalFile(movie);
    EXPECT_TRUE(WriteDestination::sourceConflict(movie, single));
    EXPECT_TRUE(
        WriteDestination::sourceConflict(other.filePath("videos/../videos/m2024050112300001.MP4"), single));
    EXPECT_FALSE(WriteDestination::sourceConflict(other.filePath("videos/clip.mp4"), single));

    // The chapters being read, also with no opened source and by a hard link.
    const auto chapters = card._tripList.front()->sortedChapters();
    const QString hardLink = other.filePath("hard.mp4");
    ASSERT_EQ(::link(QFile::encodeName(chapters[1]->_pathMp4.toLocalFile()).constData(),
                     QFile::encodeName(hardLink).constData()),
              0);
    EXPECT_TRUE(WriteDestination::sourceConflict(hardLink, std::nullopt, chapters));
    EXPECT_FALSE(WriteDestination::sourceConflict(other.filePath("new.mp4"), std::nullopt, chapters));
}

TEST_F(WriteDestinationTest, FolderThatTakesNoFileIsFoundAndLeftClean)
{
    EXPECT_FALSE(WriteDestination::folderProblem(other.path()));
    EXPECT_TRUE(QDir(other.path()).isEmpty(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot));
    const auto missing = WriteDestination::folderProblem(other.filePath("no/such"));
    ASSERT_TRUE(missing);
    EXPECT_TRUE(missing->contains("No such file or directory")) << missing->toStdString();
    const ReadOnlyFolder locked(other.filePath("locked"));
    if (!locked.active())
        GTEST_SKIP() << "no folder can be made read-only here";
    EXPECT_TRUE(WriteDestination::folderProblem(locked.path()));
}

// On a card drive, which ignores letter case (and whose FUSE drivers may give each spelling of a folder
// its own inode), the opened card is the same card under any spelling.
TEST(WriteDestinationOnCardDriveTest, AnotherSpellingOfTheCardIsTheCard)
{
    QStringList unmounted;
    for (const auto kind : {CaseBlindVolume::Kind::Fat, CaseBlindVolume::Kind::Exfat}) {
        SCOPED_TRACE(CaseBlindVolume::name(kind).toStdString());
        const CaseBlindVolume volume(kind);
        if (!volume.mounted()) {
            unmounted << CaseBlindVolume::name(kind) + ": " + volume.problem();
            continue;
        }
        const QString card = volume.path();
        ASSERT_TRUE(QDir().mkpath(card + "/MOVE/MOVE001"));
        ASSERT_TRUE(QDir().mkpath(card + "/backups"));
        for (const char *name :
             {"MOVE/MOVE001/m2024050112300001.MP4", "MOVE/VREC_MOV_MNG.DAT", "SETINF.DAT"}) {
            QFile file(card + "/" + name);
            ASSERT_TRUE(file.open(QIODevice::WriteOnly));
            file.write("card");
        }
        const auto opened = FileUtil::fileUrl(card + "/MOVE");
        const QStringList refused{"move/MOVE001/m2024050112300001.MP4",
                                  "Move/move001/M2024050112300001.mp4",
                                  "move/VREC_MOV_MNG.DAT",
                                  "MOVE/vrec_mov_mng.dat",
                                  "move/new/clip.mp4",
                                  "move",
                                  "setinf.dat"};
        for (const QString &destination : refused)
            EXPECT_TRUE(WriteDestination::sourceConflict(card + "/" + destination, opened))
                << destination.toStdString();
        const QStringList allowed{"backups/clip.mp4", "MOVE-2/clip.mp4", "clip.mp4"};
        for (const QString &destination : allowed)
            EXPECT_FALSE(WriteDestination::sourceConflict(card + "/" + destination, opened))
                << destination.toStdString();
        EXPECT_TRUE(
            WriteDestination::isSameFile(card + "/MOVE/VREC_MOV_MNG.DAT", card + "/move/Vrec_Mov_Mng.dat"));
        EXPECT_FALSE(WriteDestination::isSameFile(card + "/MOVE/VREC_MOV_MNG.DAT", card + "/SETINF.DAT"));
    }
    if (!unmounted.isEmpty())
        GTEST_SKIP() << "not tested on " << unmounted.join("; ").toStdString();
}

} // namespace
