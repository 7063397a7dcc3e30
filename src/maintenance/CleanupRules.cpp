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
    return QDir::cleanPath(folder->toLocalFile()).toUpper() == QDir::cleanPath(cleanupDirPath).toUpper();
}

std::int64_t CleanupRules::freeAfterDelete(const BackupTree &tree, std::int64_t freeBytes,
                                           std::int64_t managementBytes)
{
    return std::int64_t(tree.checkedSize()) + freeBytes + (isWholeFolder(tree) ? managementBytes : 0);
}
