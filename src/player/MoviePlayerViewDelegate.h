// What the player panel asks of the main window.
#pragma once

class MoviePlayerViewDelegate
{
public:
    virtual ~MoviePlayerViewDelegate() = default;
    // Every clock tick in the same chapter: draw the frame at the position and feed the stopwatch.
    virtual void updateFrameWithStopWatch() = 0;
    // The chapter changed: select its list row, refresh the frame panel and the title.
    virtual bool syncChapterSelection() = 0;
    // Draw the frame at the position; playing is true while the clock runs.
    virtual void updateFrameDisplay(bool playing) = 0;
    // Alert "Unable to locate the file."
    virtual void showFileNotFound() = 0;
    // Alert that the current video data could not be loaded.
    virtual void showLoadFailed() = 0;
    // Button codes of the panel (7 = stop, 1/2 sync, 3 previous item, 4 next item).
    virtual void moviePlayerNotify(int code) = 0;
};
