// The libmpv core under a media engine: made with the options the panel's engines need, and asked to load a
// file at a position.
#pragma once

#include <QString>

#include <cstdint>
#include <optional>

struct mpv_handle;

class MpvCore
{
public:
    MpvCore() = delete;

    // A core set up and initialised, paused and idle; ends the program when libmpv cannot make one.
    static mpv_handle *create();
    // Sends the load of the file, replacing the core's current one and showing first the picture at
    // startSeconds (the file's first without it); the reply comes tagged replyTag. False when the core
    // refused the command.
    static bool loadAsync(mpv_handle *core, uint64_t replyTag, const QString &path,
                          std::optional<double> startSeconds);
};
