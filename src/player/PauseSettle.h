// A media engine's pause from play, until the picture its core rests on is on screen: the core still shows
// the pictures it had queued before the pause took, and the one it rests on is its time once the pause is in,
// which a read sent right behind the pause gives.
#pragma once

#include <functional>
#include <optional>

class QObject;
struct mpv_event;

class PauseSettle
{
public:
    // A pause's last pictures are due within a picture interval or two; a core that drew its resting picture
    // without a new picture (a dropped one drawn again) is taken at its word after LIMIT_MS. A core that does
    // not answer at all leaves the picture as it is after ANSWER_LIMIT_MS.
    static constexpr int LIMIT_MS = 300;
    static constexpr int ANSWER_LIMIT_MS = 1500;

    // What the settle reads of its engine and tells it. Times in seconds into the item.
    struct Engine
    {
        // Sends the read of the core's time right behind the pause; false when the core refused it.
        std::function<bool()> readRestingTime;
        // The time the core last reported.
        std::function<double()> timePos;
        // The time of the picture on screen, and the item's frame rate (0 when unknown).
        std::function<double()> shownTime;
        std::function<double()> frameRate;
        // The settle is over: the time of the picture the core rests on, or none to leave the picture as it
        // is.
        std::function<void(std::optional<double> restSec)> ended;
    };

    // The limits' timers run on context's thread, and not after context is gone.
    PauseSettle(QObject *context, Engine engine);
    PauseSettle(const PauseSettle &) = delete;
    PauseSettle &operator=(const PauseSettle &) = delete;

    // Paused from a play at playRate, the resting time read is sent.
    void start(double playRate);
    bool isSettling() const { return _settle.has_value(); }
    // While settling: the rate played, at which the pictures still on their way are counted.
    double playRate() const { return _settle ? _settle->playRate : 0.0; }
    // The core's answer to the read (its reply with the read's tag).
    void takeReply(const mpv_event &event);
    // A picture was drawn: the settle ends once the one the core rests on is on screen.
    void check();
    // Ends it now: the picture at restSec, or none to leave it as it is.
    void end(std::optional<double> restSec);

private:
    struct Settle
    {
        double playRate = 1.0;
        std::optional<double> restSec;
        int id = 0;
    };

    QObject *_context;
    Engine _engine;
    std::optional<Settle> _settle;
    int _settles = 0;
    int _readsInFlight = 0;
};
