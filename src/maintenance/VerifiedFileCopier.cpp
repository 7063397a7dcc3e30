#include "maintenance/VerifiedFileCopier.h"

#include "maintenance/StreamHash.h"
#include "recording/FileUtil.h"

#include <QFile>
#include <QFileInfo>
#include <algorithm>
#include <cerrno>
#include <condition_variable>
#include <cstring>
#include <fcntl.h>
#include <sys/file.h>
#include <mutex>
#include <sys/stat.h>
#include <thread>
#include <unistd.h>

namespace {
constexpr size_t kBufferSize = 1 << 20;
// The copy is written out and read back in pieces of this size, each read back while the next is written.
constexpr size_t kPiece = size_t(8) << 20;

FileCopier::Result failure(const QString &what, int error)
{
    return {false,
            error ? QStringLiteral("%1: %2").arg(what, QString::fromLocal8Bit(std::strerror(error))) : what};
}

// The pieces written so far, handed from the copying thread to the one reading them back.
struct Written
{
    std::mutex mutex;
    std::condition_variable grown;
    off_t bytes = 0;
    bool isFinal = false; // no more pieces: read back what is left, or stop after a failure
    bool isAbandoned = false;

    void add(off_t n)
    {
        {
            std::lock_guard lock(mutex);
            bytes += n;
        }
        grown.notify_one();
    }
    void finish(bool abandon)
    {
        {
            std::lock_guard lock(mutex);
            isFinal = true;
            isAbandoned = abandon;
        }
        grown.notify_one();
    }
};

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

VerifiedFileCopier::VerifiedFileCopier() : _buffer(kBufferSize), _readBackBuffer(kBufferSize) {}

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

    // The copy is locked while it is written, so another run clearing a dead run's leftovers passes it
    // by; one cleared in the moment before its lock is made anew under another name.
    for (int attempt = 0; attempt < 3; ++attempt) {
        const QByteArray temporary =
            QFile::encodeName(FileUtil::hiddenPathBeside(target, QStringLiteral("part")));
        Fd out{openTemporary(temporary)};
        if (out.fd < 0)
            return failure(QStringLiteral("cannot create a file beside %1").arg(target), errno);
        struct stat copy
        {
        };
        if (::flock(out.fd, LOCK_EX) == 0 && ::fstat(out.fd, &copy) == 0 && copy.st_nlink == 0)
            continue;
        const Result result = copyOpen(in.fd, out, source, target, temporary);
        if (!result.ok)
            ::unlink(temporary.constData());
        return result;
    }
    return failure(QStringLiteral("cannot create a file beside %1").arg(target), EAGAIN);
}

ssize_t VerifiedFileCopier::copyRange(int in, int out, size_t size)
{
    return ::copy_file_range(in, nullptr, out, nullptr, size, 0);
}

bool VerifiedFileCopier::hashRange(int fd, off_t offset, off_t length, StreamHash &hash,
                                   std::vector<char> &buffer)
{
    for (off_t end = offset + length; offset < end;) {
        const ssize_t n =
            ::pread(fd, buffer.data(), size_t(std::min<off_t>(end - offset, off_t(buffer.size()))), offset);
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0)
            return false;
        if (n == 0)
            break; // cut short: the lengths will differ
        hash.update(buffer.data(), size_t(n));
        offset += n;
    }
    return true;
}

bool VerifiedFileCopier::readBack(int fd, off_t offset, off_t length, StreamHash &hash,
                                  std::vector<char> &buffer)
{
    // Written out and dropped from memory, so the bytes read are the disk's, not the pages just written.
    ::sync_file_range(fd, offset, length,
                      SYNC_FILE_RANGE_WAIT_BEFORE | SYNC_FILE_RANGE_WRITE | SYNC_FILE_RANGE_WAIT_AFTER);
    ::posix_fadvise(fd, offset, length, POSIX_FADV_DONTNEED);
    return hashRange(fd, offset, length, hash, buffer);
}

ssize_t VerifiedFileCopier::copyThroughBuffer(int in, int out, StreamHash &source, Copied &copied)
{
    ssize_t piece = 0;
    while (size_t(piece) < kPiece) {
        const ssize_t n = readChunk(in, _buffer.data(), _buffer.size());
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0) {
            copied.error = errno;
            copied.failure = Copied::Failure::Read;
            return -1;
        }
        if (n == 0)
            break;
        source.update(_buffer.data(), size_t(n));
        for (ssize_t done = 0; done < n;) {
            const ssize_t w = writeChunk(out, _buffer.data() + done, size_t(n - done));
            if (w < 0 && errno == EINTR)
                continue;
            if (w <= 0) {
                copied.error = w < 0 ? errno : ENOSPC;
                copied.failure = Copied::Failure::Write;
                return -1;
            }
            done += w;
        }
        piece += n;
    }
    return piece;
}

