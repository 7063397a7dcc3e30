// Test helper: sample cards written once per test program (ffmpeg runs for every movie).
#pragma once

#include "samplecard/SampleCardWriter.h"
#include "support/TempDir.h"

#include <QUrl>
#include <gtest/gtest.h>

inline QUrl writtenSampleCard(uint16_t fileVersion = 0x0714)
{
    static std::map<uint16_t, std::unique_ptr<TempDir>> cards;
    std::unique_ptr<TempDir> &dir = cards[fileVersion];
    if (!dir) {
        dir = std::make_unique<TempDir>();
        SampleScenario scenario = SampleScenario::standard();
        scenario.fileVersion = fileVersion;
        SampleCardWriter writer(scenario);
        EXPECT_TRUE(writer.writeCard(dir->path())) << writer.lastError().toStdString();
    }
    return QUrl::fromLocalFile(SampleCardWriter::cardFolder(dir->path()) + QStringLiteral("/"));
}
