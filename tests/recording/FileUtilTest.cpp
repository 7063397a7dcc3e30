#include "recording/FileUtil.h"
#include "recording/IOUtil.h"
#include "recording/Regex.h"
#include "support/CaseBlindVolume.h"
#include "support/TempDir.h"
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <gtest/gtest.h>

namespace {

QStringList relativePaths(const QList<QUrl> &urls, const QString &base)
{
    QStringList out;
    for (const QUrl &url : urls)
        out.append(QDir(base).relativeFilePath(url.toLocalFile()));
    out.sort();
    return out;
}

} // namespace

TEST(FileUtilTest, PathsTripKeysAndFileNumbers)
{
    EXPECT_EQ(FileUtil::appendPath("/Volumes/CARD/", "MOVE", {"VREC_MOV_MNG.DAT"}),
              "/Volumes/CARD/MOVE/VREC_MOV_MNG.DAT");
    EXPECT_EQ(FileUtil::appendPath("/a", "/b"), "/a//b");
    EXPECT_EQ(FileUtil::appendPath("/tmp/", "TMP/", {"THUMB/"}), "/tmp/TMP/THUMB/");
    EXPECT_EQ(FileUtil::appendPath(QString(), "x"), "/x");

    // The key is cut from the start of the name, wherever the pattern matched.
    const std::pair<const char *, const char *> keys[] = {
        {"m2020010112345601.mp4", "202001011234"}, {"M2020010112345601.MP4", "202001011234"},
        {"2020010112345601.MP4", "202001011234"},  {"20200101123_0001.MP4", ""},
        {"x2020010112345601", "x20200101123"},
    };
    for (const auto &[name, key] : keys)
        EXPECT_EQ(FileUtil::getTripKey(name), key) << name;

    const std::pair<const char *, int> numbers[] = {{"/card/move01/202001011234_9999.MP4", 9999},
                                                    {"m2020010112345601.mp4", 5601},
                                                    {"ABCD.MP4", 0},
                                                    {"abc-123.MP4", -123},
                                                    {"abc+123", 123},
                                                    {"ab1 23.MP4", 0},
                                                    {"", 0}};
    for (const auto &[name, number] : numbers)
        EXPECT_EQ(FileUtil::getFileNumber(name), number) << name;
}

TEST(FileUtilTest, SplitPathUsesTheUrlsOwnDirectoryFlag)
{
    const auto [folder, name] = FileUtil::splitPath(QUrl::fromLocalFile("/card/MOVE/a.MP4"));
    ASSERT_TRUE(folder);
    EXPECT_EQ(folder->toLocalFile(), "/card/MOVE/");
    EXPECT_EQ(name, "a.MP4");

    const QUrl dir = QUrl::fromLocalFile("/card/MOVE/");
    const auto [dirFolder, dirName] = FileUtil::splitPath(dir);
    EXPECT_EQ(dirFolder, dir);
    EXPECT_TRUE(dirName.isEmpty());

    TempDir temp;
    EXPECT_TRUE(FileUtil::fileUrl(temp.path()).path().endsWith(QLatin1Char('/')));
    EXPECT_FALSE(FileUtil::fileUrl(temp.filePath("nothing")).path().endsWith(QLatin1Char('/')));
    EXPECT_TRUE(FileUtil::isDirectory(QUrl::fromLocalFile(temp.path())));
    EXPECT_FALSE(FileUtil::isDirectory(QUrl::fromLocalFile(temp.write("f", "x"))));
    EXPECT_FALSE(FileUtil::isDirectory(QUrl::fromLocalFile(temp.filePath("missing"))));
}

TEST(FileUtilTest, RegexListsEveryMatchOrNone)
{
    const Regex regex("[0-9]{2}");
    EXPECT_FALSE(regex.matches("abc"));
    EXPECT_EQ(regex.matches("a12b345"), (QStringList{"12", "34"}));
    EXPECT_TRUE(Regex("move").matches("MOVE01"));
    // The card's pattern written with "^*" does not compile here; ours matches anywhere instead.
    EXPECT_FALSE(QRegularExpression("^*move[0-9]+/\\w+\\.[mM][pP]4").isValid());
}

