// Program-wide build setting that chooses the display names of the camera destinations.
#pragma once

class FormUtil
{
public:
    FormUtil() = delete;

    enum class AppTarget
    {
        Common,
        Gyomu12Only,
    };

    // Fixed at build time; nothing changes it while the program runs.
    static constexpr AppTarget appTarget = AppTarget::Common;
};
