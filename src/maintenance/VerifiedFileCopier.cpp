#include "maintenance/VerifiedFileCopier.h"

#include "maintenance/StreamHash.h"
#include "recording/FileUtil.h"

#include <QFile>
#include <QFileInfo>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {
constexpr size_t kBufferSize = 1 << 20;

FileCopier::Result failure(const QString &what, int error)
{
    return {false,
            error ? QStringLiteral("%1: %2").arg(what, QString::fromLocal8Bit(std::strerror(error))) : what};
}

// Closes the descriptor on every way out.
struct Fd
{
    int fd = -1;
    ~Fd()
    {
        if (fd >= 0)
            ::close(fd);
    }
};
} // namespace

VerifiedFileCopier::VerifiedFileCopier() : _buffer(kBufferSize) {}

ssize_t VerifiedFileCopier::readChunk(int fd, char *buffer, size_t size)
{
    return ::read(fd, buffer, size);
}

ssize_t VerifiedFileCopier::writeChunk(int fd, const char *buffer, size_t size)
{
    return ::write(fd, buffer, size);
}

int VerifiedFileCopier::openTemporary(const QByteArray &path)
{
    return ::open(path.constData(), O_RDWR | O_CREAT | O_EXCL | O_CLOEXEC, 0644);
}

FileCopier::Result VerifiedFileCopier::copy(const QString &source, const QString &target)
{
    Fd in{::open(QFile::encodeName(source).constData(), O_RDONLY | O_CLOEXEC)};
    if (in.fd < 0)
        return failure(QStringLiteral("cannot open %1").arg(source), errno);
    struct stat st
    {
    };
    if (::lstat(QFile::encodeName(target).constData(), &st) == 0 && S_ISDIR(st.st_mode))
        return failure(QStringLiteral("a folder stands where %1 goes").arg(target), 0);

    const QByteArray temporary =
        QFile::encodeName(FileUtil::hiddenPathBeside(target, QStringLiteral("part")));
    const Result result = copyOpen(in.fd, source, target, temporary);
    if (!result.ok)
        ::unlink(temporary.constData());
    return result;
}

FileCopier::Result VerifiedFileCopier::copyOpen(int in, const QString &source, const QString &target,
                                                const QByteArray &temporary)
{
    struct stat before
    {
    };
    if (::fstat(in, &before) != 0)
        return failure(QStringLiteral("cannot read %1").arg(source), errno);
    if (!S_ISREG(before.st_mode))
        return failure(QStringLiteral("%1 is no regular file").arg(source), 0);
    ::posix_fadvise(in, 0, 0, POSIX_FADV_SEQUENTIAL);

    Fd out{openTemporary(temporary)};
    if (out.fd < 0)
        return failure(QStringLiteral("cannot create a file beside %1").arg(target), errno);

    StreamHash written;
    for (;;) {
        const ssize_t n = readChunk(in, _buffer.data(), _buffer.size());
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0)
            return failure(QStringLiteral("cannot read %1").arg(source), errno);
        if (n == 0)
            break;
        written.update(_buffer.data(), size_t(n));
        for (ssize_t done = 0; done < n;) {
            const ssize_t w = writeChunk(out.fd, _buffer.data() + done, size_t(n - done));
            if (w < 0 && errno == EINTR)
                continue;
            if (w <= 0)
                return failure(QStringLiteral("cannot write beside %1").arg(target), w < 0 ? errno : ENOSPC);
            done += w;
        }
    }

    // A source cut short, grown, replaced or removed while it was read gives no trustworthy copy.
    struct stat after
    {
    };
    if (std::uint64_t(before.st_size) != written.length())
        return failure(QStringLiteral("%1 changed size while it was copied").arg(source), 0);
    if (::stat(QFile::encodeName(source).constData(), &after) != 0 || after.st_ino != before.st_ino ||
        after.st_dev != before.st_dev || after.st_size != before.st_size)
        return failure(QStringLiteral("%1 vanished or changed while it was copied").arg(source), 0);

    // Replacing an earlier backup: its new bytes must be on the disk before the rename drops the old ones.
    const bool replaces = ::lstat(QFile::encodeName(target).constData(), &after) == 0;
    if (replaces && ::fdatasync(out.fd) != 0)
        return failure(QStringLiteral("cannot write beside %1").arg(target), errno);

    StreamHash readBack;
    for (off_t offset = 0;;) {
        const ssize_t n = ::pread(out.fd, _buffer.data(), _buffer.size(), offset);
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0)
            return failure(QStringLiteral("cannot read back the copy of %1").arg(source), errno);
        if (n == 0)
            break;
        readBack.update(_buffer.data(), size_t(n));
        offset += n;
    }
    if (readBack.length() != written.length() || readBack.digest() != written.digest())
        return failure(QStringLiteral("the copy of %1 does not match its source").arg(source), 0);

    const int fd = out.fd;
    out.fd = -1;
    if (::close(fd) != 0)
        return failure(QStringLiteral("cannot write beside %1").arg(target), errno);
    if (::rename(temporary.constData(), QFile::encodeName(target).constData()) != 0)
        return failure(QStringLiteral("cannot put the copy at %1").arg(target), errno);
    return {true, {}};
}
