// How a tool reports its end to the window that opened it (the main window implements it).
#pragma once

class ToolViewDelegate
{
public:
    // Result codes of toolWindowClosed.
    enum Result
    {
        Back = 0, // Back, or the tool window's close button
        Cancel = 1,
        Saved = 2,
        CancelledWhileRunning = 3,
    };

    virtual ~ToolViewDelegate() = default;
    // Ends the tool window's modal run; for Cancel and Saved the player leaves its trim mode, for
    // CancelledWhileRunning the user is told "The trim tool operation was cancelled.".
    virtual void toolWindowClosed(int result) = 0;
    // Ends the tool window's modal run without a result (capture).
    virtual void closeToolWindow() = 0;
};
