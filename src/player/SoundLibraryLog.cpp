#include "player/SoundLibraryLog.h"

#include <QLoggingCategory>
#include <QString>

#include <alsa/asoundlib.h>
#include <cstdarg>
#include <cstdio>
#include <mutex>

namespace {

Q_LOGGING_CATEGORY(lcSound, "orv.player.sound", QtInfoMsg)

void alsaError(const char *file, int line, const char *function, int error, const char *format, ...)
{
    if (!lcSound().isDebugEnabled())
        return;
    char text[512];
    va_list args;
    va_start(args, format);
    std::vsnprintf(text, sizeof text, format, args);
    va_end(args);
    qCDebug(lcSound, "ALSA %s:%d (%s) %s%s%s", file, line, function, text, error ? ": " : "",
            error ? snd_strerror(error) : "");
}

} // namespace

void SoundLibraryLog::routeToQtLog()
{
    static std::once_flag once;
    std::call_once(once, [] {
        snd_lib_error_set_handler(&alsaError);
        // PipeWire reads its log level from the environment whenever a client starts; 0 is none. With
        // the category shown it writes its own lines as before.
        if (qEnvironmentVariableIsEmpty("PIPEWIRE_DEBUG") && !lcSound().isDebugEnabled())
            qputenv("PIPEWIRE_DEBUG", "0");
    });
}
