// The room a backup takes on its target: every file is stored in whole blocks of the target's file
// system, so a selection of many small files needs more than the sum of their sizes.
#pragma once

#include <QString>
#include <array>
#include <cstdint>
#include <span>
#include <vector>

class BackupTree;

class BackupSpace
{
public:
    BackupSpace() = delete;

    // Each size rounded up to whole blocks, summed; a block size below 1 (unknown) counts bytes as they are.
    static std::int64_t neededBytes(std::span<const std::int64_t> fileSizes, std::int64_t blockSize);
    // The sizes a backup of the tree writes: its checked chapters and, with any of them, the management
    // files.
    static std::vector<std::int64_t> fileSizes(const BackupTree &tree,
                                               const std::array<std::int64_t, 3> &managementSizes);
    // The allocation block of the file system holding path; -1 when it cannot be read.
    static std::int64_t blockSizeOf(const QString &path);
};
