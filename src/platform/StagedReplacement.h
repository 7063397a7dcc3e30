// Puts a finished file in place of a destination so that the destination is never half written: the file
// first goes to a hidden folder of its own beside the destination (moved there on the same file system,
// copied from another one), and one rename then replaces whatever the destination held. Until that rename
// the old file stays whole; a copy that fails, for want of room or otherwise, leaves nothing behind. The
// folder carries a lock while in use, so the folder a killed program left is removed by the next staging
// beside it.
#pragma once

#include "platform/LockedWorkFolder.h"

#include <QString>
#include <memory>

class StagedReplacement
{
public:
    // folderPrefix names the hidden folder (".trim-" gives ".trim-XXXXXX").
    StagedReplacement(const QString &destination, QString folderPrefix);
    // Removes the staged file unless it was committed.
    ~StagedReplacement();
    StagedReplacement(const StagedReplacement &) = delete;
    StagedReplacement &operator=(const StagedReplacement &) = delete;

    // Moves or copies file beside the destination; the file itself may be gone afterwards. False, with
    // error() set, when it could not be staged whole.
    bool stage(const QString &file);
    // Renames the staged file over the destination. False, with error() set, when the rename fails.
    bool commit();
    // "<destination>: <the system's reason>" (the file's own path when it could not be read).
    const QString &error() const { return _error; }

private:
    bool copy(const QString &from, const QString &to);
    void setError(const QString &reason) { _error = _destination + QStringLiteral(": ") + reason; }

    QString _destination;
    QString _prefix;
    std::unique_ptr<LockedWorkFolder> _folder;
    QString _staged;
    QString _error;
};
