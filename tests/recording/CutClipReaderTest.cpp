// Clips cut by the trim tool: the box written after the movie, read back through the MP4 reader and
// recdump.
#include "recording/CutClipReader.h"
#include "recording/ClipRecording.h"
#include "recording/CutVideoBoxWriter.h"
#include "recording/CutVideoKihonInfo.h"
#include "recording/Mp4RecordingReader.h"
#include "recording/RecordingRead.h"
#include "recording/SettingInfo.h"
#include "support/Ffmpeg.h"
#include "support/FileSizeLimit.h"
#include "support/HostileFiles.h"
#include "support/TempDir.h"
#include <QJsonArray>

namespace {

// A clip of count frames 36 ms apart; every tenth footer is a sound record.
CutVideoKihonInfo clipOf(int count)
{
    return CutVideoKihonInfo::initFromVideoInfo(*clipRecording(count, 36, 700000, true), 0, (count - 1) * 36,
                                                count * 36, true, false, true, false);
}

QByteArray fileInfoItem()
{
    const auto item = SettingInfo().getItem(SettingInfo::DataType::FileInfo);
    return QByteArray(reinterpret_cast<const char *>(item.data()), qsizetype(item.size()));
}

// A minimal MP4 head followed by the clip's box.
std::shared_ptr<VideoInfo> readBytes(const QByteArray &box, bool &isError,
                                     const Date &left = Date::distantPast())
{
    const QByteArray file = HostileFiles::box("ftyp", "isom") + box;
    return Mp4RecordingReader::read(bytesOf(file), left, Date::distantFuture(), isError, fileInfoItem());
}

QByteArray boxOf(const CutVideoKihonInfo &clip)
{
    return *CutVideoBoxWriter::makeBox(*clip.archivedData());
}

} // namespace

TEST(CutClipReaderTest, TheBoxFollowsTheMovieOrAFailedWriteLeavesTheMovieAsItWas)
{
    const QByteArray archive(5000, 'a');
    const auto layout = CutVideoBoxWriter::makeBox(archive);
    ASSERT_TRUE(layout);
    EXPECT_EQ(layout->left(16),
              QByteArray::fromHex("00001398") + "udat" + QByteArray::fromHex("00010714ffffffed"));
    EXPECT_EQ(layout->mid(16), archive);

    TempDir dir;
    const CutVideoKihonInfo clip = clipOf(2000);
    QString error;
    EXPECT_FALSE(CutVideoBoxWriter::append(dir.filePath("missing.mp4"), clip, &error));
    EXPECT_FALSE(error.isEmpty());
    EXPECT_FALSE(QFile::exists(dir.filePath("missing.mp4")));

    // A full disk: the file-size limit stops the write short.
    const QByteArray movie(4000, 'm');
    const QString path = dir.write("clip.mp4", movie);
    error.clear();
    bool appended = true;
    {
        const FileSizeLimit limit(6000);
        ASSERT_TRUE(limit.active());
        appended = CutVideoBoxWriter::append(path, clip, &error);
    }
    EXPECT_FALSE(appended);
    EXPECT_FALSE(error.isEmpty());
    EXPECT_EQ(readAll(path), movie) << "no partial box stays behind";

    ASSERT_TRUE(CutVideoBoxWriter::append(path, clip, &error)) << error.toStdString();
    EXPECT_EQ(readAll(path), movie + boxOf(clip)) << "the box ends the file";
}

TEST(CutClipReaderTest, TheMp4ReaderRebuildsTheClipsFrames)
{
    const CutVideoKihonInfo clip = clipOf(100);
    bool isError = false;
    const auto info = readBytes(boxOf(clip), isError);
    ASSERT_TRUE(info);
    EXPECT_FALSE(isError);
    // The clip's header values and its picture frames are compared through recdump below.
    EXPECT_EQ(info->_playback.detectionType, VideoInfo::getDetectType(10));
    EXPECT_TRUE(info->isDatetime);
    EXPECT_TRUE(info->isAcceleration);
    EXPECT_FALSE(info->isSpeed);
    EXPECT_EQ(info->firstTime, clipStart);
    EXPECT_EQ(info->lastTime, clipStart.addingMilliseconds(99 * 36))
        << "sound records count for the time window";
    EXPECT_EQ(info->_timeSpan, uint32_t(99 * 36));

    const FrameTable camera1 = info->getCameraFrames(1);
    const VideoFrame frame = *camera1.find(36 * 5);
    EXPECT_EQ(frame._posSouth, 1);
    EXPECT_EQ(frame.gY, -0.18);
    EXPECT_EQ(info->getCameraFrames(0).cameraKeys(), camera1.cameraKeys()) << "one table for both cameras";

    // A clip wholly before the window keeps its frames but no counters.
    isError = false;
    const auto late = readBytes(boxOf(clip), isError, clipStart.addingSeconds(60));
    ASSERT_TRUE(late);
    EXPECT_EQ(late->_timeSpan, 0u);
}

