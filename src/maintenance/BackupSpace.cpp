#include "maintenance/BackupSpace.h"

#include "maintenance/BackupTree.h"

#include <QFile>
#include <sys/statvfs.h>

std::int64_t BackupSpace::neededBytes(std::span<const std::int64_t> fileSizes, std::int64_t blockSize)
{
    std::int64_t total = 0;
    for (const std::int64_t size : fileSizes) {
        if (size <= 0)
            continue;
        total += blockSize < 1 ? size : (size + blockSize - 1) / blockSize * blockSize;
    }
    return total;
}

std::vector<std::int64_t> BackupSpace::fileSizes(const BackupTree &tree,
                                                 const std::array<std::int64_t, 3> &managementSizes)
{
    std::vector<std::int64_t> sizes;
    for (const auto &trip : tree.backups()) {
        for (const auto &item : trip.children) {
            if (item.chapterItem == 1)
                sizes.push_back(std::int64_t(item.fileSize));
        }
    }
    if (!sizes.empty())
        sizes.insert(sizes.end(), managementSizes.begin(), managementSizes.end());
    return sizes;
}

std::int64_t BackupSpace::blockSizeOf(const QString &path)
{
    struct statvfs fs
    {
    };
    if (::statvfs(QFile::encodeName(path).constData(), &fs) != 0)
        return -1;
    return std::int64_t(fs.f_frsize > 0 ? fs.f_frsize : fs.f_bsize);
}
