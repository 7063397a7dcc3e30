// A generated card and a trimmed clip of its first trip, made once per test program for the tool suites.
#pragma once

#include "card/CardData.h"
#include "card/ChapterData.h"
#include "recording/CommonConst.h"
#include "recording/FileUtil.h"
#include "samplecard/SampleCardWriter.h"
#include "support/TempDir.h"
#include "videotools/ToolInfo.h"
#include "videotools/TrimWorker.h"

#include <QDir>
#include <gtest/gtest.h>

class ToolTestCard
{
public:
    // Three chapters of 10 s at a steady 100 km/h.
    static SampleScenario scenario()
    {
        SampleScenario s = SampleScenario::singleChapter(10000);
        s.keyFrameInterval = 10;
        SampleTrip &trip = s.trips.front();
        trip.chapters = {{1, 0, 10000}, {2, 10000, 10000}, {3, 20000, 10000}};
        trip.speed = {{0, 100.0}};
        return s;
    }

    static ToolTestCard &shared()
    {
        static ToolTestCard card;
        return card;
    }

    // The trip as the main window hands it to a tool, current position atMs.
    ToolInfo tripInfo(ToolType type, int64_t atMs = 2500)
    {
        ToolInfo info;
        info.type = type;
        info.chapterList = trip._tripList.front()->sortedChapters();
        info.chapter = info.chapterList.front();
        info.selectStartSumFrameTS = 0;
        info.selectEndSumFrameTS = atMs;
        info.currentCMtimeMs = atMs;
        return info;
    }
    ToolInfo clipInfo(ToolType type)
    {
        ToolInfo info;
        info.type = type;
        info.chapterList = clip._tripList.front()->sortedChapters();
        info.chapter = info.chapterList.front();
        info.selectStartSumFrameTS = 0;
        info.selectEndSumFrameTS = 2500;
        info.currentCMtimeMs = 1000;
        return info;
    }

    TempDir dir;
    CardData trip;
    CardData clip;

private:
    ToolTestCard()
    {
        SampleCardWriter writer(scenario());
        EXPECT_TRUE(writer.writeCard(dir.path()));
        trip.loadCardFolder(FileUtil::fileUrl(dir.filePath("MOVE")));
        TrimRequest request;
        request.chapters = trip._tripList.front()->sortedChapters();
        request.startMs = 1000;
        request.endMs = 5000;
        request.flags = {true, true, false, false};
        request.destination = dir.filePath("clip.mp4");
        request.workFolderBase = dir.filePath("TMP");
        EXPECT_EQ(TrimWorker(request).run(), TrimWorker::Result::Saved);
        clip.loadCardFolder(FileUtil::fileUrl(request.destination));
    }
    ~ToolTestCard()
    {
        clip.dispose();
        trip.dispose();
    }
};
