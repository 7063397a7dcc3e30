// samplecard writes a card; recdump must print the scenario's frames back.
#include "recording/RecordingRead.h"
#include "samplecard/SampleCardWriter.h"
#include "support/QuickSampleCard.h"
#include "support/TempDir.h"
#include <QJsonArray>
#include <map>

TEST(SampleCardRoundTripTest, RecdumpPrintsTheScenarioFramesBack)
{
    if (!qEnvironmentVariableIsSet("ORV_BUILD_DIR"))
        GTEST_SKIP() << "ORV_BUILD_DIR is not set";
    TempDir out;
    QProcess samplecard;
    samplecard.start(tool("samplecard"), quickSampleCardArgs(out.path()));
    ASSERT_TRUE(samplecard.waitForFinished(120000));
    ASSERT_EQ(samplecard.exitCode(), 0) << samplecard.readAllStandardError().constData();

    const SampleCardWriter writer(SampleScenario::standard());
    int chapters = 0;
    for (const SampleTrip &trip : writer.scenario().trips) {
        for (const SampleChapter &chapter : trip.chapters) {
            ++chapters;
            SCOPED_TRACE(SampleCardWriter::movieFileName(trip, chapter).toStdString());
            const QJsonObject dump = recdump({writer.chapterPath(out.path(), trip, chapter)});
            const auto records = writer.chapterRecords(trip, chapter);

            std::vector<SampleRecord> frames;
            for (const auto &r : records) {
                if (r.id == 0x55)
                    frames.push_back(r);
            }
            ASSERT_FALSE(frames.empty());
            const uint32_t first = frames.front().counter;
            // Frames without a position take the first position of the file.
            const SampleRecord &fallback = *std::find_if(records.begin(), records.end(),
                                                         [](const SampleRecord &r) { return r.hasPosition; });
            std::map<int, uint32_t> blockStart;
            for (const auto &r : frames)
                blockStart.try_emplace(r.blockNo, r.counter);

            EXPECT_EQ(dump["errors"].toArray().size(), 0);
            EXPECT_FALSE(dump["isCutVideo"].toBool());
            EXPECT_EQ(dump["fileVersion"].toString(), "0714");
            EXPECT_EQ(dump["terminalType"].toString(), "AllInOne");
            EXPECT_EQ(dump["recMode"].toString(), "Nomal");
            EXPECT_EQ(dump["detectType"].toInt(), 17);
            EXPECT_EQ(dump["detectionType"].toString(), "Movie");
            EXPECT_EQ(dump["timeSpan"].toInteger(), frames.back().counter - first);
            EXPECT_EQ(dump["firstTime"].toString(), iso(frames.front().unixSeconds));
            EXPECT_EQ(dump["lastTime"].toString(), iso(frames.back().unixSeconds));
            EXPECT_EQ(dump["powerDown"].toBool(), chapter.powerDownAtEnd);

            const QJsonArray zero = dump["cameras"].toObject()["0"].toArray();
            const QJsonArray one = dump["cameras"].toObject()["1"].toArray();
            ASSERT_EQ(size_t(zero.size()), frames.size());
            ASSERT_EQ(one.size(), zero.size()); // 28 fps has no gaps to fill
            for (size_t i = 0; i < frames.size(); ++i) {
                const SampleRecord &r = frames[i];
                const QJsonObject f = zero[qsizetype(i)].toObject();
                SCOPED_TRACE(i);
                EXPECT_EQ(f["key"].toInt(), int(r.counter - first));
                EXPECT_EQ(one[qsizetype(i)].toObject()["key"].toInt(), int(r.counter - first));
                EXPECT_EQ(f["time"].toString(), iso(r.unixSeconds));
                EXPECT_EQ(f["timeStamp"].toInteger(), r.counter);
                EXPECT_EQ(f["movieTimeStamp"].toInteger(),
                          (r.blockNo - 1) * 1000 + r.counter - blockStart[r.blockNo]);
                EXPECT_EQ(f["blockNo"].toInt(), r.blockNo);
                EXPECT_EQ(f["longitude"].toInt(), r.hasPosition ? r.longitude : fallback.longitude);
                EXPECT_EQ(f["latitude"].toInt(), r.hasPosition ? r.latitude : fallback.latitude);
                EXPECT_EQ(f["posWest"].toInt(), r.hasPosition && r.longitude < 0 ? 1 : 0);
                EXPECT_EQ(f["posSouth"].toInt(), r.hasPosition && r.latitude < 0 ? 1 : 0);
                EXPECT_EQ(f["speed"].toInt(), r.speedTenths / 10);
                EXPECT_DOUBLE_EQ(f["gX"].toDouble(), r.gXmg / 1000.0);
                EXPECT_DOUBLE_EQ(f["gY"].toDouble(), r.gYmg / 1000.0);
                EXPECT_DOUBLE_EQ(f["gZ"].toDouble(), r.gZmg / 1000.0);
                EXPECT_EQ(f["sw"].toInt(), r.sw);
                EXPECT_EQ(f["gps"].toBool(), r.gps);
                EXPECT_EQ(f["powerDown"].toBool(), r.powerDown);
                EXPECT_EQ(f["id"].toInt(), 0x55);
                EXPECT_EQ(f["violationType"].toString(), r.violation == 0x10 ? "GDetection"
                                                         : r.violation == 0x14 && r.violationSub == 0
                                                             ? "Overspeed"
                                                             : "All");
            }
        }
    }
    EXPECT_EQ(chapters, 13); // five trips of the standard scenario
}

