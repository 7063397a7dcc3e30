// The sound libraries libmpv opens (ALSA, PipeWire) write their complaints straight to the terminal:
// on a machine without a sound device a dozen lines for every chapter played, while mpv goes on
// without sound as told. ALSA's lines go to the "orv.player.sound" debug category instead, and
// PipeWire's are left out unless that category is shown (QT_LOGGING_RULES="orv.player.sound.debug=true").
#pragma once

class SoundLibraryLog
{
public:
    SoundLibraryLog() = delete;

    // Once per process, before the first mpv instance is made. A PIPEWIRE_DEBUG the user set stays.
    static void routeToQtLog();
};