TEST(FileUtilTest, MovieSearchOnACardTreeAndInFoldersThatNeedEscapingInUrls)
{
    TempDir card;
    const QString move = card.filePath("MOVE");
    const QStringList files = {
        "MOVE/move01/202001011234_0001.MP4",         // taken
        "MOVE/MOVE02/202001011234_0002.mp4",         // taken (case-insensitive)
        "MOVE/move03/m2020010112345601.mp4",         // taken
        "MOVE/sub/move04/202001011235_0001.MP4",     // taken: move folder deeper down
        "MOVE/202001011234_0003.MP4",                // directly in the folder: not taken
        "MOVE/move01/m2020010112345601XMP4-123.MP4", // file number -123: not taken
        "MOVE/move01/m2020010112345601XMP40123.MP4", // no ".MP4" after 17 characters: not taken
        "MOVE/move01/m2024050112300009.MP40009",     // only starts like a chapter: not taken
        "MOVE/move01/m2024050112300010.MP4.DAT",     // not taken
        "MOVE/move01/m2024050112300011.MP4\n",       // a line break after the name: not taken
        "MOVE/move01/ABCDEFGHIJKLMNOPQ.MP4",         // no trip key
        "MOVE/move01/202001011234_0000.MP4",         // file number 0
        "MOVE/move01/202001011234_0004.MOV",         // other extension
        "MOVE/move01/.202001011234_0005.MP4",        // hidden file
        "MOVE/.hidden/move09/202001011234_0006.MP4", // inside a hidden folder
        "MOVE/_extras/move01/202001011234_0007.MP4", // _extras is not entered
        "MOVE/_Extras/move01/202001011234_0008.MP4", // _Extras is
        "MOVE/movies/202001011234_0009.MP4",         // "movies" is no move<digits> folder
    };
    for (const QString &file : files)
        ASSERT_FALSE(card.write(file, "x").isEmpty());
    QDir().mkpath(card.filePath("MOVE/move05/202001011234_0010.MP4")); // a folder, not a file

    const QStringList expected = {"MOVE02/202001011234_0002.mp4", "_Extras/move01/202001011234_0008.MP4",
                                  "move01/202001011234_0001.MP4", "move03/m2020010112345601.mp4",
                                  "sub/move04/202001011235_0001.MP4"};
    const QUrl folder = FileUtil::fileUrl(move);
    EXPECT_EQ(relativePaths(FileUtil::searchMovieFiles(folder), move), expected);

    // A management file selects its folder, whatever its letter case.
    card.write("MOVE/vrec_mov_mng.dat", "x");
    EXPECT_EQ(
        relativePaths(FileUtil::searchMovieFiles(QUrl::fromLocalFile(move + "/vrec_mov_mng.dat")), move),
        expected);
    EXPECT_EQ(FileUtil::searchMovieFiles(QUrl::fromLocalFile(move + "/ADV_PRCT.DAT")).size(),
              expected.size());

    // A single movie file: only with the extension "MP4" exactly.
    const QUrl single = QUrl::fromLocalFile(move + "/move01/202001011234_0001.MP4");
    EXPECT_EQ(FileUtil::searchMovieFiles(single), QList<QUrl>{single});
    EXPECT_TRUE(
        FileUtil::searchMovieFiles(QUrl::fromLocalFile(move + "/MOVE02/202001011234_0002.mp4")).isEmpty());
    EXPECT_TRUE(FileUtil::searchMovieFiles(QUrl::fromLocalFile(move + "/other.dat")).isEmpty());

    // Without the directory flag a folder is a file without extension.
    EXPECT_TRUE(FileUtil::searchMovieFiles(QUrl::fromLocalFile(move)).isEmpty());
    EXPECT_TRUE(FileUtil::findFiles(QUrl::fromLocalFile(move), ".").isEmpty());
    EXPECT_TRUE(FileUtil::findFiles(QUrl::fromLocalFile(card.filePath("none/")), ".").isEmpty());

    // The general search lists files only.
    TempDir dir;
    dir.write("a/one.txt", "1");
    dir.write("two.TXT", "2");
    dir.write("three.bin", "3");
    QDir().mkpath(dir.filePath("folder.txt"));
    EXPECT_EQ(relativePaths(FileUtil::findFiles(FileUtil::fileUrl(dir.path()), "\\.txt$"), dir.path()),
              (QStringList{"a/one.txt", "two.TXT"}));

    const QString escaped = card.filePath("SD card #1 100%/MOVE");
    card.write("SD card #1 100%/MOVE/move01/202001011234_0001.MP4", "x");
    card.write("SD card #1 100%/MOVE/VREC_MOV_MNG.DAT", "x");
    const QList<QUrl> found = FileUtil::searchMovieFiles(QUrl::fromLocalFile(escaped + "/VREC_MOV_MNG.DAT"));
    ASSERT_EQ(found.size(), 1);
    EXPECT_EQ(found.front().toLocalFile(), escaped + "/move01/202001011234_0001.MP4");
    const auto [foundFolder, foundName] = FileUtil::splitPath(found.front());
    ASSERT_TRUE(foundFolder);
    EXPECT_EQ(foundFolder->toLocalFile(), escaped + "/move01/");
    EXPECT_EQ(foundName, "202001011234_0001.MP4");
}

