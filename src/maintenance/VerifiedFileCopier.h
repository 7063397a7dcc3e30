// The real copier: writes to a temporary name beside the target, hashes the bytes as it reads them, reads
// the written file back and compares size and hash, and only then renames it over the target. The old
// target is never removed first, and a folder standing where the file goes is refused.
#pragma once

#include "maintenance/FileCopier.h"

#include <QByteArray>
#include <sys/types.h>
#include <vector>

class VerifiedFileCopier : public FileCopier
{
public:
    VerifiedFileCopier();
    Result copy(const QString &source, const QString &target) override;

protected:
    // System-call seams for fault injection (a full disk, a read-only folder, a file changing mid-copy).
    virtual ssize_t readChunk(int fd, char *buffer, size_t size);
    virtual ssize_t writeChunk(int fd, const char *buffer, size_t size);
    virtual int openTemporary(const QByteArray &path);

private:
    Result copyOpen(int in, const QString &source, const QString &target, const QByteArray &temporary);

    std::vector<char> _buffer;
};
