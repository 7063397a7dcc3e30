// Finds an installed Google Earth and opens an exported file with the desktop's handler for KMZ files.
#pragma once

#include <QString>

class GoogleEarthLauncher
{
public:
    virtual ~GoogleEarthLauncher() = default;

    // True when "google-earth-pro" (or "google-earth") is on the PATH, or the desktop names a
    // default application for KMZ files.
    virtual bool isInstalled();
    // Hands the file to the desktop, which opens it in the application that handles KMZ files.
    virtual bool openFile(const QString &path);

    static constexpr const char *KMZ_MIME_TYPE = "application/vnd.google-earth.kmz";
};
