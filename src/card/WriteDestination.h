// Checks on a file the user chose to write (a clip, a still, a KMZ) before anything is written: it must
// not land on the opened card or backup, and its folder must take new files.
#pragma once

#include "card/TripData.h"

#include <QCoreApplication>
#include <QString>
#include <QUrl>
#include <optional>

class WriteDestination
{
    Q_DECLARE_TR_FUNCTIONS(WriteDestination)

public:
    WriteDestination() = delete;

    // Why destination would write over the opened source; none when it would not. Refused are: any path
    // inside the opened folder (a card's MOVE folder or a backup folder), at any depth; the opened file
    // of a single-movie source; the card's settings file beside the opened folder; and the given
    // chapters' files. Compared by device and inode on the destination and each of its existing parent
    // folders, and on a file system that ignores case also by path without regard to case, so links, ".."
    // and another letter case on a card drive cannot hide it.
    static std::optional<QString> sourceConflict(const QString &destination,
                                                 const std::optional<QUrl> &openSourcePath,
                                                 const ChapterList &chapters = {});
    // Why no new file can be made in folder (a file is made there and removed at once, so a read-only
    // mount, missing rights or a missing folder are all found); none when one can.
    static std::optional<QString> folderProblem(const QString &folder);

    // The user's texts for the two refusals.
    static QString sourceConflictText();
    static QString folderProblemText();

    // True when path, or its nearest existing parent folder, is folder or lies inside it.
    static bool liesInside(const QString &path, const QString &folder);
    // True when both paths exist and name the same file (also by another letter case where that is one).
    static bool isSameFile(const QString &a, const QString &b);
};
