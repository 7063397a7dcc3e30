// The picture a pause of the player panel keeps. Playing, the picture may be up to the sync margin off the
// clock, and the engine still shows the pictures its core had queued before the pause: seeking the picture
// to the clock's position would step it back, so the position comes to each picture instead until the
// engine rests on one. Whoever needs that picture (a capture) waits for it here.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <vector>

class MoviePlayerView;

class PausePictureKeeper
{
public:
    explicit PausePictureKeeper(MoviePlayerView &panel) : _panel(panel) {}

    // The panel paused, from play or not: the engine pauses, and from play its picture stays; at the item's
    // end the playing movie runs on to its last picture instead.
    void pause(bool wasPlaying);
    // A new picture is on screen: while the pause keeps its picture, the position comes to it.
    void pictureShown(double timeSec);
    // The engine rests, or a play, a stop or a move took over: the waiters run, on a later pass of the
    // event loop.
    void stopKeeping();
    // Runs then once the picture is at rest and the position names it: at once, or after stopKeeping.
    void whenAtRest(std::function<void()> then);
    // Movie time (ms) of the picture at the position, where a pause or a seek brings the engine on screen.
    std::optional<int64_t> restingMovieTime() const;

private:
    void keep();
    void takeShownPicture(double timeSec);

    MoviePlayerView &_panel;
    bool _isKeeping = false;
    std::vector<std::function<void()>> _waiters;
};