// The default card is the standard scenario stretched as a whole: chapters still border each other,
// every event and the GPS gap stay in their chapter; and a stamped camera movie is one ffmpeg accepts.
TEST(SampleCardRoundTripTest, CameraCardIsTheStandardScenarioStretchedWithStampedMovies)
{
    const SampleScenario standard = SampleScenario::standard();
    const SampleScenario camera = SampleScenario::camera();
    const int64_t factor =
        SampleScenario::CAMERA_FIRST_CHAPTER_MS / SampleScenario::STANDARD_FIRST_CHAPTER_MS;
    const auto chapterOf = [](const SampleTrip &trip, int64_t atMs) {
        for (size_t i = 0; i < trip.chapters.size(); ++i) {
            if (atMs >= trip.chapters[i].startMs &&
                atMs < trip.chapters[i].startMs + trip.chapters[i].durationMs)
                return int(i);
        }
        return -1;
    };
    ASSERT_EQ(camera.trips.size(), standard.trips.size());
    for (size_t t = 0; t < camera.trips.size(); ++t) {
        const SampleTrip &a = standard.trips[t];
        const SampleTrip &b = camera.trips[t];
        SCOPED_TRACE(b.key.toStdString());
        ASSERT_EQ(b.chapters.size(), a.chapters.size());
        EXPECT_EQ(b.durationMs(), a.durationMs() * factor);
        for (size_t c = 0; c < b.chapters.size(); ++c) {
            EXPECT_EQ(b.chapters[c].startMs, a.chapters[c].startMs * factor);
            EXPECT_EQ(b.chapters[c].durationMs, a.chapters[c].durationMs * factor);
        }
        ASSERT_EQ(b.events.size(), a.events.size());
        for (size_t e = 0; e < b.events.size(); ++e)
            EXPECT_EQ(chapterOf(b, b.events[e].atMs), chapterOf(a, a.events[e].atMs));
        EXPECT_EQ(chapterOf(b, b.gpsLostFromMs), chapterOf(a, a.gpsLostFromMs));
        EXPECT_DOUBLE_EQ(SampleCardWriter::speedAt(b, b.durationMs() / 2),
                         SampleCardWriter::speedAt(a, a.durationMs() / 2));
    }

    // Kept small here: the stamp and the compact encoder take the same path from 320 pixels wide on.
    SampleScenario stamped = SampleScenario::camera(1000);
    stamped.withMovieSize(320, 180);
    ASSERT_TRUE(stamped.timeStamp);
    SampleCardWriter writer(stamped);
    const SampleTrip &trip = stamped.trips.front();
    TempDir dir;
    const QString path = dir.filePath("m.MP4");
    ASSERT_TRUE(writer.writeChapterMovie(trip, trip.chapters[1], path)) << writer.lastError().toStdString();
    QProcess probe;
    probe.start("ffprobe", {"-v", "error", "-show_entries", "stream=codec_name,width,height,r_frame_rate",
                            "-of", "csv=p=0", path});
    ASSERT_TRUE(probe.waitForFinished(30000));
    EXPECT_EQ(probe.readAllStandardOutput().trimmed(), "h264,320,180,30/1\naac,0/0");
}
