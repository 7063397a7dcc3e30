// A card of one trip whose pictures carry their frame numbers (samplecard's frame stamp), for the suites
// that read the picture off the screen.
#pragma once

#include "samplecard/SampleCardWriter.h"
#include "support/TempDir.h"

#include <QSize>
#include <QUrl>
#include <gtest/gtest.h>

#include <vector>

// Chapters of chapterMs each, at size and fps, a key frame every keyFrameInterval pictures (0: the
// encoder's own), with the events given (their times from the trip's start), written into dir; the URL of
// its movie folder, to open as a backup folder.
inline QUrl writeStampedTrip(const TempDir &dir, int chapters, int chapterMs, QSize size, double fps,
                             int keyFrameInterval = 0, std::vector<SampleEvent> events = {})
{
    SampleScenario scenario = SampleScenario::chapters(chapters, chapterMs);
    scenario.trips.front().events = std::move(events);
    scenario.videoWidth = size.width();
    scenario.videoHeight = size.height();
    scenario.videoFps = fps;
    scenario.frameStamp = true;
    scenario.keyFrameInterval = keyFrameInterval;
    SampleCardWriter writer(scenario);
    EXPECT_TRUE(writer.writeCard(dir.path())) << writer.lastError().toStdString();
    return QUrl::fromLocalFile(SampleCardWriter::cardFolder(dir.path()) + QStringLiteral("/"));
}
