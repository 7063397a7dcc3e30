// The three management files a backup carries along with its chapters, and their sizes in a folder.
#pragma once

#include <QString>
#include <QStringList>
#include <array>
#include <cstdint>

class ManagementFiles
{
public:
    ManagementFiles() = delete;

    // In the order they are copied (after every chapter).
    static const QStringList &names();
    // Sizes in names() order; 0 for a file that is missing or no regular file.
    static std::array<std::int64_t, 3> sizesIn(const QString &folder);
    static std::int64_t totalIn(const QString &folder);
    // True when the name (in any case) is one of names().
    static bool isManagementFile(const QString &name);
};
