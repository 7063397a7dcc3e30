#include "platform/BoundedFileReader.h"

#include <QCoreApplication>
#include <QFile>

#include <algorithm>
#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <system_error>
#include <unistd.h>

namespace {

QString tr(const char *text)
{
    return QCoreApplication::translate("BoundedFileReader", text);
}

QString withErrno(const char *text, int error)
{
    return tr(text).arg(QString::fromStdString(std::generic_category().message(error)));
}

} // namespace

namespace {

// What the path leads to, or why it is not a regular file.
QString statRegular(const QByteArray &name, struct stat &info)
{
    if (::lstat(name.constData(), &info) != 0)
        return withErrno("cannot be opened: %1", errno);
    // A link is followed, but what it leads to must itself be a regular file.
    if (S_ISLNK(info.st_mode) && ::stat(name.constData(), &info) != 0)
        return withErrno("cannot be opened: %1", errno);
    if (!S_ISREG(info.st_mode))
        return tr("not a regular file");
    return {};
}

} // namespace

QString BoundedFileReader::whyNotRegular(const QString &path)
{
    struct stat info = {};
    return statRegular(QFile::encodeName(path), info);
}

BoundedFileReader::BoundedFileReader(const QString &path)
{
    const QByteArray name = QFile::encodeName(path);
    struct stat before = {};
    if (const QString refusal = statRegular(name, before); !refusal.isEmpty()) {
        fail(refusal);
        return;
    }
    // Should a FIFO take the file's place after the check, a non-blocking open still returns at once
    // (a blocking one would wait for a writer forever); the check after the open then refuses it.
    const int fd = ::open(name.constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY);
    if (fd < 0) {
        fail(withErrno("cannot be opened: %1", errno));
        return;
    }
    struct stat after = {};
    if (::fstat(fd, &after) != 0 || !S_ISREG(after.st_mode) || after.st_dev != before.st_dev ||
        after.st_ino != before.st_ino) {
        ::close(fd);
        fail(tr("was replaced while it was opened"));
        return;
    }
    _fd = fd;
    _size = uint64_t(after.st_size);
}

BoundedFileReader::~BoundedFileReader()
{
    if (_fd >= 0)
        ::close(_fd);
}

void BoundedFileReader::fail(const QString &reason)
{
    _error = reason;
}

bool BoundedFileReader::readInto(uint64_t offset, std::span<uint8_t> out)
{
    if (!isOpen())
        return false;
    if (offset > _size || out.size() > _size - offset) {
        fail(tr("a read runs past the end of the file"));
        return false;
    }
    size_t done = 0;
    while (done < out.size()) {
        const ssize_t n = ::pread(_fd, out.data() + done, out.size() - done, off_t(offset + done));
        if (n < 0) {
            if (errno == EINTR)
                continue;
            fail(withErrno("read failed: %1", errno));
            return false;
        }
        if (n == 0) {
            fail(tr("ended early: it was cut short or removed while it was read"));
            return false;
        }
        done += size_t(n);
    }
    return true;
}

BoundedFileReader::Contents BoundedFileReader::readFile(const QString &path, qint64 maxBytes,
                                                        Oversize oversize)
{
    BoundedFileReader file(path);
    if (!file.isOpen())
        return {{}, file.error()};
    uint64_t count = file.size();
    const uint64_t bound = uint64_t(std::max<qint64>(maxBytes, 0));
    if (count > bound) {
        if (oversize == Oversize::Refuse)
            return {{}, tr("larger than %1 bytes, far more than its format holds").arg(bound)};
        count = bound;
    }
    QByteArray bytes(qsizetype(count), Qt::Uninitialized);
    if (!file.readInto(0, std::span(reinterpret_cast<uint8_t *>(bytes.data()), size_t(count))))
        return {{}, file.error()};
    return {bytes, {}};
}
