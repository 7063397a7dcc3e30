#include "maintenance/GuardedRemover.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <cerrno>
#include <cstring>
#include <sys/stat.h>
#include <unistd.h>

namespace {
bool isLink(const QString &path)
{
    struct stat st
    {
    };
    return ::lstat(QFile::encodeName(path).constData(), &st) == 0 && S_ISLNK(st.st_mode);
}

QString systemError()
{
    return QString::fromLocal8Bit(std::strerror(errno));
}
} // namespace

GuardedRemover::GuardedRemover(QString backupRoot) : _backupRoot(std::move(backupRoot)) {}

std::optional<QString> GuardedRemover::refuseFolder(const QString &folder) const
{
    const QString root = QFileInfo(_backupRoot).canonicalFilePath();
    if (root.isEmpty() || root == u"/")
        return tr("The backup directory %1 can't be used.").arg(_backupRoot);
    if (!QDir::isAbsolutePath(folder))
        return tr("%1 is not a full path.").arg(folder);
    // The folder as named must be an entry of the root, not a link: a link's target may lie anywhere.
    const QFileInfo named(QDir::cleanPath(folder));
    if (named.fileName().isEmpty() || named.fileName() == u"." || named.fileName() == u"..")
        return tr("%1 names no backup folder.").arg(folder);
    if (isLink(named.filePath()))
        return tr("%1 is a link to another place.").arg(folder);
    const QString canonical = named.canonicalFilePath();
    if (canonical.isEmpty())
        return tr("%1 does not exist.").arg(folder);
    if (!named.isDir())
        return tr("%1 is not a folder.").arg(folder);
    if (canonical == root || QFileInfo(canonical).path() != root)
        return tr("%1 is not a folder directly inside the backup directory %2.").arg(folder, root);
    return std::nullopt;
}

std::optional<QString> GuardedRemover::refuseFile(const QString &file, const QString &folder) const
{
    if (const auto refusal = refuseFolder(folder))
        return refusal;
    const QString base = QFileInfo(folder).canonicalFilePath();
    const QFileInfo info(QDir::cleanPath(file));
    // The file's folder, with links resolved, must lie inside the backup folder; the file itself may be a
    // link (only the link goes).
    const QString parent = QFileInfo(info.path()).canonicalFilePath();
    if (parent.isEmpty() || (parent != base && !parent.startsWith(base + u'/')))
        return tr("%1 lies outside the backup folder %2.").arg(file, folder);
    if (info.isDir() && !info.isSymLink())
        return tr("%1 is a folder.").arg(file);
    return std::nullopt;
}

std::optional<QString> GuardedRemover::removeFolder(const QString &folder) const
{
    if (!QFileInfo::exists(folder) && !isLink(folder))
        return std::nullopt;
    if (const auto refusal = refuseFolder(folder))
        return refusal;
    // removeRecursively removes links it meets, never what they point to.
    if (!QDir(folder).removeRecursively())
        return tr("%1 could not be removed completely.").arg(folder);
    return std::nullopt;
}

std::optional<QString> GuardedRemover::removeFile(const QString &file, const QString &folder) const
{
    if (!QFileInfo::exists(file) && !isLink(file))
        return std::nullopt;
    if (const auto refusal = refuseFile(file, folder))
        return refusal;
    if (::unlink(QFile::encodeName(file).constData()) != 0 && errno != ENOENT)
        return systemError();
    return std::nullopt;
}
