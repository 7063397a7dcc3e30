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
    static ToolTestCard &shared()
    {
        static ToolTestCard card;
        return card;
    }

    // The trip, or the clip cut from its 1 s to 5 s, as the main window hands it to a tool.
    ToolInfo tripInfo(ToolType type, int64_t atMs = 2500) const { return infoOf(trip, type, atMs, atMs); }
    ToolInfo clipInfo(ToolType type) const { return infoOf(clip, type, 2500, 1000); }

    TempDir dir;
    CardData trip;
    CardData clip;

private:
    static ToolInfo infoOf(const CardData &card, ToolType type, int64_t endMs, int64_t currentMs)
    {
        ToolInfo info;
        info.type = type;
        info.chapterList = card._tripList.front()->sortedChapters();
        info.chapter = info.chapterList.front();
        info.selectStartSumFrameTS = 0;
        info.selectEndSumFrameTS = endMs;
        info.currentCMtimeMs = currentMs;
        info.openSourcePath = card._openSourcePath;
        return info;
    }
    ToolTestCard()
    {
        // Three chapters of 10 s at a steady 100 km/h.
        SampleScenario scenario = SampleScenario::singleChapter(10000);
        scenario.keyFrameInterval = 10;
        scenario.trips.front().chapters = {{1, 0, 10000}, {2, 10000, 10000}, {3, 20000, 10000}};
        scenario.trips.front().speed = {{0, 100.0}};
        SampleCardWriter writer(scenario);
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
