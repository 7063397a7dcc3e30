// The media player the panel drives: one movie file (the "item") at a time, exact seeks, rate, sound,
// brightness and the widget that shows its picture.
#pragma once

#include <QObject>
#include <QString>

class QWidget;

class MediaEngine : public QObject
{
    Q_OBJECT
public:
    // Ready once the item's streams are open and it can be played or seeked.
    enum class Status
    {
        Unknown,
        ReadyToPlay,
        Failed
    };

    explicit MediaEngine(QObject *parent = nullptr) : QObject(parent) {}
    ~MediaEngine() override = default;

    // Whether the file can be opened and has a video stream; checked before an item is made.
    virtual bool canPlay(const QString &path) const = 0;
    // Replaces the current item; the engine is paused (rate 0) and not ready until statusChanged.
    virtual void replaceItem(const QString &path) = 0;
    // Removes the current item, if any.
    virtual void removeItem() = 0;
    virtual bool hasItem() const = 0;
    // The current item's status.
    virtual Status status() const = 0;
    bool isReadyToPlay() const { return hasItem() && status() == Status::ReadyToPlay; }
    // The player's own status: ready once its first item was, and it stays so while later items
    // open (a seek or a rate set meanwhile applies once the new item is loaded).
    virtual bool isPlayerReady() const = 0;

    // 0 pauses; a positive rate plays at that speed.
    virtual void setRate(double rate) = 0;
    virtual double rate() const = 0;
    // The rate the next play starts at, given while paused: an engine that takes a while to change its
    // rate would otherwise hold the first pictures of the play.
    virtual void presetRate(double rate) { Q_UNUSED(rate); }
    void pause() { setRate(0.0); }

    // Paused from play, an engine may still show a picture or two it had on its way: until then the picture
    // at rest is not on screen yet. pauseSettled tells its end, also when a seek, a play or another item ends
    // the wait.
    virtual bool isSettlingPause() const { return false; }

    // Seeks to the exact frame at or before the time (no tolerance either way).
    virtual void seekExact(qint64 timeMs) = 0;
    // Seconds into the item of the frame most recently shown (or the last seek target).
    virtual double currentTime() const = 0;
    // The item's nominal frame rate, 0 when unknown or without item.
    virtual double frameRate() const = 0;
    // The item's duration in ms, known as soon as the item is replaced; 0 without item.
    virtual qint64 durationMs() const = 0;

    // 0.0 to 1.0.
    virtual void setVolume(double volume) = 0;
    virtual double volume() const = 0;
    virtual void setMuted(bool muted) = 0;
    virtual bool isMuted() const = 0;
    // Brightness offset -1.0 to 1.0, 0 leaves the picture untouched. The picture on screen is drawn
    // again with it, the same picture while paused.
    virtual void setBrightness(double brightness) = 0;
    virtual double brightness() const = 0;

    // A new widget that shows the picture; the caller owns it through its Qt parent.
    virtual QWidget *createVideoWidget(QWidget *parent) = 0;

signals:
    // The item's status changed (ready or failed).
    void statusChanged();
    // Playback reached the end of the item and its last frame is on screen, where the engine stays.
    void endOfItem();
    // A new picture was shown; time is the frame's time in seconds into the item.
    void frameShown(double timeSec);
    // The picture a pause from play rests on is on screen and was reported by frameShown, or the wait ended.
    void pauseSettled();
};