TEST(CutClipReaderTest, BrokenOrForeignArchivesGiveNoDrivingData)
{
    const CutVideoKihonInfo clip = clipOf(20);
    const QByteArray box = boxOf(clip);
    bool isError = false;

    // Another file-information item: not a trimmed clip (and no camera table either).
    QByteArray foreign = box;
    foreign[8 + 3] = 0x15;
    const auto other = readBytes(foreign, isError);
    EXPECT_FALSE(other && other->isCutVideo());

    // Required members missing: no recording, no crash.
    CutVideoKihonInfo noDetect = clip;
    noDetect._detectType.reset();
    EXPECT_FALSE(readBytes(boxOf(noDetect), isError));
    CutVideoKihonInfo noTime = clip;
    noTime._detectTime.reset();
    EXPECT_FALSE(readBytes(boxOf(noTime), isError));
    CutVideoKihonInfo brokenFooter = clip;
    brokenFooter._footerCamera1List.begin()->second._timeStamp.reset();
    EXPECT_FALSE(readBytes(boxOf(brokenFooter), isError));

    // A cut or garbled archive.
    EXPECT_FALSE(readBytes(box.left(box.size() / 2), isError));
    QByteArray garbled = box;
    for (qsizetype i = 40; i < garbled.size(); i += 97)
        garbled[i] = char(garbled[i] ^ 0x5A);
    (void)readBytes(garbled, isError);

    // No picture frames: an error, and the recording still comes back.
    CutVideoKihonInfo silent = clip;
    for (auto &entry : silent._footerCamera1List)
        entry.second._id = 0xAA;
    isError = false;
    const auto soundOnly = readBytes(boxOf(silent), isError);
    ASSERT_TRUE(soundOnly);
    EXPECT_TRUE(isError);
}

TEST(CutClipReaderTest, AnFfmpegClipWithTheBoxPlaysAndRecdumpPrintsItsFrames)
{
    if (!qEnvironmentVariableIsSet("ORV_BUILD_DIR"))
        GTEST_SKIP() << "ORV_BUILD_DIR is not set";
    TempDir dir;
    const QString path = dir.filePath("clip.mp4");
    ASSERT_TRUE(Ffmpeg::writeTestMovie(path, 64, 48, 2.0));
    const CutVideoKihonInfo clip = clipOf(55);
    QString error;
    ASSERT_TRUE(CutVideoBoxWriter::append(path, clip, &error)) << error.toStdString();

    QProcess probe;
    probe.start("ffprobe", {"-v", "error", "-show_entries", "stream=codec_type,nb_frames", "-count_frames",
                            "-of", "json", path});
    ASSERT_TRUE(probe.waitForFinished(60000));
    EXPECT_EQ(probe.exitCode(), 0);
    EXPECT_EQ(probe.readAllStandardError(), QByteArray()) << "ffprobe reports no error";
    const QJsonArray streams =
        QJsonDocument::fromJson(probe.readAllStandardOutput()).object()["streams"].toArray();
    ASSERT_FALSE(streams.isEmpty());
    EXPECT_EQ(streams[0].toObject()["nb_frames"].toString(), "50") << "every picture decodes";

    const QJsonObject dump = recdump({path});
    EXPECT_TRUE(dump["isCutVideo"].toBool());
    EXPECT_EQ(dump["fileVersion"].toString(), "0714");
    // Stored as AllInOne and LongRec: a clip reads neither back.
    EXPECT_EQ(dump["terminalType"].toString(), "None");
    EXPECT_EQ(dump["recMode"].toString(), "Nomal");
    EXPECT_EQ(dump["detectType"].toInt(), 10);
    EXPECT_EQ(dump["errors"].toArray().size(), 0);
    const QJsonArray frames = dump["cameras"].toObject()["1"].toArray();
    ASSERT_EQ(frames.size(), 50);
    int index = 0;
    for (const auto &[key, footer] : clip._footerCamera1List) {
        if (footer._id != 0x55)
            continue;
        const QJsonObject frame = frames[index++].toObject();
        EXPECT_EQ(frame["key"].toInt(), key);
        EXPECT_EQ(frame["movieTimeStamp"].toInteger(), qint64(*footer._movieTimeStamp));
        EXPECT_EQ(frame["timeStamp"].toInteger(), qint64(*footer._timeStamp));
        EXPECT_EQ(frame["speed"].toInt(), footer._speed);
        EXPECT_EQ(frame["longitude"].toInt(), footer._longitude);
        EXPECT_EQ(frame["time"].toString(), footer._time->toDateTime().toUTC().toString(Qt::ISODateWithMs));
    }
}
