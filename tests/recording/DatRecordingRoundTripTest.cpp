// samplecard's DAT recordings read back by recdump through the reader dispatch (the frames it wrote),
// and by each reader cut short anywhere.
#include "recording/DividedDatReader.h"
#include "recording/EventRecordingReader.h"
#include "recording/LegacyFrameFileReader.h"
#include "recording/MovieDatReader.h"
#include "recording/RecordingRead.h"
#include "samplecard/SampleDatWriter.h"
#include "support/TempDir.h"
#include <QJsonArray>

TEST(DatRecordingRoundTripTest, RecdumpPrintsTheFramesOfEachLayout)
{
    if (!qEnvironmentVariableIsSet("ORV_BUILD_DIR"))
        GTEST_SKIP() << "ORV_BUILD_DIR is not set";
    QString error;
    const auto jpegs = SampleDatWriter::makeJpegs(4, error);
    ASSERT_TRUE(jpegs) << error.toStdString();
    TempDir out;
    const SampleDatWriter writer(SampleScenario::standard(), *jpegs);
    ASSERT_TRUE(writer.writeAll(out.path(), error)) << error.toStdString();
    const auto &frames = writer.frames();

    const struct
    {
        QString path;
        QStringList options;
        size_t first; // frames before it are the thumbnail or none
    } layouts[] = {
        {SampleDatWriter::moviePath(out.path()), {"--rec-type", "MovieRec"}, 0},
        {SampleDatWriter::moviePath(out.path()), {}, 0}, // Yohin14Rec files not named MP4
        {SampleDatWriter::eventPath(out.path()), {"--rec-type", "EventRec"}, 1},
        {SampleDatWriter::legacyPath(out.path()), {"--rec-type", "none"}, 1},
    };
    for (const auto &layout : layouts) {
        SCOPED_TRACE(layout.path.toStdString());
        const QJsonObject dump = recdump(layout.options + QStringList{layout.path});
        EXPECT_EQ(dump["errors"].toArray().size(), 0);
        EXPECT_EQ(dump["playback"]["title"].toString(), "テスト走行"); // from the Shift-JIS header file
        const QJsonArray cameraZero = dump["cameras"]["0"].toArray();
        ASSERT_EQ(size_t(cameraZero.size()), frames.size() - layout.first);
        for (qsizetype i = 0; i < cameraZero.size(); ++i) {
            const QJsonObject f = cameraZero[i].toObject();
            const SampleDatFrame &expected = frames[layout.first + size_t(i)];
            EXPECT_EQ(f["key"].toInt(), int(expected.timeStamp - frames[layout.first].timeStamp));
            EXPECT_EQ(f["time"].toString(), iso(expected.unixSeconds));
            EXPECT_EQ(f["longitude"].toInt(), expected.longitude);
            EXPECT_EQ(f["latitude"].toInt(), expected.latitude);
            EXPECT_EQ(f["speed"].toInt(), expected.speed);
            const QString violation = expected.violationCode == 0x14   ? "Overspeed"
                                      : expected.violationCode == 0x10 ? "GDetection"
                                                                       : "All";
            EXPECT_EQ(f["violationType"].toString(), violation);
        }
    }

    const QJsonObject divided =
        recdump({"--picture-type", "Thumbnail", SampleDatWriter::dividedPath(out.path())});
    EXPECT_EQ(divided["thumbnail"]["timeStamp"].toInteger(), frames[2].timeStamp);
    EXPECT_EQ(divided["lastTime"].toString(), iso(frames.back().unixSeconds));
}

TEST(DatRecordingRoundTripTest, EveryPrefixOfEachLayoutReadsShorter)
{
    const SampleDatWriter writer(SampleScenario::standard(), SampleDatWriter::placeholderJpegs(2), 4);
    TempDir dir;
    using Reader = std::function<std::shared_ptr<VideoInfo>(const QString &, bool &)>;
    const Date past = Date::distantPast();
    const Date future = Date::distantFuture();
    const auto classify = PictureData::PictureDataType::Classify;
    const std::pair<QByteArray, Reader> layouts[] = {
        {writer.movieFile(),
         [&](const QString &p, bool &e) {
             return MovieDatReader::read(p, past, future, classify, nullptr, e);
         }},
        {writer.eventFile(),
         [&](const QString &p, bool &e) {
             return EventRecordingReader::readFileEvent(p, past, future, classify, nullptr, e);
         }},
        {writer.legacyFile(),
         [&](const QString &p, bool &e) {
             return LegacyFrameFileReader::readFileOther(p, past, future, classify, nullptr, e);
         }},
        {writer.dividedFile(),
         [&](const QString &p, bool &) {
             QStringList errors;
             return DividedDatReader::fromDivisionFile(QUrl::fromLocalFile(p), errors);
         }},
    };
    for (const auto &[bytes, read] : layouts) {
        bool isError = false;
        const size_t whole = read(dir.write("Video.dat", bytes), isError)->getCameraFrames(0).size();
        // Below the 8 KiB header of two layouts every cut fails alike; past it every third byte.
        for (qsizetype length = 0; length < bytes.size();
             length += length < 0x2000 && bytes.size() > 0x2000 ? 251 : 3) {
            const auto info = read(dir.write("Video.dat", bytes.left(length)), isError);
            ASSERT_TRUE(info) << length;
            EXPECT_LE(info->getCameraFrames(0).size(), whole) << length;
        }
    }
}
