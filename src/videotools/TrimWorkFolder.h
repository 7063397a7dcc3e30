// Where a trim keeps its temporary files. On the destination's file system the finished clip is renamed
// into place, not copied, and the intermediate files go to the disk that takes the clip (a system temp
// folder in memory would hold them all in RAM).
#pragma once

#include <QString>

class TrimWorkFolder
{
public:
    // The template of the job's private folder (for QTemporaryDir): below the configured base when that
    // lies on the destination folder's file system (or the destination folder cannot be looked at), else
    // a hidden folder beside the destination. The base must exist.
    static QString pathTemplate(const QString &configuredBase, const QString &destination);
    // True when both paths exist and lie on the same file system.
    static bool isSameFileSystem(const QString &first, const QString &second);
};
