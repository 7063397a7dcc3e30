// The note "mv.txt" in the application-data folder "Orvalind": when the map was last set up,
// with which application version and which map script version.
#pragma once

#include <QDateTime>
#include <QString>

class MapVersionNote
{
public:
    // The folder the note goes in, or empty when the system gives no application-data folder.
    static QString defaultFolder();

    // The three lines of the note, each ended by a line feed.
    static QString text(const QDateTime &now, const QString &appVersion, const QString &mapVersion);

    // Writes the note into folder (made when missing); failures are console lines only.
    static bool write(const QString &folder, const QString &appVersion, const QString &mapVersion,
                      const QDateTime &now = QDateTime::currentDateTime());
};
