// The Google Earth export command: the item being played saved as a KMZ file where the user chooses,
// the folder remembered, and the file offered to Google Earth.
#pragma once

#include <QCoreApplication>
#include <QString>
#include <optional>

class GoogleEarthExportHost;
class GoogleEarthLauncher;
class KmzExporter;
class UserDefaultUtil;

class GoogleEarthExportCommand
{
    Q_DECLARE_TR_FUNCTIONS(GoogleEarthExportCommand)

public:
    enum class Outcome
    {
        NothingToExport, // no ready item, or its list row is out of range
        Cancelled,       // at the save panel, or while the file was being made (nothing was written)
        Failed,          // the user was warned; the old file, if any, is unchanged
        Exported
    };

    GoogleEarthExportCommand(GoogleEarthExportHost &host, UserDefaultUtil &settings, KmzExporter &exporter,
                             GoogleEarthLauncher &launcher);

    Outcome exportGoogleEarthFile();
    // False, after warning the user, when the name holds a character file names may not hold. A
    // missing or empty name passes.
    bool checkFileName(const std::optional<QString> &name);

    static bool isValidFileName(const QString &name);
    // The 37 refused characters, in the order they are tested.
    static const QString &invalidFileNameCharacters();
    // The last export's folder when it still exists, else Documents when it exists, else the home folder.
    QString startFolder() const;

private:
    GoogleEarthExportHost &_host;
    UserDefaultUtil &_settings;
    KmzExporter &_exporter;
    GoogleEarthLauncher &_launcher;
};
