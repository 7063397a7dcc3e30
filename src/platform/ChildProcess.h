// Ties a child program's life to ours: a helper (ffmpeg and the like) that goes on after the viewer was
// killed keeps writing into folders nobody will clean, and holds the CPU for nothing.
#pragma once

class QProcess;

class ChildProcess
{
public:
    ChildProcess() = delete;

    // The program process starts next is killed when the thread that starts it ends, which for our
    // runs is when the program ends in any way (the thread waits for its child or is the main thread).
    // Must be set before start().
    static void endWithParent(QProcess &process);
};
