#include "maintenance/CleanupRules.h"

#include "maintenance/BackupTree.h"
#include "recording/FileUtil.h"

#include <QDir>

bool CleanupRules::isWholeFolder(const BackupTree &tree)
{
    const int checked = tree.checkedCount();
    return checked > 0 && checked == tree.chapterCount();
}

bool CleanupRules::isInUse(const std::optional<QUrl> &openSourcePath, const QString &cleanupDirPath)
{
    if (!openSourcePath)
        return false;
    const auto folder = FileUtil::splitPath(*openSourcePath).first;
    if (!folder)
        return false;
    // A movie file opened on its own lies in a sub-folder of the backup folder, and the delete removes it
    // all the same: the main window must let go of it too.
    const QString open = QDir::cleanPath(folder->toLocalFile()).toUpper();
    const QString cleanup = QDir::cleanPath(cleanupDirPath).toUpper();
    return open == cleanup || open.startsWith(cleanup.endsWith(u'/') ? cleanup : cleanup + u'/');
}

std::int64_t CleanupRules::freeAfterDelete(const BackupTree &tree, std::int64_t freeBytes,
                                           std::int64_t managementBytes)
{
    return std::int64_t(tree.checkedSize()) + freeBytes + (isWholeFolder(tree) ? managementBytes : 0);
}
