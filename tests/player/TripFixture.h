// A trip of generated chapters (samplecard movies with their driving data) in a temporary folder.
#pragma once

#include "card/ChapterData.h"
#include "card/TripData.h"
#include "samplecard/SampleCardWriter.h"
#include "support/Ffmpeg.h"
#include "support/TempDir.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QUrl>

#include <memory>
#include <vector>

class TripFixture
{
public:
    // One chapter per length (ms), numbered from 1, laid end to end. A key frame every
    // keyFrameInterval frames when given (as the camera writes), else x264's default. fps is the rate of
    // the driving data's records. The movie may have a picture rate of its own (videoFps) and carry each
    // picture's number (frameStamp, SampleMovieArgs); without a stamp a key frame interval gives the plain
    // test pattern at fps.
    explicit TripFixture(const std::vector<int> &lengthsMs, int width = 64, int height = 48,
                         double fps = 28.0, int keyFrameInterval = 0, bool frameStamp = false,
                         double videoFps = 0.0)
    {
        SampleScenario scenario;
        scenario.fps = fps;
        scenario.frameStamp = frameStamp;
        scenario.keyFrameInterval = frameStamp ? keyFrameInterval : 0;
        scenario.videoFps = videoFps;
        scenario.videoWidth = width;
        scenario.videoHeight = height;
        SampleTrip trip;
        trip.key = "202405011200";
        trip.start = QDateTime(QDate(2024, 5, 1), QTime(12, 0, 0), Qt::UTC);
        int64_t at = 0;
        for (size_t i = 0; i < lengthsMs.size(); ++i) {
            trip.chapters.push_back({static_cast<int>(i + 1), at, lengthsMs[i]});
            at += lengthsMs[i];
        }
        trip.route = {{0, 135.0, 34.0}, {at, 135.01, 34.01}};
        trip.speed = {{0, 40.0}, {at, 60.0}};
        trip.g = {{0, 0.0, 0.0, 0.0}, {at, 0.2, -0.2, 0.05}};
        scenario.trips.push_back(trip);
        SampleCardWriter writer(scenario);
        QList<QUrl> paths;
        for (const SampleChapter &chapter : trip.chapters) {
            const QString path = writer.chapterPath(dir.path(), trip, chapter);
            const bool written =
                keyFrameInterval > 0 && !frameStamp
                    ? writeMovie(writer, trip, chapter, path, width, height, fps, keyFrameInterval)
                    : writer.writeChapterMovie(trip, chapter, path);
            if (!written) {
                error = writer.lastError().isEmpty() ? "ffmpeg failed" : writer.lastError();
                return;
            }
            paths.append(QUrl::fromLocalFile(path));
        }
        tripData = TripData::create(nullptr, paths, trip.key);
        chapters = tripData->chapters();
    }

    // The test pattern by ffmpeg with the chapter's driving data appended, as samplecard does.
    static bool writeMovie(SampleCardWriter &writer, const SampleTrip &trip, const SampleChapter &chapter,
                           const QString &path, int width, int height, double fps, int keyFrameInterval)
    {
        QDir().mkpath(QFileInfo(path).path());
        const QString source =
            QString("testsrc2=size=%1x%2:rate=%3:duration=%4").arg(width).arg(height).arg(fps);
        if (!Ffmpeg::run({"-f", "lavfi", "-i", source.arg(chapter.durationMs / 1000.0, 0, 'f', 3), "-c:v",
                          "libx264", "-preset", "ultrafast", "-g", QString::number(keyFrameInterval),
                          "-pix_fmt", "yuv420p", "-f", "mp4", path}))
            return false;
        QFile file(path);
        const QByteArray box = writer.udatBox(trip, chapter, file.size());
        return file.open(QIODevice::Append) && file.write(box) == box.size();
    }

    bool ok() const { return error.isEmpty() && !chapters.empty(); }

    TempDir dir;
    QString error;
    std::shared_ptr<TripData> tripData;
    ChapterList chapters;
};