VerifiedFileCopier::Copied VerifiedFileCopier::copyAndReadBack(int in, int out)
{
    Copied copied;
    StreamHash source;
    StreamHash copy;
    Written written;
    int readBackError = 0;
    bool isReadBackFailed = false;
    // Reads back each piece as soon as it is written: on a thread of its own the wait for the disk holds up
    // nothing, and at the end of a file at most its last piece is left to read back (trailing the writing
    // by a few pieces left that much to read back after the last write, file after file).
    std::thread reader([&] {
        off_t checked = 0;
        for (;;) {
            off_t due = 0;
            bool isFinal = false;
            {
                std::unique_lock lock(written.mutex);
                written.grown.wait(lock, [&] { return written.isFinal || written.bytes > checked; });
                if (written.isAbandoned)
                    return;
                isFinal = written.isFinal;
                due = written.bytes;
            }
            if (due > checked) {
                if (!readBack(out, checked, due - checked, copy, _readBackBuffer)) {
                    readBackError = errno;
                    isReadBackFailed = true;
                    return;
                }
                checked = due;
            }
            if (isFinal)
                return;
        }
    });
    // The reader's results are read only after it has been joined.
    const auto stop = [&](bool abandon) {
        written.finish(abandon);
        reader.join();
    };

    bool isInKernel = true;
    off_t offset = 0; // bytes in the copy
    for (;;) {
        ssize_t n = 0;
        if (isInKernel) {
            n = copyRange(in, out, kPiece);
            if (n < 0 && errno == EINTR)
                continue;
            // File systems the kernel cannot copy between say so on the first call, before anything moved.
            if (n < 0 && offset == 0 &&
                (errno == EXDEV || errno == ENOSYS || errno == EOPNOTSUPP || errno == EINVAL ||
                 errno == EBADF)) {
                isInKernel = false;
                continue;
            }
            if (n < 0) {
                copied.error = errno;
                copied.failure = Copied::Failure::Write;
                stop(true);
                return copied;
            }
            // These bytes never passed through here: the source's piece, still in memory, is hashed.
            if (n > 0 && !hashRange(in, offset, n, source, _buffer)) {
                copied.error = errno;
                copied.failure = Copied::Failure::Read;
                stop(true);
                return copied;
            }
        } else if ((n = copyThroughBuffer(in, out, source, copied)) < 0) {
            stop(true);
            return copied;
        }
        if (n == 0)
            break;
        // The piece goes to the disk while the reader reads back those before it.
        ::sync_file_range(out, offset, n, SYNC_FILE_RANGE_WRITE);
        offset += n;
        written.add(n);
    }
    stop(false);
    if (isReadBackFailed) {
        copied.error = readBackError;
        copied.failure = Copied::Failure::ReadBack;
        return copied;
    }
    copied.source = {source.length(), source.digest()};
    copied.readBack = {copy.length(), copy.digest()};
    return copied;
}

FileCopier::Result VerifiedFileCopier::copyOpen(int in, Fd &out, const QString &source, const QString &target,
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

    const Copied copied = copyAndReadBack(in, out.fd);
    switch (copied.failure) {
    case Copied::Failure::None:
        break;
    case Copied::Failure::Read:
        return failure(QStringLiteral("cannot read %1").arg(source), copied.error);
    case Copied::Failure::Write:
        return failure(QStringLiteral("cannot write beside %1").arg(target), copied.error);
    case Copied::Failure::ReadBack:
        return failure(QStringLiteral("cannot read back the copy of %1").arg(source), copied.error);
    }

    // A source cut short, grown, replaced or removed while it was read gives no trustworthy copy.
    struct stat after
    {
    };
    if (std::uint64_t(before.st_size) != copied.source.length)
        return failure(QStringLiteral("%1 changed size while it was copied").arg(source), 0);
    if (::stat(QFile::encodeName(source).constData(), &after) != 0 || after.st_ino != before.st_ino ||
        after.st_dev != before.st_dev || after.st_size != before.st_size)
        return failure(QStringLiteral("%1 vanished or changed while it was copied").arg(source), 0);

    // The copy is whole on the disk before the rename can drop an earlier backup's file.
    if (::fdatasync(out.fd) != 0)
        return failure(QStringLiteral("cannot write beside %1").arg(target), errno);
    if (copied.readBack.length != copied.source.length || copied.readBack.hash != copied.source.hash)
        return failure(QStringLiteral("the copy of %1 does not match its source").arg(source), 0);

    // A duplicate keeps the copy locked until it has its name, while the close reports late write errors.
    const Fd locked{::dup(out.fd)};
    const int fd = out.fd;
    out.fd = -1;
    if (::close(fd) != 0)
        return failure(QStringLiteral("cannot write beside %1").arg(target), errno);
    if (::rename(temporary.constData(), QFile::encodeName(target).constData()) != 0)
        return failure(QStringLiteral("cannot put the copy at %1").arg(target), errno);
    return {true, {}};
}
