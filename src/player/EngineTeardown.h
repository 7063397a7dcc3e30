// Ends what a media engine leaves behind off the main thread: a core closing waits for it to close its file,
// which on a slow card takes long. Each ending runs on a thread of its own; the program waits for them all
// before it exits.
#pragma once

#include <functional>

class EngineTeardown
{
public:
    static void run(std::function<void()> ending);
};
