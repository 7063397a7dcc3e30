#include "platform/UserTempFolder.h"

#include <QDir>
#include <QFile>

#include <cerrno>
#include <sys/stat.h>
#include <unistd.h>

namespace {

bool isOwnPrivateFolder(const QByteArray &path)
{
    struct stat info = {};
    // lstat: a symlink planted under our name in a shared folder must not be followed.
    if (::lstat(path.constData(), &info) != 0)
        return false;
    if (!S_ISDIR(info.st_mode) || info.st_uid != ::getuid())
        return false;
    if ((info.st_mode & 077) != 0 && ::chmod(path.constData(), 0700) != 0)
        return false;
    return true;
}

} // namespace

QString UserTempFolder::path()
{
    return pathBelow(QDir::tempPath());
}

QString UserTempFolder::pathBelow(const QString &base)
{
    const QString name = QStringLiteral("orvalind-%1").arg(::getuid());
    const QString preferred = QDir(base).filePath(name);
    const QByteArray encoded = QFile::encodeName(preferred);
    if (::mkdir(encoded.constData(), 0700) == 0 || errno == EEXIST) {
        if (isOwnPrivateFolder(encoded))
            return preferred;
    }
    QByteArray pattern = QFile::encodeName(QDir(base).filePath(name + QStringLiteral("-XXXXXX")));
    if (::mkdtemp(pattern.data()) == nullptr)
        return {};
    return QFile::decodeName(pattern);
}
