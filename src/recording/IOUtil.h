// Removal of files and folders and the free space of a volume, for the readers and tools.
#pragma once

#include <QString>
#include <cstdint>

class IOUtil
{
public:
    IOUtil() = delete;

    // Removes the file or folder (with its contents) at the path; failures are ignored.
    static void remove(const QString &path);
    // Bytes available on the file system that holds the path; -1 when it cannot be read.
    static std::int64_t getFreeSpace(const QString &path);
};
