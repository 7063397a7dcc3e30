// The four overlay check boxes and the last save folders, as the trim, capture and panel tools keep
// them in the settings store from one use to the next.
#pragma once

#include "videotools/OverlayFlags.h"

#include <QString>

class UserDefaultUtil;

class OverlayChoices
{
public:
    OverlayChoices() = delete;

    static OverlayFlags load(const UserDefaultUtil &settings);
    // Writes the choices to the in-memory values and to the store.
    static void store(UserDefaultUtil &settings, OverlayFlags flags);
    // "pathDirCut" or "pathDirCap": the folder the save panel showed, in memory and in the store.
    static void storeCutFolder(UserDefaultUtil &settings, const QString &folder);
    static void storeCaptureFolder(UserDefaultUtil &settings, const QString &folder);
    // The stored folder when it is set and still exists, else fallback.
    static QString startFolder(const QString &stored, const QString &fallback);
};
