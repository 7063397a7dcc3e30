// Stand-ins for the main window's player and the system's mounted volumes, and the sample cards.
#pragma once

#include "app/PlaybackControl.h"
#include "app/VolumeLister.h"
#include "samplecard/SampleCardWriter.h"
#include "support/TempDir.h"

#include <QString>
#include <QStringList>
#include <QUrl>
#include <gtest/gtest.h>

// Records what it is asked, keeps a status.
class FakePlayback : public PlaybackControl
{
public:
    CommonConst::PlayStatus status = CommonConst::PlayStatus::NotReady;
    QStringList calls; // "pause", "play", "stop", "move 1200 Pause"

    CommonConst::PlayStatus readyStatus() const override { return status; }
    void pauseMovie() override
    {
        calls << "pause";
        if (status != CommonConst::PlayStatus::NotReady)
            status = CommonConst::PlayStatus::Pause;
    }
    void playMovie() override
    {
        calls << "play";
        status = CommonConst::PlayStatus::Play;
    }
    void stopMovie() override
    {
        calls << "stop";
        status = CommonConst::PlayStatus::Stop;
    }
    void moveToPosition(int64_t position, CommonConst::PlayStatus restore) override
    {
        calls << QStringLiteral("move %1 %2").arg(position).arg(name(restore));
        status = restore;
    }
    static QString name(CommonConst::PlayStatus s)
    {
        static const char *names[] = {"NotReady", "Play", "Pause", "Stop"};
        return QString::fromLatin1(names[static_cast<int>(s)]);
    }
};

struct FakeVolumes : VolumeLister
{
    explicit FakeVolumes(std::vector<Volume> mounted = {}) : volumes(std::move(mounted)) {}
    std::vector<Volume> volumes;
    std::vector<Volume> mountedVolumes() const override { return volumes; }
};

// Written once per test program (ffmpeg runs for every movie).
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
