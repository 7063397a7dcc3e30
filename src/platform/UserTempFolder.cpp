#include "platform/UserTempFolder.h"

#include "platform/LockedWorkFolder.h"

#include <QDir>
#include <QFile>

#include <cerrno>
#include <memory>
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

// A folder we made or trust below the user's folder: a real folder of ours, not a link.
bool isOwnFolder(const QByteArray &path)
{
    struct stat info = {};
    return ::lstat(path.constData(), &info) == 0 && S_ISDIR(info.st_mode) && info.st_uid == ::getuid();
}

} // namespace

bool UserTempFolder::makeFolder(const QString &folder)
{
    return makeFolderBelow(QDir::tempPath(), folder);
}

bool UserTempFolder::makeFolderBelow(const QString &base, const QString &folder)
{
    const QString root = QDir::cleanPath(base) + QLatin1Char('/');
    const QString target = QDir::cleanPath(folder);
    const QString prefix = QStringLiteral("orvalind-%1").arg(::getuid());
    if (!target.startsWith(root))
        return QDir().mkpath(target);
    const QStringList parts = target.mid(root.size()).split(QLatin1Char('/'), Qt::SkipEmptyParts);
    // The preferred name or one of its fresh variants ("-XXXXXX"); anything else is not ours to check.
    if (parts.isEmpty() || !(parts.front() == prefix || parts.front().startsWith(prefix + QLatin1Char('-'))))
        return QDir().mkpath(target);
    QString path = root + parts.front();
    QByteArray encoded = QFile::encodeName(path);
    if (::mkdir(encoded.constData(), 0700) != 0 && errno != EEXIST)
        return false;
    if (!isOwnPrivateFolder(encoded))
        return false;
    for (qsizetype i = 1; i < parts.size(); ++i) {
        path += QLatin1Char('/') + parts[i];
        encoded = QFile::encodeName(path);
        if (::mkdir(encoded.constData(), 0700) != 0 && errno != EEXIST)
            return false;
        if (!isOwnFolder(encoded))
            return false;
    }
    return true;
}

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

QString UserTempFolder::runPath()
{
    // Destroyed at exit, which removes the folder; a killed run leaves it to the next run's sweep.
    static const std::unique_ptr<LockedWorkFolder> run = []() -> std::unique_ptr<LockedWorkFolder> {
        const QString user = path();
        if (user.isEmpty())
            return nullptr;
        auto folder = std::make_unique<LockedWorkFolder>(user + QStringLiteral("/run-XXXXXX"));
        LockedWorkFolder::removeDead(user, QStringLiteral("run-"));
        return folder;
    }();
    return run && run->isValid() ? run->path() : QString();
}
