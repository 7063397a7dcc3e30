// Running copies of the program side by side, each with a card whose movies have the same names as the
// other's: the test starts itself again as those copies, all with one system temp folder.
#include "card/AVUtil.h"
#include "recording/CommonConst.h"
#include "support/Ffmpeg.h"
#include "support/TempDir.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QImage>
#include <QProcess>
#include <gtest/gtest.h>

#include <cstdio>
#include <iostream>
#include <string>
#include <unistd.h>

namespace {

constexpr char MOVIE_VARIABLE[] = "ORV_COPY_MOVIE";
constexpr char TMPDIR_VARIABLE[] = "ORV_COPY_TMPDIR";
const QString MOVIE_NAME = QStringLiteral("202401011200_0001.MP4");

// One copy: makes the still of its movie as a chapter does, says where, waits for a line on its input,
// then says which colour the still it made now shows.
class Copy
{
public:
    Copy(const QString &movie, const QString &tmp)
    {
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(MOVIE_VARIABLE, movie);
        environment.insert(TMPDIR_VARIABLE, tmp);
        _process.setProcessEnvironment(environment);
        _process.start(QCoreApplication::applicationFilePath(), {"--gtest_filter=RunningCopiesTest.OneCopy"});
    }
    ~Copy()
    {
        _process.kill();
        _process.waitForFinished();
    }
    // What follows key on the next line that starts with it; empty when the copy ended first.
    std::string read(const QString &key)
    {
        for (;;) {
            while (_process.canReadLine()) {
                const QString line = QString::fromLocal8Bit(_process.readLine()).trimmed();
                if (line.startsWith(key + ' '))
                    return line.mid(key.size() + 1).toStdString();
            }
            if (!_process.waitForReadyRead(60000))
                return {};
        }
    }
    void goOn() { _process.write("\n"); }
    bool end() { return _process.waitForFinished(60000) && _process.exitCode() == 0; }
    void kill()
    {
        _process.kill();
        _process.waitForFinished();
    }

private:
    QProcess _process;
};

bool writeMovie(const QString &path, const QString &colour)
{
    return QDir().mkpath(QFileInfo(path).absolutePath()) &&
           Ffmpeg::run({"-f", "lavfi", "-i", "color=c=" + colour + ":s=64x48:d=1:r=25", "-c:v", "libx264",
                        "-pix_fmt", "yuv420p", path});
}

// The run folders in the user's folder, by name.
std::string runFolders(const QString &tmp)
{
    return QDir(QDir(tmp).filePath(QStringLiteral("orvalind-%1").arg(::getuid())))
        .entryList({"run-*"}, QDir::Dirs | QDir::Hidden)
        .join(' ')
        .toStdString();
}

} // namespace

TEST(RunningCopiesTest, OneCopy)
{
    const QString movie = qEnvironmentVariable(MOVIE_VARIABLE);
    if (movie.isEmpty())
        GTEST_SKIP() << "started by the other tests as one running copy";
    qputenv("TMPDIR", qgetenv(TMPDIR_VARIABLE));
    std::printf("tmp %s\n", qPrintable(CommonConst::DIR_PATH_TMP()));
    const auto still = AVUtil::saveThumbnail(QUrl::fromLocalFile(movie), 1,
                                             QUrl::fromLocalFile(CommonConst::DIR_PATH_THUMB()));
    ASSERT_TRUE(still);
    std::printf("still %s\n", qPrintable(still->toLocalFile()));
    std::fflush(stdout);
    std::string line;
    std::getline(std::cin, line);
    const QImage image(still->toLocalFile());
    const QRgb centre = image.isNull() ? 0 : image.pixel(image.width() / 2, image.height() / 2);
    std::printf("colour %s\n", qRed(centre) > 150 && qBlue(centre) < 100   ? "red"
                               : qBlue(centre) > 150 && qRed(centre) < 100 ? "blue"
                                                                           : "other");
    std::fflush(stdout);
}

TEST(RunningCopiesTest, EachCopyShowsItsOwnStills)
{
    TempDir work;
    const QString tmp = work.filePath("tmp");
    ASSERT_TRUE(QDir().mkpath(tmp));
    ASSERT_TRUE(writeMovie(work.filePath("red/MOVE001/" + MOVIE_NAME), "red"));
    ASSERT_TRUE(writeMovie(work.filePath("blue/MOVE001/" + MOVIE_NAME), "blue"));

    Copy red(work.filePath("red/MOVE001/" + MOVIE_NAME), tmp);
    const std::string redFolder = red.read("tmp");
    ASSERT_FALSE(red.read("still").empty());
    // The second copy makes its still after the first made its own, under the same name.
    Copy blue(work.filePath("blue/MOVE001/" + MOVIE_NAME), tmp);
    const std::string blueFolder = blue.read("tmp");
    ASSERT_FALSE(blue.read("still").empty());
    EXPECT_NE(redFolder, blueFolder);
    EXPECT_EQ(QString::fromStdString(runFolders(tmp)).count(' '), 1) << runFolders(tmp);

    red.goOn();
    blue.goOn();
    EXPECT_EQ(red.read("colour"), "red");
    EXPECT_EQ(blue.read("colour"), "blue");
    EXPECT_TRUE(red.end());
    EXPECT_TRUE(blue.end());
    EXPECT_EQ(runFolders(tmp), "");
}

// A copy that quits takes its folder with it; the folder of one that was killed goes when the next
// copy starts, and that copy's own stays while it runs.
TEST(RunningCopiesTest, AFolderOfACopyNoLongerRunningIsRemoved)
{
    TempDir work;
    const QString tmp = work.filePath("tmp");
    ASSERT_TRUE(QDir().mkpath(tmp));
    const QString movie = work.filePath("card/MOVE001/" + MOVIE_NAME);
    ASSERT_TRUE(writeMovie(movie, "red"));
    for (const bool killed : {false, true}) {
        Copy first(movie, tmp);
        const QString firstFolder = QDir::cleanPath(QString::fromStdString(first.read("tmp")) + "/..");
        ASSERT_FALSE(first.read("still").empty()) << killed;
        ASSERT_TRUE(QFileInfo(firstFolder).isDir()) << killed;
        if (killed)
            first.kill();
        else
            first.goOn();
        EXPECT_TRUE(killed || first.end());
        EXPECT_EQ(QFileInfo::exists(firstFolder), killed);

        Copy next(movie, tmp);
        const QString nextFolder = QDir::cleanPath(QString::fromStdString(next.read("tmp")) + "/..");
        ASSERT_FALSE(next.read("still").empty()) << killed;
        EXPECT_FALSE(QFileInfo::exists(firstFolder)) << killed;
        EXPECT_EQ(runFolders(tmp), QFileInfo(nextFolder).fileName().toStdString()) << killed;
        next.goOn();
        EXPECT_TRUE(next.end());
        EXPECT_EQ(runFolders(tmp), "") << killed;
    }
}
