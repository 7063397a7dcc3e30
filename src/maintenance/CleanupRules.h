// The delete dialog's decisions: whole folder or chapters, whether the folder is the source open in the
// main window, and the free space shown after the deletion.
#pragma once

#include <QString>
#include <QUrl>
#include <cstdint>
#include <optional>

class BackupTree;

class CleanupRules
{
public:
    CleanupRules() = delete;

    // Every chapter chosen (and at least one): the run deletes the whole folder.
    static bool isWholeFolder(const BackupTree &tree);
    // The open source's folder (a file gives its folder) is the cleanup folder or lies inside it, compared
    // without regard to case and to a trailing "/".
    static bool isInUse(const std::optional<QUrl> &openSourcePath, const QString &cleanupDirPath);
    // Free bytes after the deletion: the chosen chapters' sizes plus the free space, plus the management
    // files when the whole folder goes.
    static std::int64_t freeAfterDelete(const BackupTree &tree, std::int64_t freeBytes,
                                        std::int64_t managementBytes);
};
