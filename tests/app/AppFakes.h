// Stand-ins for the main window's player and the system's mounted volumes.
#pragma once

#include "app/PlaybackControl.h"
#include "app/VolumeLister.h"

#include <QString>
#include <QStringList>

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
