#include "recording/CutVideoBoxWriter.h"

#include "recording/CutVideoKihonInfo.h"
#include "recording/VideoInfo.h"
#include "support/TempDir.h"

#include <QFile>
#include <QtEndian>
#include <csignal>
#include <gtest/gtest.h>
#include <sys/resource.h>

namespace {

// A clip of count frames, 36 ms apart.
CutVideoKihonInfo clipOf(int count)
{
    VideoInfo recording;
    std::map<int, VideoFrame> table;
    for (int i = 0; i < count; ++i) {
        VideoFrame frame;
        frame.time = Date::fromUnixSeconds(1714566896).addingMilliseconds(i * 36);
        frame._timeStamp = uint32_t(1000 + i * 36);
        frame._movieTimeStamp = uint32_t(i * 36);
        frame._id = 0x55;
        frame.speed = i % 120;
        table.emplace(i * 36, frame);
    }
    recording.setCameraFrames(1, table);
    recording.setCameraFrames(0, table);
    recording.rebuildKeyLists();
    return CutVideoKihonInfo::initFromVideoInfo(recording, 0, (count - 1) * 36, count * 36, true, true, true,
                                                true);
}

QByteArray readFile(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

} // namespace

TEST(CutVideoBoxWriterTest, BoxLayout)
{
    const QByteArray archive(5000, 'a');
    const auto box = CutVideoBoxWriter::makeBox(archive);
    ASSERT_TRUE(box);
    ASSERT_EQ(box->size(), 5016);
    EXPECT_EQ(box->left(4), QByteArray::fromHex("00001398"));
    EXPECT_EQ(box->mid(4, 4), QByteArray("udat"));
    EXPECT_EQ(box->mid(8, 8), QByteArray::fromHex("00010714ffffffed"));
    EXPECT_EQ(box->mid(16), archive);
}

TEST(CutVideoBoxWriterTest, AppendsTheBoxOfFiveThousandFootersLast)
{
    TempDir dir;
    const QByteArray movie(1234, 'm');
    const QString path = dir.write("clip.mp4", movie);
    const CutVideoKihonInfo clip = clipOf(5000);
    QString error;
    ASSERT_TRUE(CutVideoBoxWriter::append(path, clip, &error)) << error.toStdString();

    const QByteArray file = readFile(path);
    ASSERT_GT(file.size(), movie.size() + 16);
    EXPECT_EQ(file.left(movie.size()), movie);
    const QByteArray box = file.mid(movie.size());
    EXPECT_EQ(qFromBigEndian<quint32>(box.constData()), quint32(box.size())) << "the box ends the file";
    EXPECT_EQ(box.mid(4, 4), QByteArray("udat"));
    const auto back = CutVideoKihonInfo::unarchive(box.mid(16));
    ASSERT_TRUE(back);
    EXPECT_EQ(back->_footerCamera1List.size(), 5000u);
    EXPECT_EQ(back->_footerCamera1List.at(36 * 4999)._movieTimeStamp, uint32_t(36 * 4999));
}

TEST(CutVideoBoxWriterTest, FailedWritesAreErrorsAndLeaveTheMovieAsItWas)
{
    TempDir dir;
    const CutVideoKihonInfo clip = clipOf(2000);
    QString error;
    EXPECT_FALSE(CutVideoBoxWriter::append(dir.filePath("missing.mp4"), clip, &error));
    EXPECT_FALSE(error.isEmpty());
    EXPECT_FALSE(QFile::exists(dir.filePath("missing.mp4")));

    // A full disk: the file-size limit stops the write short.
    const QByteArray movie(4000, 'm');
    const QString path = dir.write("clip.mp4", movie);
    rlimit saved{};
    ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &saved), 0);
    const auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
    rlimit limited = saved;
    limited.rlim_cur = 6000;
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &limited), 0);
    error.clear();
    const bool appended = CutVideoBoxWriter::append(path, clip, &error);
    setrlimit(RLIMIT_FSIZE, &saved);
    std::signal(SIGXFSZ, oldHandler);
    EXPECT_FALSE(appended);
    EXPECT_FALSE(error.isEmpty());
    EXPECT_EQ(readFile(path), movie) << "no partial box stays behind";
}
