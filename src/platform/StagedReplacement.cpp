#include "platform/StagedReplacement.h"

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <unistd.h>

namespace {

QString systemError()
{
    return QString::fromLocal8Bit(std::strerror(errno));
}

int renameFile(const QString &from, const QString &to)
{
    return std::rename(QFile::encodeName(from).constData(), QFile::encodeName(to).constData());
}

// Straight to the file, so that a volume that runs full stops the copy with the system's reason (errno).
bool writeAll(int fd, const char *data, qint64 size)
{
    while (size > 0) {
        const ssize_t written = ::write(fd, data, size_t(size));
        if (written < 0 && errno == EINTR)
            continue;
        if (written <= 0)
            return false;
        data += written;
        size -= written;
    }
    return true;
}

} // namespace

StagedReplacement::StagedReplacement(const QString &destination, QString folderPrefix)
    : _destination(QFileInfo(destination).absoluteFilePath()), _prefix(std::move(folderPrefix))
{
}

// The staged file goes with its folder.
StagedReplacement::~StagedReplacement() = default;

bool StagedReplacement::stage(const QString &file)
{
    const QString parent = QFileInfo(_destination).absolutePath();
    LockedWorkFolder::removeDead(parent, _prefix);
    _folder = std::make_unique<LockedWorkFolder>(QDir(parent).filePath(_prefix + QStringLiteral("XXXXXX")));
    if (!_folder->isValid()) {
        setError(systemError());
        return false;
    }
    const QString staged = QDir(_folder->path()).filePath(QStringLiteral("file.part"));
    if (renameFile(file, staged) != 0) {
        if (errno != EXDEV) {
            setError(systemError());
            return false;
        }
        if (!copy(file, staged))
            return false;
    }
    _staged = staged;
    return true;
}

bool StagedReplacement::copy(const QString &from, const QString &to)
{
    QFile in(from);
    if (!in.open(QIODevice::ReadOnly)) {
        _error = from + QStringLiteral(": ") + in.errorString();
        return false;
    }
    QFile out(to);
    if (!out.open(QIODevice::WriteOnly | QIODevice::NewOnly | QIODevice::Unbuffered)) {
        setError(out.errorString());
        return false;
    }
    QByteArray block(1 << 20, Qt::Uninitialized);
    for (;;) {
        const qint64 read = in.read(block.data(), block.size());
        if (read < 0) {
            _error = from + QStringLiteral(": ") + in.errorString();
            return false;
        }
        if (read == 0)
            break;
        if (!writeAll(out.handle(), block.constData(), read)) {
            setError(systemError());
            return false;
        }
    }
    // On the disk before it replaces the old file, which a crash just after the rename must not cost.
    if (::fsync(out.handle()) != 0) {
        setError(systemError());
        return false;
    }
    return true;
}

bool StagedReplacement::commit()
{
    if (_staged.isEmpty())
        return false;
    if (renameFile(_staged, _destination) != 0) {
        setError(systemError());
        return false;
    }
    _staged.clear();
    return true;
}
