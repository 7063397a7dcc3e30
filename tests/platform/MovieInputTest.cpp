#include "platform/MovieInput.h"
#include "platform/MovieProbe.h"
#include "platform/MovieStillGrabber.h"

#include "support/Ffmpeg.h"
#include "support/TempDir.h"

#include <QFile>
#include <QLoggingCategory>
#include <QTemporaryFile>
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/inotify.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// Standard error of the calls, caught in a file.
template <typename Work> QStringList stderrLines(Work work)
{
    QTemporaryFile file;
    EXPECT_TRUE(file.open());
    std::fflush(stderr);
    const int saved = ::dup(2);
    ::dup2(file.handle(), 2);
    work();
    std::fflush(stderr);
    ::dup2(saved, 2);
    ::close(saved);
    file.seek(0);
    return QString::fromUtf8(file.readAll()).split('\n', Qt::SkipEmptyParts);
}

} // namespace

// A playlist saved under a movie's name is not played as one: nothing it names is opened.
TEST(MovieInputTest, APlaylistNamedAsAMovieOpensNothingElse)
{
    TempDir dir;
    const QString segment = dir.write("segment.ts", QByteArray(4096, 'x'));
    const QString playlist =
        dir.write("m2024050112300001.MP4", "#EXTM3U\n#EXT-X-TARGETDURATION:1\n#EXTINF:1,\n" +
                                               QFile::encodeName(segment) + "\n#EXT-X-ENDLIST\n");
    const int watch = ::inotify_init1(IN_NONBLOCK | IN_CLOEXEC);
    ASSERT_GE(watch, 0);
    ASSERT_GE(::inotify_add_watch(watch, QFile::encodeName(segment).constData(), IN_OPEN | IN_ACCESS), 0);
    QString problem;
    EXPECT_FALSE(MovieStillGrabber::grab(playlist, 1, MovieStillGrabber::MAX_SIZE, nullptr, &problem));
    EXPECT_FALSE(problem.isEmpty());
    char events[4096];
    EXPECT_LT(::read(watch, events, sizeof events), 0) << "the playlist's segment was opened";
    ::close(watch);
}

// A broken movie is the program's to report (its lists and alerts): by default FFmpeg's complaint
// ("moov atom not found") stays off the terminal, and the reason reaches the caller all the same.
TEST(MovieInputTest, FfmpegsComplaintsStayOffTheTerminalUnlessAsked)
{
    TempDir dir;
    const QString broken = dir.write("m2024050112300004.MP4", QByteArray(4096, 'x'));
    QString problem;
    const QStringList lines = stderrLines([&] {
        EXPECT_FALSE(MovieStillGrabber::grab(broken, 1, MovieStillGrabber::MAX_SIZE, nullptr, &problem));
    });
    EXPECT_EQ(lines.join('\n').toStdString(), "");
    EXPECT_FALSE(problem.isEmpty());
}

// Every retry of a broken movie repeats FFmpeg's complaint; shown when asked for, it is printed once,
// naming the file once.
TEST(MovieInputTest, MessagesNameTheFileOncePerCause)
{
    TempDir dir;
    const QString broken = dir.write("m2024050112300002.MP4", QByteArray(4096, 'x'));
    QStringList problems;
    QLoggingCategory::setFilterRules(QStringLiteral("orv.platform.ffmpeg.debug=true"));
    qSetMessagePattern(QStringLiteral("%{message}"));
    const QStringList lines = stderrLines([&] {
        for (int attempt = 0; attempt < 5; ++attempt) {
            QString problem;
            EXPECT_FALSE(MovieStillGrabber::grab(broken, 1, MovieStillGrabber::MAX_SIZE, nullptr, &problem));
            problems << problem;
        }
    });
    QLoggingCategory::setFilterRules({});
    qSetMessagePattern({});
    ASSERT_FALSE(lines.isEmpty());
    for (const QString &line : lines) {
        EXPECT_TRUE(line.startsWith(broken + ": ")) << line.toStdString();
        EXPECT_EQ(line.count(broken), 1) << line.toStdString();
        EXPECT_EQ(lines.count(line), 1) << line.toStdString();
    }
    EXPECT_FALSE(problems.front().isEmpty());
    EXPECT_EQ(problems.count(problems.front()), 5);
}

TEST(MovieInputTest, ACancelATimeLimitOrAFifoEndTheWorkWithAReason)
{
    TempDir dir;
    const QString movie = dir.filePath("a.MP4");
    ASSERT_TRUE(Ffmpeg::writeTestMovie(movie, 160, 90, 1.0));
    ASSERT_TRUE(MovieStillGrabber::grab(movie, 500));
    const std::atomic<bool> cancel = true;
    QString problem;
    EXPECT_FALSE(MovieStillGrabber::grab(movie, 500, MovieStillGrabber::MAX_SIZE, &cancel, &problem));
    EXPECT_FALSE(problem.isEmpty());
    // A FIFO in the movie's place is refused at once, never waited on.
    const QString fifo = dir.filePath("m2024050112300003.MP4");
    ASSERT_EQ(::mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
    problem.clear();
    EXPECT_FALSE(MovieStillGrabber::grab(fifo, 500, MovieStillGrabber::MAX_SIZE, nullptr, &problem));
    EXPECT_FALSE(problem.isEmpty());
    MovieInput expired(movie, nullptr, std::chrono::milliseconds(-1));
    EXPECT_FALSE(expired.format());
    EXPECT_TRUE(expired.isInterrupted());
}

// A file's probe is kept while the file stays as it was: one replaced since, or gone, is probed anew.
TEST(MovieProbeTest, AKeptProbeIsTheFilesAsItIsNow)
{
    TempDir dir;
    const QString movie = dir.filePath("movie.mp4"), other = dir.filePath("other.mp4");
    ASSERT_TRUE(Ffmpeg::writeTestMovie(movie, 160, 90, 1.0));
    ASSERT_TRUE(Ffmpeg::writeTestMovie(other, 320, 180, 2.0));
    const auto first = MovieProbe::probeKept(movie);
    ASSERT_TRUE(first && first->hasVideo);
    EXPECT_EQ(first->width, 160);
    EXPECT_EQ(MovieProbe::probeKept(movie)->width, 160);
    ASSERT_TRUE(QFile::remove(movie) && QFile::copy(other, movie));
    const auto replaced = MovieProbe::probeKept(movie);
    ASSERT_TRUE(replaced);
    EXPECT_EQ(replaced->width, 320);
    EXPECT_EQ(replaced->durationMs, MovieProbe::probe(other)->durationMs);
    ASSERT_TRUE(QFile::remove(movie));
    EXPECT_FALSE(MovieProbe::probeKept(movie));
    QFile text(movie);
    ASSERT_TRUE(text.open(QIODevice::WriteOnly) && text.write("no movie") > 0);
    text.close();
    EXPECT_FALSE(MovieProbe::probeKept(movie));
}