TEST(FileUtilTest, RemoveFreeSpaceAndRandomNames)
{
    TempDir dir;
    const QString file = dir.write("f.bin", "x");
    dir.write("sub/deep/g.bin", "y");
    IOUtil::remove(file);
    IOUtil::remove(dir.filePath("sub"));
    IOUtil::remove(dir.filePath("missing")); // ignored
    EXPECT_FALSE(QFileInfo::exists(file));
    EXPECT_FALSE(QFileInfo::exists(dir.filePath("sub")));

    EXPECT_GT(IOUtil::getFreeSpace(dir.path()), 0);
    EXPECT_EQ(IOUtil::getFreeSpace("/no/such/volume/here"), -1);

    EXPECT_TRUE(QRegularExpression("^[0-9a-zA-Z]{8}$").match(randomString(8)).hasMatch());
    EXPECT_NE(randomString(12), randomString(12));
}

// Files that exist at every path are found as QFileInfo::exists finds them, one folder's listing at a
// time: in several folders, among names of other letter case, with one of them gone or a folder that
// cannot be read, and under another spelling on a volume that ignores letter case.
TEST(FileUtilTest, AllExistFindsWhatTheFileSystemFinds)
{
    const auto write = [](const QString &path) {
        QFile file(path);
        return file.open(QIODevice::WriteOnly) && file.write("x") == 1;
    };
    TempDir dir;
    const QString a = dir.filePath("MOVE001"), b = dir.filePath("MOVE002");
    ASSERT_TRUE(QDir().mkpath(a) && QDir().mkpath(b));
    for (const QString &file : {a + "/0001.MP4", a + "/0002.MP4", b + "/0003.MP4", b + "/0004.mp4"})
        ASSERT_TRUE(write(file));
    const QString locked = dir.filePath("locked");
    ASSERT_TRUE(QDir().mkpath(locked) && write(locked + "/0005.MP4"));
    QFile::setPermissions(locked, QFile::WriteOwner | QFile::ExeOwner); // found, not listed
    const std::pair<QStringList, bool> cases[] = {
        {{}, true},
        {{a + "/0001.MP4", a + "/0002.MP4", b + "/0003.MP4"}, true},
        {{a + "/0001.MP4", b + "/0003.MP4", a + "/0002.MP4"}, true},
        {{a + "/0001.MP4", a + "/0009.MP4", b + "/0003.MP4"}, false},
        {{b + "/0004.MP4"}, false}, // another letter case on a volume that tells them apart
        {{dir.filePath("MOVE009/0001.MP4")}, false},
        {{locked + "/0005.MP4"}, true},
        {{locked + "/0006.MP4"}, false},
        {{a}, true},
        {{a + "/"}, true},
        {{""}, false},
    };
    for (const auto &[paths, exist] : cases) {
        SCOPED_TRACE(paths.join(' ').toStdString());
        EXPECT_EQ(FileUtil::allExist(paths), exist);
    }
    QFile::setPermissions(locked, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);

    for (const auto kind : {CaseBlindVolume::Kind::Fat, CaseBlindVolume::Kind::Exfat}) {
        SCOPED_TRACE(CaseBlindVolume::name(kind).toStdString());
        const CaseBlindVolume volume(kind);
        if (!volume.mounted())
            continue;
        ASSERT_TRUE(QDir().mkpath(volume.filePath("MOVE/MOVE001")));
        ASSERT_TRUE(write(volume.filePath("MOVE/MOVE001/0001.MP4")));
        EXPECT_TRUE(FileUtil::allExist(
            {volume.filePath("MOVE/MOVE001/0001.mp4"), volume.filePath("move/move001/0001.MP4")}));
        EXPECT_FALSE(FileUtil::allExist({volume.filePath("MOVE/MOVE001/0002.MP4")}));
    }
}
