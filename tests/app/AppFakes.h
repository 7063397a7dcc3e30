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
    using PS = CommonConst::PlayStatus;
    PS status = PS::NotReady;
    QStringList calls; // "pause", "play", "stop", "move 1200 Pause"

    PS readyStatus() const override { return status; }
    void pauseMovie() override { record("pause", status == PS::NotReady ? status : PS::Pause); }
    void playMovie() override { record("play", PS::Play); }
    void stopMovie() override { record("stop", PS::Stop); }
    void moveToPosition(int64_t position, PS restore) override
    {
        record(QStringLiteral("move %1 %2").arg(position).arg(name(restore)), restore);
    }
    static QString name(PS s)
    {
        static const char *names[] = {"NotReady", "Play", "Pause", "Stop"};
        return QString::fromLatin1(names[static_cast<int>(s)]);
    }
    void record(const QString &call, PS next)
    {
        calls << call;
        status = next;
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
