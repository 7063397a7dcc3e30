// A media engine without media for the play-state tests: records what the panel asks of it and
// lets a test say when the item is ready or has ended.
#pragma once

#include "player/MediaEngine.h"

#include "QuadrantPicture.h"

#include <QSet>
#include <QStringList>
#include <QWidget>

#include <utility>
#include <vector>

class FakeMediaEngine : public MediaEngine
{
public:
    bool canPlay(const QString &path) const override { return !unplayable.contains(path); }
    void replaceItem(const QString &path) override
    {
        items.append(path);
        _hasItem = true;
        _status = _playerReady && !holdItems ? Status::ReadyToPlay : Status::Unknown;
        _rate = 0.0;
        _time = 0.0;
    }
    void removeItem() override
    {
        _hasItem = false;
        _status = Status::Unknown;
        _rate = 0.0;
    }
    bool hasItem() const override { return _hasItem; }
    Status status() const override { return _status; }
    bool isPlayerReady() const override { return _playerReady; }
    void setRate(double rate) override
    {
        if (settlesPauses && _rate > 0.0 && rate == 0.0)
            _settling = true;
        else if (rate > 0.0)
            settle();
        _rate = rate;
    }
    double rate() const override { return _rate; }
    bool isSettlingPause() const override { return _settling; }
    void seekExact(qint64 timeMs) override
    {
        settle();
        seeks.push_back(timeMs);
        _time = timeMs / 1000.0;
    }
    double currentTime() const override { return _time; }
    double frameRate() const override { return _hasItem ? fps : 0.0; }
    qint64 durationMs() const override { return _hasItem ? duration : 0; }
    void setVolume(double volume) override { _volume = volume; }
    double volume() const override { return _volume; }
    void setMuted(bool muted) override { _muted = muted; }
    bool isMuted() const override { return _muted; }
    void setBrightness(double brightness) override { _brightness = brightness; }
    double brightness() const override { return _brightness; }
    QWidget *createVideoWidget(QWidget *parent) override { return new QuadrantPicture(parent); }

    // Test controls.
    void becomeReady()
    {
        _status = Status::ReadyToPlay;
        _playerReady = true;
        emit statusChanged();
    }
    void finishItem()
    {
        _rate = 0.0;
        emit endOfItem();
    }
    // A picture on screen, and the end of a pause's wait for its last pictures.
    void show(double timeSec)
    {
        _time = timeSec;
        emit frameShown(timeSec);
    }
    void settle()
    {
        if (std::exchange(_settling, false))
            emit pauseSettled();
    }

    QStringList items;
    QSet<QString> unplayable;
    std::vector<qint64> seeks;
    // Later items stay opening until becomeReady, as a real file takes a moment to open.
    bool holdItems = false;
    double fps = 30.0;
    qint64 duration = 60000;
    // Paused from play, it still shows pictures until settle, as a core shows those it had queued.
    bool settlesPauses = false;

private:
    bool _playerReady = false;
    bool _hasItem = false;
    Status _status = Status::Unknown;
    double _rate = 0.0;
    double _time = 0.0;
    double _volume = 1.0;
    bool _muted = false;
    double _brightness = 0.0;
    bool _settling = false;
};
