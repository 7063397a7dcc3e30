// Test helper: a fixture that writes the standard sample card once per suite and loads it into a fresh
// CardData for every test.
#pragma once

#include "card/CardData.h"
#include "recording/FileUtil.h"
#include "samplecard/SampleCardWriter.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

class StandardCardFixture : public ::testing::Test
{
protected:
    // Writing the card runs ffmpeg for every movie, so the suite shares one.
    static void SetUpTestSuite()
    {
        dir = new TempDir;
        SampleCardWriter writer(SampleScenario::standard());
        ASSERT_TRUE(writer.writeCard(dir->path())) << writer.lastError().toStdString();
    }
    static void TearDownTestSuite()
    {
        delete dir;
        dir = nullptr;
    }
    void SetUp() override { card.loadCardFolder(FileUtil::fileUrl(dir->filePath("MOVE"))); }

    static inline TempDir *dir = nullptr;
    CardData card;
};
